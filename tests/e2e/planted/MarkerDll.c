/* A DLL planted beside the program under a system DLL's name. Loaded into a process, it
 * leaves "<its file name>.loaded" in the folder named by PELLORY_PLANTED_MARKERS. It
 * exports nothing: its only job is to show whether it was ever loaded. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char path[MAX_PATH] = "";
  char module[MAX_PATH] = "";
  const DWORD folder = GetEnvironmentVariableA("PELLORY_PLANTED_MARKERS", path, MAX_PATH);
  const DWORD length = GetModuleFileNameA(instance, module, MAX_PATH);
  if (folder == 0 || length == 0) return TRUE;
  const char* name = module + length;
  while (name > module && name[-1] != '\\' && name[-1] != '/') --name;
  if (folder + 1 + lstrlenA(name) + 8 >= MAX_PATH) return TRUE;
  lstrcatA(path, "\\");
  lstrcatA(path, name);
  lstrcatA(path, ".loaded");
  HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  return TRUE;
}
