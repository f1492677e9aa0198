#include "platform/ProgramGround.h"

#include <windows.h>
// After windows.h:
#include <delayimp.h>

#include <vector>

// The programs run elevated and are started from a Downloads folder, where a DLL planted
// under the name of one they load would run with administrator rights. They import
// directly only KnownDLLs (never looked up beside a program); every other DLL is
// delay-loaded and comes from the system folder.

namespace {

// SetDefaultDllDirectories took effect: LoadLibrary then searches the system folder only.
bool g_systemFolderOnly = false;

// Called by the delay-load helper before it loads a DLL by its bare name. On a Windows 7
// that lacks SetDefaultDllDirectories (KB2533623), the DLL is loaded by its full
// system-folder path instead.
FARPROC WINAPI BeforeDelayLoad(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary || g_systemFolderOnly) return nullptr;
  // The common controls come by name: the manifest's side-by-side assembly (version 6)
  // then takes precedence over the program's folder, while the system folder's file
  // would be the old version 5.
  if (::lstrcmpiA(info->szDll, "comctl32.dll") == 0) return nullptr;
  wchar_t path[MAX_PATH];
  const UINT folder = ::GetSystemDirectoryW(path, MAX_PATH);
  const int name = ::lstrlenA(info->szDll);
  HMODULE module = nullptr;
  if (folder > 0 && folder + 1 + name < MAX_PATH) {
    path[folder] = L'\\';
    for (int i = 0; i <= name; ++i) path[folder + 1 + i] = static_cast<wchar_t>(info->szDll[i]);
    // Its own imports are then looked up in the system folder too.
    module = ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  // Never let the helper fall back to the ordinary search, which begins beside the
  // program: fail as the helper fails for a DLL it cannot load.
  if (module == nullptr) {
    ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND), 0, 0, nullptr);
  }
  return reinterpret_cast<FARPROC>(module);
}

class Win32ProgramGround final : public ProgramGround {
 public:
  void RestrictLibrarySearch() override {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    g_systemFolderOnly = setDefaultDllDirectories != nullptr &&
                         setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
  }

  std::wstring OwnPath() override {
    // The longest path the system has; a call that fills the whole buffer was cut short.
    std::vector<wchar_t> path(32768);
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return length < path.size() ? std::wstring(path.data(), length) : std::wstring();
  }

  bool MayExist(const std::wstring& path) override {
    // The directory entry itself, whatever it is: a dangling link is found too.
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(path.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      ::FindClose(search);
      return true;
    }
    const DWORD error = ::GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
  }
};

}  // namespace

// Declared with C linkage by delayimp.h; the helper in libmingwex reads it. It lives
// beside SystemProgramGround, so that every program that asks for its ground links it.
PfnDliHook __pfnDliNotifyHook2 = BeforeDelayLoad;

ProgramGround& SystemProgramGround() {
  static Win32ProgramGround ground;
  return ground;
}
