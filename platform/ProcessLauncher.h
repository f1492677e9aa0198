#pragma once
// Starting a program without a window and waiting for it to end.

#include <memory>
#include <string>

// A started process. Destroying it releases the handles, not the process.
class StartedProcess {
 public:
  virtual ~StartedProcess() = default;
  // Waits without a time limit until the process has ended.
  virtual void WaitForExit() = 0;
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;

  // Starts `applicationName` (a full path: no search path, no added extension) with
  // `commandLine` as its command line, hidden, with this process's environment and
  // current directory, no inherited handles and no creation flags. Returns null when
  // the process cannot be started.
  virtual std::unique_ptr<StartedProcess> StartHidden(const std::string& applicationName,
                                                      const std::string& commandLine) = 0;
};

// The real launcher (defined by the Win32 adapter only).
ProcessLauncher& SystemProcessLauncher();
