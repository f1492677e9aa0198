// PelloryDeploy: Pellory's installation, unattended, for the tools that roll software out
// to many PCs: no window, no question, a log, and an exit code they read.

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/StartupGuard.h"
#include "app/SystemPlatform.h"
#include "deploy/DeployArguments.h"
#include "deploy/DeployLog.h"
#include "deploy/DeployRun.h"
#include "engine/AgreementText.h"
#include "platform/Console.h"
#include "platform/Owner.h"
#include "platform/ProgramGround.h"
#include "platform/Resources.h"
#include "res/resource.h"

namespace {

// The agreement page's texts for this selection: Shift-JIS (the English one ASCII), as
// the page shows them on every system.
std::string AgreementTexts(uint16_t langId, const ComponentSelection& selection) {
  const std::string bytes =
      JoinAgreementTexts(AgreementTextIds(langId == kLangJapanese, selection), [](uint16_t id) {
        const std::string resource = SystemResources().Bytes(RT_AGREEMENT, id);
        return TextUpToNul(resource.data(), resource.size());
      });
  std::string text = SystemConsole().CodePageToUtf8(932, bytes);
  // Standard output is in text mode, which makes every line feed CR LF itself; the texts
  // hold no CR of their own.
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (!GuardConsoleProgramStart(SystemProgramGround(), "PelloryDeploy")) return 1;
  DeployArguments arguments;
  std::string error;
  bool usable = ParseDeployArguments(argc, argv, arguments, error);
  if (usable && arguments.command == DeployCommand::Help) {
    std::fputs(kDeployUsageText, stdout);
    return 0;
  }
  const InstallPlatform install = SystemInstallPlatform();
  const uint16_t langId = install.system->SystemDefaultLangId();
  ComponentSelection selection{};
  usable = usable && ChooseComponents(arguments, langId, selection, error);
  if (usable && arguments.command == DeployCommand::Licences) {
    const std::string texts = AgreementTexts(langId, selection);
    std::fwrite(texts.data(), 1, texts.size(), stdout);
    return 0;
  }

  Console& console = SystemConsole();
  const StdioFile file =
      arguments.logFile.empty() ? StdioFile() : OpenStdioFile(arguments.logFile.c_str(), "a");
  if (!arguments.logFile.empty() && !file.IsOpen()) {
    usable = false;
    error = "the log file " + arguments.logFile + " cannot be opened";
  }
  DeployLog log(stdout, file.Get(),
                [&console](const std::string& text) { return console.AnsiToUtf8(text); });
  if (!usable) {
    log.Line(DeployOutcome(kDeployUsage, error));
    std::fputs(kDeployUsageText, stderr);
    return kDeployUsage;
  }
  Deploy deploy(install, log);
  console.OnStopRequest([&deploy] { return deploy.Stop(); }, kDeployCancelled);
  return deploy.Run(arguments, selection);
}
