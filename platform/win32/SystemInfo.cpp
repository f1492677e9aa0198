#include "platform/SystemInfo.h"

#include <windows.h>

namespace {

class Win32SystemInfo final : public SystemInfo {
 public:
  uint16_t SystemDefaultLangId() override { return GetSystemDefaultLangID(); }

  std::string TempPath() override {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH + 1, buffer);
    // 0 is a failure; a length beyond the buffer is the size a longer path would need.
    if (length == 0 || length > MAX_PATH) return std::string();
    return std::string(buffer, length);
  }
};

}  // namespace

SystemInfo& RunningSystem() {
  static Win32SystemInfo system;
  return system;
}
