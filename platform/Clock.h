#pragma once
// Time as the transfer and fetch code see it (kernel32 on Windows).

#include <cstdint>

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since the system started: 32-bit, wraps after about 49.7 days.
  virtual uint32_t GetTickCount() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
};

Clock& SystemClock();
