#include "engine/SetupRunner.h"

#include <memory>

#include "engine/SetupCommand.h"
#include "platform/ProcessLauncher.h"

bool StartSetupAndWait(ProcessLauncher& launcher, const std::string& folder,
                       const std::string& setupName, const std::string& responseName,
                       const std::function<void()>& showPage, uint32_t* exitCode) {
  if (folder.empty()) return false;
  std::unique_ptr<StartedProcess> process = launcher.StartHidden(
      SetupApplicationName(folder, setupName),
      BuildSetupCommandLine(folder, setupName, responseName), folder,
      SetupEnvironment(launcher.CurrentEnvironment(), launcher.MachineEnvironment(), folder));
  if (!process) return false;
  if (showPage) showPage();
  const uint32_t code = process->WaitForExit();
  if (exitCode != nullptr) *exitCode = code;
  return true;
}
