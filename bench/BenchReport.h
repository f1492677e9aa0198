#pragma once
// What every bench harness prints on its one line of output: wall time, this process's
// CPU time and its peak working set (Wine takes it from the kernel's VmHWM), so that the
// bench script compares like with like whichever program it ran.

#include <psapi.h>
#include <windows.h>

#include <cstdio>

namespace bench {

// A monotonic clock with sub-microsecond resolution.
inline double NowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double FileTimeMs(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;  // 100 ns units
}

// User plus kernel time of this process so far.
inline double ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
  return FileTimeMs(kernel) + FileTimeMs(user);
}

inline unsigned long long PeakWorkingSetKb() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return static_cast<unsigned long long>(counters.PeakWorkingSetSize) / 1024;
}

// One line, key=value pairs, read by bench/run.
inline void Report(double wallMs, double cpuMs, long long result, unsigned long long bytes) {
  std::printf("wall_ms=%.3f cpu_ms=%.1f peak_kb=%llu result=%lld bytes=%llu\n", wallMs, cpuMs,
              PeakWorkingSetKb(), result, bytes);
  std::fflush(stdout);
}

// A harness that could not measure: why, and a line that reads as a failed result.
inline int Fail(const char* what) {
  std::printf("error=\"%s\"\n", what);
  Report(0, 0, 1, 0);
  return 1;
}

}  // namespace bench
