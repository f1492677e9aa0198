#pragma once
// A program started by the robot: launch, wait for its end, read its exit code, kill.
// The destructor kills a program that is still running, so a failed test never leaves
// a Pellory behind holding the single-instance mutex of the prefix.

#include <windows.h>

#include <optional>
#include <string>

#include "robot/Wait.h"

namespace robot {

// The path of the Pellory.exe under test, in Windows form (a Unix path becomes a Z: path):
// the environment's PELLORY_EXE if set, else the build's compile definition PELLORY_EXE_PATH.
std::wstring PelloryExePath();

// "/a/b.exe" -> "Z:\a\b.exe"; a path that is already a Windows path is kept.
std::wstring WindowsPathOf(const std::string& path);

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `exePath` with `arguments` (appended after the quoted path). False if the
  // process could not be created, or if this object already holds one.
  bool Start(const std::wstring& exePath, const std::wstring& arguments = L"");

  bool Started() const { return m_process != nullptr; }
  DWORD Id() const { return m_id; }
  HANDLE Handle() const { return m_process; }
  bool IsRunning() const;

  // True once the process has ended (now or within `timeout`).
  bool WaitForExit(Duration timeout = kDefaultTimeout);
  // The exit code once the process has ended; nothing while it runs.
  std::optional<DWORD> ExitCode() const;
  // Ends the process (if running) and waits for it to be gone.
  void Kill();

 private:
  void Release();

  HANDLE m_process = nullptr;
  DWORD m_id = 0;
};

}  // namespace robot
