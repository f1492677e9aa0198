#include "robot/Wait.h"

#include <windows.h>

namespace robot {

bool WaitUntil(const std::function<bool()>& ready, Duration timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (ready()) return true;
    Sleep(static_cast<DWORD>(kPollInterval.count()));
  }
  return ready();
}

}  // namespace robot
