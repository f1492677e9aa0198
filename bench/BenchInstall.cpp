// Whole install: a robot user takes the real Pellory.exe through a complete installation
// and times it from the download page's activation (the click on Next on the agreement
// page) to the completion page.
//   bench_install PELLORY_EXE
// Prints one line: wall_ms of that stretch (the robot looks every 20 ms), downloads_ms
// from its start to the first setup program's start (the progress bar turns to a marquee),
// result 0 when the completion page came without any message box, else 1.
// Pellory is ended once timed: what follows the completion page is not measured.

#include <windows.h>

#include <commctrl.h>

#include "bench/BenchReport.h"
#include "robot/ChildProcess.h"
#include "robot/Control.h"
#include "robot/MessageBoxWindow.h"
#include "robot/Sheet.h"
#include "robot/Wait.h"

namespace {

// The pages, told apart by a control of their own.
constexpr int kCompleteInstallChoice = 1005;  // install-mode page
constexpr int kAgreementText = 1008;          // agreement page
constexpr int kAcceptChoice = 1009;
constexpr int kCompletionText = 1014;  // completion page
constexpr int kProgressBar = 1000;     // download page

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  robot::ChildProcess program;
  if (!program.Start(argv[1])) return bench::Fail("Pellory.exe did not start");
  auto found = robot::Sheet::Find(program.Id(), robot::Duration{60000});
  if (!found) return bench::Fail("the wizard did not open");
  const robot::Sheet& sheet = *found;

  if (!sheet.WaitForPageWith(kCompleteInstallChoice)) return bench::Fail("no install-mode page");
  sheet.Click(kCompleteInstallChoice);
  if (!sheet.WaitForPageWith(kAgreementText)) return bench::Fail("no agreement page");
  sheet.Click(kAcceptChoice);
  if (!robot::WaitUntil([&] { return robot::IsEnabled(sheet.Button(robot::kNext)); }))
    return bench::Fail("Next stayed disabled");

  double start = bench::NowMs();
  sheet.ClickButton(robot::kNext);
  bool boxShown = false;
  double downloads = 0;
  robot::WaitUntil(
      [&] {
        if (!robot::MessageBoxWindow::All(program.Id()).empty()) boxShown = true;
        HWND page = sheet.CurrentPage();
        HWND bar = robot::Child(page, kProgressBar);
        if (downloads == 0 && bar != nullptr && (robot::StyleOf(bar) & PBS_MARQUEE))
          downloads = bench::NowMs() - start;
        return boxShown || robot::Child(page, kCompletionText) != nullptr;
      },
      robot::Duration{600000});
  double elapsed = bench::NowMs() - start;
  bool complete = robot::Child(sheet.CurrentPage(), kCompletionText) != nullptr;
  program.Kill();
  if (boxShown) return bench::Fail("a message box came up");
  if (!complete) return bench::Fail("no completion page");
  std::printf("wall_ms=%.3f result=0 downloads_ms=%.3f\n", elapsed, downloads);
  return 0;
}
