// PelloryCheck: tells an administrator whether Pellory would complete on this machine,
// and why not, and builds an internal mirror of its downloads.

#include <cstdio>
#include <string>

#include "app/StartupGuard.h"
#include "app/SystemPlatform.h"
#include "check/CheckArguments.h"
#include "check/CheckRun.h"
#include "check/ReportFormat.h"
#include "engine/UrlList.h"
#include "platform/Console.h"
#include "platform/ProgramGround.h"

int main(int argc, char** argv) {
  if (!GuardConsoleProgramStart(SystemProgramGround(), "PelloryCheck")) return 1;
  CheckArguments arguments;
  if (!ParseCheckArguments(argc, argv, arguments)) {
    std::fputs(kCheckUsage, stderr);
    return 2;
  }
  // As Pellory does before it reads the list.
  UseUserLocale();

  const InstallPlatform platform = SystemInstallPlatform();
  CheckOptions options;
  options.listUrl = arguments.listUrl;
  Console& console = SystemConsole();
  const bool showProgress = !arguments.json && console.OutputIsConsole();
  if (showProgress) {
    options.progress = [last = -1](const std::string& key, int percent) mutable {
      if (percent == last) return;
      last = percent;
      std::printf("\r  %-8s %3d%%", key.c_str(), percent);
      std::fflush(stdout);
    };
  }
  const CheckReport report = arguments.mirror
                                 ? RunMirror(platform, options, arguments.folder, arguments.baseUrl)
                                 : RunCheck(platform, options);
  if (showProgress) std::printf("\r%30s\r", "");
  const ToUtf8 toUtf8 = [&console](const std::string& ansiText) {
    return console.AnsiToUtf8(ansiText);
  };
  const std::string text =
      arguments.json ? FormatReportJson(report, toUtf8) : FormatReportText(report);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
  return report.complete ? 0 : 1;
}
