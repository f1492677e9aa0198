#pragma once
// Read access to HKEY_LOCAL_MACHINE, the only registry root this program reads.

#include <cstddef>
#include <string>

class Registry {
 public:
  virtual ~Registry() = default;

  // Reads one value's data, whatever its type, as raw bytes. Fails when the key cannot
  // be opened with KEY_READ, the value is missing, or its data is longer than `capacity`.
  virtual bool ReadHklmValue(const std::string& subKey, const std::string& valueName,
                             std::size_t capacity, std::string& data) = 0;
};

Registry& SystemRegistry();
