#pragma once
// Starting a program without a window and waiting for it to end.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A started process. Destroying it releases the handles, not the process.
class StartedProcess {
 public:
  virtual ~StartedProcess() = default;
  // Waits without a time limit until the process has ended; its exit code, or 259
  // (STILL_ACTIVE) when none can be read.
  virtual uint32_t WaitForExit() = 0;
};

// A whole environment: "NAME=value" entries.
using Environment = std::vector<std::string>;

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;

  // Starts `applicationName` (a full path: no search path, no added extension) with
  // `commandLine` as its command line, hidden, in `currentDirectory`, with `environment`
  // as its whole environment, no inherited handles and no creation flags. Returns null
  // when the process cannot be started.
  virtual std::unique_ptr<StartedProcess> StartHidden(const std::string& applicationName,
                                                      const std::string& commandLine,
                                                      const std::string& currentDirectory,
                                                      const Environment& environment) = 0;
  // This process's own environment, in the order the system keeps it.
  virtual Environment CurrentEnvironment() = 0;
  // The machine's environment, as the system gives it to a process of no user: the
  // machine's variables and folders, and a default profile's. Empty when it cannot be read.
  virtual Environment MachineEnvironment() = 0;
};

ProcessLauncher& SystemProcessLauncher();
