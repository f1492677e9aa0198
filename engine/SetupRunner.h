#pragma once
// Runs one component's downloaded setup program silently and waits for it to end.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

class ProcessLauncher;
class SystemInfo;
struct InstallSession;

// Starts `setupName` from the temporary directory with `responseName` as its response
// file, calls `showPage` once it has started, and waits without a time limit. True once
// the program has started and ended, whatever its exit code; false when it cannot be
// started, or when the temporary directory is unknown (the files were never stored, and
// a bare name would let the system pick any program of that name).
bool StartSetupAndWait(ProcessLauncher& launcher, SystemInfo& system, const std::string& setupName,
                       const std::string& responseName, const std::function<void()>& showPage);

// What a whole setup run works with; the download page owns the flag and the page.
struct SetupRunContext {
  ProcessLauncher& launcher;
  SystemInfo& system;
  InstallSession& session;
  // The page's "a setup is being started or awaited" flag; the cancel handler reads it.
  std::atomic<int32_t>& setupRunning;
  // Shows the download page (ShowWindow SW_SHOW) once the program has started.
  std::function<void()> showPage;
};

// StartSetupAndWait with the page's bookkeeping: the flag is set for the run and
// cleared after it. When the start fails, SetupFailed is recorded and the flag stays
// set, since the worker ends right after.
bool RunSetupProgram(SetupRunContext& context, const std::string& setupName,
                     const std::string& responseName);
