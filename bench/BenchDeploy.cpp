// Complete deploy: runs PelloryDeploy.exe's complete installation to its end and times it
// by the deploy's own log, or times a console program that does nothing, the reference
// for a console process's start-up and end under Wine.
//   bench_deploy deploy EXE LOG   EXE install --accept-licences --complete --retry-wait 0 --log LOG
//   bench_deploy bare EXE         EXE with no arguments
// Prints one line. deploy: wall_ms from the log's first line to its outcome line (the
// deploy's own millisecond time stamps: its process start-up is left out, as Pellory's is
// from the whole install), downloads_ms from the first line to the first setup's command
// line, process_ms from just before CreateProcess to the process's end (this harness's
// clock), the exit code and the setups that ended; result 0 when the deploy installed
// (exit code 3010 and an outcome line that says so), else 1. bare: wall_ms = process_ms.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchReport.h"
#include "robot/ChildProcess.h"

namespace {

constexpr DWORD kInstalled = 3010;

// A log line: "YYYY-MM-DD HH:MM:SS.mmm <text>", local time.
struct LogLine {
  double ms;  // since 1601, so that a run over midnight still subtracts right
  std::string text;
};

bool ParseLine(const std::string& line, LogLine& out) {
  SYSTEMTIME t = {};
  int year, month, day, hour, minute, second, milli, used = 0;
  if (std::sscanf(line.c_str(), "%4d-%2d-%2d %2d:%2d:%2d.%3d %n", &year, &month, &day, &hour,
                  &minute, &second, &milli, &used) != 7 ||
      used == 0) {
    return false;
  }
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  t.wMilliseconds = static_cast<WORD>(milli);
  FILETIME time;
  if (!SystemTimeToFileTime(&t, &time)) return false;
  out.ms = bench::FileTimeMs(time);
  out.text = line.substr(static_cast<size_t>(used));
  return true;
}

std::vector<LogLine> ReadLog(const wchar_t* path) {
  std::vector<LogLine> lines;
  FILE* file = _wfopen(path, L"rb");
  if (file == nullptr) return lines;
  std::string content;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
  std::fclose(file);
  size_t begin = 0;
  while (begin < content.size()) {
    size_t end = content.find('\n', begin);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    LogLine parsed;
    if (ParseLine(line, parsed)) lines.push_back(parsed);
    begin = end + 1;
  }
  return lines;
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// Starts the program, waits for its end; false if it did not start or end within 600 s.
bool RunToEnd(const std::wstring& exe, const std::wstring& arguments, double& elapsedMs,
              DWORD& exitCode) {
  robot::ChildProcess program;
  double start = bench::NowMs();
  if (!program.Start(exe, arguments)) return false;
  bool ended = program.WaitForExit(robot::Duration{600000});
  elapsedMs = bench::NowMs() - start;
  if (!ended) return false;
  exitCode = program.ExitCode().value_or(1);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring mode = argv[1];
  double processMs = 0;
  DWORD exitCode = 0;

  if (mode == L"bare") {
    if (!RunToEnd(argv[2], L"", processMs, exitCode)) return bench::Fail("the program did not run");
    std::printf("wall_ms=%.3f result=%d exit=%lu\n", processMs, exitCode == 0 ? 0 : 1, exitCode);
    return exitCode == 0 ? 0 : 1;
  }
  if (mode != L"deploy" || argc < 4) return 2;

  // The deploy's first signature check asks for the desktop window, which Windows always
  // has. Wine starts its desktop process on the first such request and ends it seconds
  // after its last client: this harness, a client while the deploy runs, keeps it there
  // (as a Pellory run just before would), so the check is not charged with its start.
  GetDesktopWindow();
  // --log appends: each run reads only its own lines.
  DeleteFileW(argv[3]);
  const std::wstring arguments = L"install --accept-licences --complete --retry-wait 0 --log \"" +
                                 std::wstring(argv[3]) + L"\"";
  if (!RunToEnd(argv[2], arguments, processMs, exitCode))
    return bench::Fail("the deploy did not run to its end");

  std::vector<LogLine> lines = ReadLog(argv[3]);
  if (lines.empty()) return bench::Fail("no log lines");
  const LogLine& first = lines.front();
  const LogLine& last = lines.back();
  double firstSetup = 0;
  int setupsEnded = 0;
  for (const LogLine& line : lines) {
    if (firstSetup == 0 && StartsWith(line.text, "setup: ")) firstSetup = line.ms;
    if (StartsWith(line.text, "setup ") &&
        line.text.find(" ended with exit code ") != std::string::npos)
      ++setupsEnded;
  }
  bool installed = exitCode == kInstalled && StartsWith(last.text, "outcome: 3010:");
  if (!installed)
    std::printf("error=\"exit code %lu, last line: %s\"\n", exitCode, last.text.c_str());
  std::printf("wall_ms=%.3f result=%d downloads_ms=%.3f process_ms=%.3f exit=%lu setups=%d\n",
              last.ms - first.ms, installed ? 0 : 1, firstSetup == 0 ? 0 : firstSetup - first.ms,
              processMs, exitCode, setupsEnded);
  return installed ? 0 : 1;
}
