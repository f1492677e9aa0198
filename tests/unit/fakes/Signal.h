#pragma once
// One-shot events for tests that run real threads. Waits block on a condition variable,
// never on the clock; the deadline only turns a hang (a deadlock) into a loud failure.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

constexpr std::chrono::seconds kHangDeadline{30};

[[noreturn]] inline void AbortOnHang(const char* what) {
  std::fprintf(stderr, "\nHANG: %s did not happen within %lld s (deadlock?)\n", what,
               static_cast<long long>(kHangDeadline.count()));
  std::abort();
}

class Signal {
 public:
  void Set() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_set = true;
    m_changed.notify_all();
  }
  bool IsSet() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_set;
  }
  void Wait(const char* what = "a signalled event") {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_changed.wait_for(lock, kHangDeadline, [this] { return m_set; })) AbortOnHang(what);
  }

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_set = false;
};

// Spins (yielding) until pred holds: for states that no signal announces.
template <typename Pred>
void WaitUntil(Pred pred, const char* what) {
  const auto deadline = std::chrono::steady_clock::now() + kHangDeadline;
  while (!pred()) {
    if (std::chrono::steady_clock::now() > deadline) AbortOnHang(what);
    std::this_thread::yield();
  }
}
