#include "platform/Clock.h"

#include <windows.h>

namespace {

class Win32Clock final : public Clock {
 public:
  uint32_t GetTickCount() override { return ::GetTickCount(); }
  void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }
};

}  // namespace

Clock& SystemClock() {
  static Win32Clock clock;
  return clock;
}
