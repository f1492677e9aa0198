#pragma once
// Runs one component's downloaded setup program silently and waits for it to end.

#include <functional>
#include <string>

class ProcessLauncher;
class SystemInfo;

// Starts `setupName` from the temporary directory with `responseName` as its response
// file, calls `showPage` once it has started, and waits without a time limit. True once
// the program has started and ended, whatever its exit code; false when it cannot be
// started, or when the temporary directory is unknown (the files were never stored, and
// a bare name would let the system pick any program of that name).
bool StartSetupAndWait(ProcessLauncher& launcher, SystemInfo& system, const std::string& setupName,
                       const std::string& responseName, const std::function<void()>& showPage);
