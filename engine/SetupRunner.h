#pragma once
// Runs one component's downloaded setup program silently and waits for it to end.

#include <cstdint>
#include <functional>
#include <string>

class ProcessLauncher;

// Starts `setupName` from the run's folder with `responseName` as its response file, in that folder
// and with it as TMP and TEMP, calls `showPage` once it has started, and waits without a time
// limit. True once the program has started and ended, whatever its exit code (given in exitCode,
// when asked for); false when it cannot be started, or when there is no folder (the files were
// never stored, and a bare name would let the system pick any program of that name).
bool StartSetupAndWait(ProcessLauncher& launcher, const std::string& folder,
                       const std::string& setupName, const std::string& responseName,
                       const std::function<void()>& showPage, uint32_t* exitCode = nullptr);
