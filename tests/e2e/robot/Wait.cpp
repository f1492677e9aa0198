#include "robot/Wait.h"

#include <windows.h>

#include <cstdlib>

namespace robot {

Duration Scaled(Duration timeout) {
  static const long scale = [] {
    const char* text = std::getenv("PELLORY_TIMEOUT_SCALE");
    const long value = text != nullptr ? std::strtol(text, nullptr, 10) : 1;
    return value > 0 ? value : 1;
  }();
  return timeout * scale;
}

bool WaitUntil(const std::function<bool()>& ready, Duration timeout) {
  const auto deadline = std::chrono::steady_clock::now() + Scaled(timeout);
  while (std::chrono::steady_clock::now() < deadline) {
    if (ready()) return true;
    Sleep(static_cast<DWORD>(kPollInterval.count()));
  }
  return ready();
}

}  // namespace robot
