#pragma once
// An in-memory HKEY_LOCAL_MACHINE: values by key and name, stored as raw bytes.

#include <map>
#include <string>
#include <utility>

#include "platform/Registry.h"

class FakeRegistry : public Registry {
 public:
  void SetValue(const std::string& subKey, const std::string& valueName, std::string data) {
    m_values[{subKey, valueName}] = std::move(data);
  }

  bool ReadHklmValue(const std::string& subKey, const std::string& valueName, std::size_t capacity,
                     std::string& data) override {
    const auto found = m_values.find({subKey, valueName});
    // Like RegQueryValueExA: ERROR_MORE_DATA when the buffer is too small.
    if (found == m_values.end() || found->second.size() > capacity) return false;
    data = found->second;
    return true;
  }

 private:
  std::map<std::pair<std::string, std::string>, std::string> m_values;
};
