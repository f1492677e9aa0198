// PelloryDeploy: Pellory's installation, unattended, for the tools that roll software out
// to many PCs: no window, no question, a log, and an exit code they read.

#include <cstdio>
#include <string>

#include "app/StartupGuard.h"
#include "app/SystemPlatform.h"
#include "deploy/DeployArguments.h"
#include "deploy/DeployLog.h"
#include "deploy/DeployRun.h"
#include "engine/AgreementText.h"
#include "platform/Console.h"
#include "platform/HttpProxy.h"
#include "platform/InstanceMutex.h"
#include "platform/ProgramGround.h"
#include "platform/Resources.h"
#include "platform/UserAccount.h"
#include "res/resource.h"

namespace {

// The agreement page's texts for this selection: Shift-JIS (the English one ASCII), as
// the page shows them on every system.
std::string AgreementTexts(uint16_t langId, const ComponentSelection& selection) {
  const std::string bytes = JoinAgreementTexts(
      AgreementTextIds(langId == kLangJapanese, selection), [](uint16_t id) {
        const std::string resource = SystemResources().Bytes(RT_AGREEMENT, id);
        return TextUpToNul(resource.data(), resource.size());
      });
  std::string text = SystemConsole().CodePageToUtf8(932, bytes);
  // Standard output is in text mode, which makes every line feed CR LF itself.
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything loads a library, as every program of the product does.
  if (GuardProgramStart(SystemProgramGround()) != StartupGround::Sound) {
    std::fputs("PelloryDeploy: not run: its name with \".local\" added may stand beside it\n",
               stderr);
    return 1;
  }
  DeployArguments arguments;
  std::string error;
  bool usable = ParseDeployArguments(argc, argv, arguments, error);
  if (usable && arguments.command == DeployCommand::Help) {
    std::fputs(kDeployUsageText, stdout);
    return 0;
  }
  const InstallPlatform install = SystemInstallPlatform();
  const uint16_t langId = install.system.SystemDefaultLangId();
  ComponentSelection selection{};
  usable = usable && ChooseComponents(arguments, langId, selection, error);
  if (usable && arguments.command == DeployCommand::Licences) {
    const std::string texts = AgreementTexts(langId, selection);
    std::fwrite(texts.data(), 1, texts.size(), stdout);
    return 0;
  }

  Console& console = SystemConsole();
  std::FILE* file = nullptr;
  if (!arguments.logFile.empty()) {
    file = std::fopen(arguments.logFile.c_str(), "a");
    if (file == nullptr) {
      usable = false;
      error = "the log file " + arguments.logFile + " cannot be opened";
    }
  }
  DeployLog log(stdout, file, [&console](const std::string& text) {
    return console.AnsiToUtf8(text);
  });
  if (!usable) {
    log.Line(DeployOutcome(kDeployUsage, error));
    std::fputs(kDeployUsageText, stderr);
    return kDeployUsage;
  }
  const DeployPlatform platform{install, SystemHttpProxy(), SystemInstanceMutex(),
                                SystemUserAccount()};
  Deploy deploy(platform, log);
  console.OnStopRequest([&deploy] { return deploy.Stop(); }, kDeployCancelled);
  DeployOptions options;
  options.complete = arguments.complete;
  options.selection = selection;
  options.retries = arguments.retries;
  options.retryWaitSeconds = arguments.retryWaitSeconds;
  return deploy.Run(options);
}
