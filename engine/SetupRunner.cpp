#include "engine/SetupRunner.h"

#include <memory>

#include "engine/SetupCommand.h"
#include "platform/ProcessLauncher.h"

bool StartSetupAndWait(ProcessLauncher& launcher, const std::string& folder,
                       const std::string& setupName, const std::string& responseName,
                       const std::function<void()>& showPage, uint32_t* exitCode) {
  if (folder.empty()) return false;
  // The program's full path goes to the system as the application name as well, so that a
  // path with blanks (C:\Users\John Smith\...) never resolves to C:\Users\John.exe.
  std::unique_ptr<StartedProcess> process = launcher.StartHidden(
      folder + setupName, BuildSetupCommandLine(folder, setupName, responseName), folder,
      SetupEnvironment(launcher.CurrentEnvironment(), launcher.MachineEnvironment(), folder));
  if (!process) return false;
  if (showPage) showPage();
  const uint32_t code = process->WaitForExit();
  if (exitCode != nullptr) *exitCode = code;
  return true;
}
