#pragma once
// A thread-safe record of what the fakes saw, in the order it happened.

#include <mutex>
#include <string>
#include <vector>

class EventLog {
 public:
  void Add(const std::string& event) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_events.push_back(event);
  }
  void Clear() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_events.clear();
  }
  std::vector<std::string> Events() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_events;
  }
  // The events that begin with prefix, in order.
  std::vector<std::string> WithPrefix(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& e : Events())
      if (e.compare(0, prefix.size(), prefix) == 0) found.push_back(e);
    return found;
  }
  // Position of the first event that begins with prefix; -1 when there is none.
  int First(const std::string& prefix) const {
    const std::vector<std::string> events = Events();
    for (size_t i = 0; i < events.size(); ++i)
      if (events[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
    return -1;
  }
  // Position of the last event that begins with prefix; -1 when there is none.
  int Last(const std::string& prefix) const {
    const std::vector<std::string> events = Events();
    for (size_t i = events.size(); i-- > 0;)
      if (events[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
    return -1;
  }
  bool Has(const std::string& prefix) const { return First(prefix) >= 0; }

 private:
  mutable std::mutex m_mutex;
  std::vector<std::string> m_events;
};
