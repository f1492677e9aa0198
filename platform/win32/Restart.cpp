#include "platform/Restart.h"

#include <windows.h>

#include "platform/win32/UniqueHandle.h"

namespace {

class Win32Restart final : public Restart {
 public:
  bool RestartSystem() override {
    UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Put()))
      return false;
    TOKEN_PRIVILEGES privileges = {};
    if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
      return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const BOOL adjusted = AdjustTokenPrivileges(token.Get(), FALSE, &privileges, sizeof(privileges),
                                                nullptr, nullptr);
    token.Reset();
    if (!adjusted) return false;
    ExitWindowsEx(EWX_REBOOT, 0);
    return true;
  }
};

}  // namespace

Restart& SystemRestart() {
  static Win32Restart restart;
  return restart;
}
