#pragma once
// A tick count that moves only when the code sleeps or a test says so: thirty seconds
// of stall cost no wall time.

#include <atomic>
#include <functional>

#include "platform/Clock.h"

class FakeClock : public Clock {
 public:
  explicit FakeClock(uint32_t start = 5'000'000) : now(start) {}

  uint32_t GetTickCount() override { return now.load(); }
  void Sleep(uint32_t milliseconds) override {
    sleeps.fetch_add(1);
    now.fetch_add(milliseconds);
    if (onSleep) onSleep();
  }
  void Advance(uint32_t milliseconds) { now.fetch_add(milliseconds); }

  std::atomic<uint32_t> now;
  std::atomic<int> sleeps{0};
  std::function<void()> onSleep;  // set before the code runs
};
