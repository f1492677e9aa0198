// Start-up: starts a program and times it until its first visible top-level window,
// then ends it. The program is Pellory.exe (its first window is the wizard) or the
// minimal dialog exe, the reference.
//   bench_startup EXE
// Prints one line (see BenchReport.h): wall_ms from just before CreateProcess to the
// first look that finds the window (looked for every millisecond); result 0 when found
// within 60 s.

#include <windows.h>

#include <string>

#include "bench/BenchReport.h"

namespace {

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  double start = bench::NowMs();
  if (!CreateProcessW(argv[1], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    bench::Report(0, 0, static_cast<long long>(GetLastError()), 0);
    return 1;
  }
  Search search = {process.dwProcessId, nullptr};
  double elapsed = 0;
  while (elapsed < 60000) {
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    elapsed = bench::NowMs() - start;
    if (search.found != nullptr) break;
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  bench::Report(elapsed, 0, search.found != nullptr ? 0 : 1, 0);
  return search.found != nullptr ? 0 : 1;
}
