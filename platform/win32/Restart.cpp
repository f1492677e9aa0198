#include "platform/Restart.h"

#include <windows.h>

#include "platform/win32/UniqueHandle.h"

namespace {

class Win32Restart final : public Restart {
 public:
  int IsRestartPending() override {
    const char* keys[] = {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx"};
    for (const char* key : keys) {
      UniqueRegKey handle;
      if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, handle.Put()) != ERROR_SUCCESS)
        continue;
      char name[128];
      BYTE data[128];
      DWORD nameSize = sizeof(name), dataSize = sizeof(data);
      const LONG status =
          RegEnumValueA(handle.Get(), 0, name, &nameSize, nullptr, nullptr, data, &dataSize);
      // A value that does not fit the buffers still counts: the key is not empty.
      if (status != ERROR_NO_MORE_ITEMS) return 1;
    }
    return 0;
  }

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
