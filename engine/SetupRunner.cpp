#include "engine/SetupRunner.h"

#include <memory>

#include "engine/SetupCommand.h"
#include "platform/ProcessLauncher.h"
#include "platform/SystemInfo.h"

bool StartSetupAndWait(ProcessLauncher& launcher, SystemInfo& system, const std::string& setupName,
                       const std::string& responseName, const std::function<void()>& showPage) {
  const std::string tempPath = system.TempPath();
  if (tempPath.empty()) return false;
  std::unique_ptr<StartedProcess> process =
      launcher.StartHidden(SetupApplicationName(tempPath, setupName),
                           BuildSetupCommandLine(tempPath, setupName, responseName));
  if (!process) return false;
  if (showPage) showPage();
  process->WaitForExit();
  return true;
}
