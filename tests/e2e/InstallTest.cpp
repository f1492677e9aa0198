// Complete installations of the real program against the test server: the setup programs
// it runs and how, what it requests, what the download page shows during the run, the
// completion page, and the failures and cancels on the way.

#include "InstallFixture.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "robot/Control.h"
#include "robot/MessageBoxWindow.h"

using namespace std::chrono_literals;
using install_ui::Progress;
using install_ui::Text;
using robot::MessageBoxWindow;
using robot::StandardIcon;

namespace {

const std::string kUrlList = "GET /url_list.txt";
const std::string kCorvaneIss = "GET /components/corvane/corvane.iss";
const std::string kCorvaneExe = "GET /components/corvane/corvane-setup.exe";
const std::string kTessalineIss = "GET /components/tessaline/tessaline.iss";
const std::string kTessalineExe = "GET /components/tessaline/tessaline-setup.exe";

// About three seconds for one setup program of the test packages.
const char* const kSlowDownload = R"({"kind": "drip", "arg": 15000})";

// A named CALLBACK: a lambda has the default calling convention, which on i686 is not
// EnumWindows' stdcall.
BOOL CALLBACK FlagWinedbgWindow(HWND window, LPARAM found) {
  if (!::IsWindowVisible(window)) return TRUE;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) return TRUE;
  wchar_t image[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (::QueryFullProcessImageNameW(process, 0, image, &size)) {
    std::wstring name(image);
    if (name.find(L"winedbg") != std::wstring::npos) *reinterpret_cast<bool*>(found) = true;
  }
  ::CloseHandle(process);
  return TRUE;
}

bool NoWinedbgWindow() {
  bool found = false;
  ::EnumWindows(FlagWinedbgWindow, reinterpret_cast<LPARAM>(&found));
  return !found;
}

bool IsCrashCode(std::optional<DWORD> code) { return code && *code >= 0xC0000000u; }

}  // namespace

class InstallTest : public InstallScenario {
 protected:
  // The completion page once it shows, with Finish alone in Cancel's place.
  void ExpectCompletion(const std::wstring& result, bool restartChoice) {
    ASSERT_TRUE(Wizard().WaitForPageWith(install_ui::kResultText, 15s)) << "no completion page";
    EXPECT_EQ(robot::TextOf(Wizard().Control(install_ui::kResultText)), result);
    EXPECT_EQ(robot::IsVisible(Wizard().Control(install_ui::kRestartNow)), restartChoice);
    EXPECT_EQ(robot::IsVisible(Wizard().Control(install_ui::kRestartLater)), restartChoice);
    EXPECT_TRUE(robot::WaitUntil([&] {
      return Wizard().VisibleButtons() == std::vector<int>{robot::kFinish};
    })) << "Back, Next and Cancel must be hidden, Finish shown";
    EXPECT_TRUE(robot::IsOperable(Wizard().Button(robot::kFinish)));
  }

  // Waits until the status text reads `text` (and, with `marquee`, the bar is a marquee).
  bool WaitForStatus(const std::wstring& text, robot::Duration timeout = robot::Duration{20000},
                     bool marquee = false) {
    return robot::WaitUntil(
        [&] {
          HWND page = Wizard().CurrentPage();
          if (robot::TextOf(robot::Child(page, install_ui::kStatusText)) != text) return false;
          return !marquee ||
                 (robot::StyleOf(robot::Child(page, install_ui::kProgressBar)) & PBS_MARQUEE) != 0;
        },
        timeout);
  }

  void FinishAndExpectEnd() {
    ASSERT_TRUE(Wizard().ClickButton(robot::kFinish));
    EXPECT_TRUE(Program().WaitForExit(10s)) << "Finish does not end the program";
    EXPECT_FALSE(IsCrashCode(Program().ExitCode()));
  }
};

class JapaneseInstallTest : public InstallTest {
 protected:
  void ExpectSignatureFailure(const char* package) {
    ServeStandardInstallation();
    ServeComponent("corvane", package);
    WalkToDownloadPage();
    ASSERT_TRUE(WatchRun().reachedCompletion) << "a box or a time-out stopped the run";
    ExpectCompletion(Text(171), false);
    EXPECT_EQ(SetupLog(), "");
    EXPECT_EQ(RequestLog(), (std::vector<std::string>{kUrlList, kCorvaneIss, kCorvaneExe}));
    SaveScreenshot(Wizard().Handle(), L"completion");
    FinishAndExpectEnd();
  }
};

TEST_P(JapaneseInstallTest, CompleteRunsCorvaneThenTessalineAndOffersTheRestart) {
  ServeStandardInstallation("sleep=2000\r\n");
  SetFaults({{"/components/corvane/corvane-setup.exe", kSlowDownload},
             {"/components/tessaline/tessaline-setup.exe", kSlowDownload}});
  WalkToDownloadPage();
  const RECT cancelRect = robot::ScreenRectOf(Wizard().Button(robot::kCancel));

  const RunObservation run = WatchRun();
  ASSERT_TRUE(run.reachedCompletion) << "a message box or a time-out stopped the run";

  // What the user saw during the run.
  EXPECT_FALSE(run.wizardButtonEnabled) << "Back, Next or Finish was enabled during the run";
  const std::vector<std::wstring> expectedOrder = {Progress(142, 1, 2), Progress(142, 2, 2),
                                                   Progress(143, 1, 2), Progress(143, 2, 2)};
  std::vector<std::wstring> seen;  // the initial 143 (1/2) passes too fast to be sure of it
  for (const auto& text : run.statusTexts) {
    if (seen.empty() && text == Progress(143, 1, 2)) continue;
    seen.push_back(text);
  }
  EXPECT_EQ(seen, expectedOrder);
  EXPECT_TRUE(run.marqueeTexts.count(Progress(143, 2, 2))) << "no marquee while installing";
  EXPECT_FALSE(run.marqueeTexts.count(Progress(142, 1, 2))) << "marquee while downloading";
  EXPECT_TRUE(run.cancelEnabledTexts.count(Progress(142, 1, 2))) << "Cancel was not offered";
  EXPECT_FALSE(run.cancelEnabledTexts.count(Progress(143, 1, 2)) ||
               run.cancelEnabledTexts.count(Progress(143, 2, 2)))
      << "Cancel was enabled while installing";

  // What ran, how, and what was requested: each setup from the run's own folder, in it and
  // with it as TMP and TEMP, its answers held so that nobody could open them for writing.
  const std::string log = SetupLog();
  const std::string folder = RunFolder();
  ASSERT_NE(folder, "") << "no new Pellory.* folder in the Windows folder's Temp";
  const std::string name = folder.substr(folder.rfind('\\', folder.size() - 2) + 1);
  EXPECT_EQ(name.size(), 17u) << folder;  // "Pellory." and 8 hex digits
  EXPECT_EQ(name.find_first_not_of("0123456789abcdef", 8), 16u) << folder;
  EXPECT_EQ(SetupLogValues(log, "cmdline"),
            (std::vector<std::string>{SetupCommandLine("corvane"), SetupCommandLine("tessaline")}));
  const std::string asDirectory = LowerAscii(folder.substr(0, folder.size() - 1));
  for (const char* key : {"cwd", "tmp", "temp"}) {
    std::vector<std::string> values = SetupLogValues(log, key);
    for (std::string& value : values) value = LowerAscii(value);
    EXPECT_EQ(values, (std::vector<std::string>{asDirectory, asDirectory})) << key;
  }
  EXPECT_EQ(SetupLogValues(log, "response-write"),
            (std::vector<std::string>{"refused", "refused"}));
  EXPECT_EQ(SetupLogValues(log, "| title"), (std::vector<std::string>{"corvane", "tessaline"}))
      << "the setup programs did not see their response files:\n"
      << log;
  EXPECT_EQ(RequestLog(), (std::vector<std::string>{kUrlList, kCorvaneIss, kCorvaneExe,
                                                    kTessalineIss, kTessalineExe}));

  ExpectCompletion(Text(173) + L"\r\n" + Text(170), true);
  EXPECT_EQ(robot::CheckState(Wizard().Control(install_ui::kRestartNow)), BST_CHECKED);
  EXPECT_EQ(robot::CheckState(Wizard().Control(install_ui::kRestartLater)), BST_UNCHECKED);
  const RECT finishRect = robot::ScreenRectOf(Wizard().Button(robot::kFinish));
  EXPECT_TRUE(::EqualRect(&cancelRect, &finishRect)) << "Finish is not in Cancel's place";
  SaveScreenshot(Wizard().Handle(), L"completion");

  ASSERT_TRUE(Wizard().Click(install_ui::kRestartLater));
  EXPECT_EQ(robot::CheckState(Wizard().Control(install_ui::kRestartNow)), BST_UNCHECKED);
  FinishAndExpectEnd();
}

TEST_P(JapaneseInstallTest, ScreenshotsOfTheRunAndOfTheSuccess) {
  ServeStandardInstallation("sleep=1500\r\n");
  SetFaults({{"/components/corvane/corvane-setup.exe", kSlowDownload}});
  WalkToDownloadPage();
  const RunObservation run = WatchRun(robot::Duration{40000}, true);
  ASSERT_TRUE(run.reachedCompletion);
  ExpectCompletion(Text(173) + L"\r\n" + Text(170), true);
  SaveScreenshot(Wizard().Handle(), L"completion");
}

// Older reader software: a version beginning with "1" stops the run before any download.
// The probe's key name is Shift-JIS, so these run on the Japanese system only.
TEST_P(JapaneseInstallTest, OldSoftwareVersion120ShowsBox178AndRequestsNothingButTheList) {
  ServeStandardInstallation();
  SetOldSoftwareVersion("1.2.0");
  WalkToDownloadPage();
  const auto box = MessageBoxWindow::Find(Program().Id(), 20s);
  ASSERT_TRUE(box.has_value()) << "no box for the old software";
  EXPECT_EQ(box->Text(), Text(178));
  EXPECT_EQ(box->Caption(), L"Pellory");
  EXPECT_EQ(box->Buttons(), std::vector<int>{IDOK});
  EXPECT_EQ(box->Icon(), StandardIcon::Exclamation);
  ASSERT_TRUE(box->Answer(IDOK));
  ExpectCompletion(Text(178), false);
  EXPECT_EQ(RequestLog(), std::vector<std::string>{kUrlList});
  EXPECT_EQ(SetupLog(), "");
  FinishAndExpectEnd();
}

TEST_P(JapaneseInstallTest, OldSoftwareOfOtherVersionsDoesNotBlock) {
  ServeStandardInstallation();
  SetOldSoftwareVersion("2.0.0");
  WalkToDownloadPage();
  ASSERT_TRUE(WatchRun().reachedCompletion) << "version 2.0.0 stopped the run";
  ExpectCompletion(Text(173) + L"\r\n" + Text(170), true);
  EXPECT_EQ(SetupLogValues(SetupLog(), "| title").size(), 2u);
}

TEST_P(JapaneseInstallTest, UrlListFailureAsksRetryThenCancelGivesUp) {
  ServeStandardInstallation();
  SetFaults({{"/url_list.txt", R"({"kind": "status", "arg": 404})"}});
  WalkToDownloadPage();
  for (const int answer : {IDRETRY, IDCANCEL}) {
    const auto box = MessageBoxWindow::Find(Program().Id(), 20s);
    ASSERT_TRUE(box.has_value()) << "no box 153 (before answering " << answer << ")";
    EXPECT_EQ(box->Text(), Text(153));
    EXPECT_EQ(box->Buttons(), (std::vector<int>{IDCANCEL, IDRETRY}));
    ASSERT_TRUE(box->Answer(answer));
  }
  ExpectCompletion(Text(171), false);
  EXPECT_EQ(RequestLog(), (std::vector<std::string>{kUrlList, kUrlList}))
      << "Retry must ask again, and no component file may be requested";
  EXPECT_EQ(SetupLog(), "");
  FinishAndExpectEnd();
}

// A setup program that fails its signature check stops the run silently: nothing runs.
TEST_P(JapaneseInstallTest, TamperedSetupProgramEndsWith171WithoutBoxAndRunsNothing) {
  ExpectSignatureFailure("setup-tampered.exe");
}

TEST_P(JapaneseInstallTest, SetupProgramOfAnotherSignerEndsWith171WithoutBoxAndRunsNothing) {
  ExpectSignatureFailure("setup-other.exe");
}

// Component 3's setup program passes the signature check but is no program (a DLL, which
// CreateProcess refuses): box 168 without owner, then 172, and Corvane, which ran before
// it, stays installed.
TEST_P(JapaneseInstallTest, SetupProgramThatCannotStartShowsBox168ThenEndsWith172) {
  ServeStandardInstallation();
  ServeComponent("tessaline", "setup-notprogram.exe");
  WalkToDownloadPage();
  const auto box = MessageBoxWindow::Find(Program().Id(), 30s);
  ASSERT_TRUE(box.has_value()) << "no box for the setup program that cannot start";
  EXPECT_EQ(box->Text(), Text(168));
  EXPECT_EQ(box->Caption(), L"Pellory");
  EXPECT_EQ(box->Buttons(), std::vector<int>{IDOK});
  EXPECT_EQ(box->Icon(), StandardIcon::Exclamation);
  EXPECT_EQ(box->Owner(), nullptr);
  EXPECT_EQ(SetupLogValues(SetupLog(), "| title"), std::vector<std::string>{"corvane"});
  ASSERT_TRUE(box->Answer(IDOK));

  ExpectCompletion(Text(172), false);
  EXPECT_EQ(SetupLogValues(SetupLog(), "| title"), std::vector<std::string>{"corvane"})
      << "component 1 did not run, or something ran after the failure";
  EXPECT_EQ(RequestLog(), (std::vector<std::string>{kUrlList, kCorvaneIss, kCorvaneExe,
                                                    kTessalineIss, kTessalineExe}));
  SaveScreenshot(Wizard().Handle(), L"completion");
  FinishAndExpectEnd();
}

// The cancel box is still open when the last download ends: the worker must not start a
// setup program until it is answered. Answered No, the run completes, and from then on
// neither Cancel nor the window's Close command asks again.
TEST_P(JapaneseInstallTest, CancelBoxOpenWhenTheDownloadsEndHoldsEverySetupUntilAnswered) {
  ServeStandardInstallation("sleep=1500\r\n");
  SetFaults({{"/components/tessaline/tessaline-setup.exe", kSlowDownload}});
  WalkToDownloadPage();
  ASSERT_TRUE(WaitForStatus(Progress(142, 2, 2)));
  const std::string download = DownloadedSetupPath("tessaline");  // in the run's new folder
  ASSERT_TRUE(Wizard().PostClickButton(robot::kCancel));
  const auto box = MessageBoxWindow::Find(Program().Id());
  ASSERT_TRUE(box.has_value()) << "Cancel asks nothing";
  EXPECT_EQ(box->Text(), Text(169));

  // The drip is logged when it starts and lasts size / rate; the local copy complete is
  // the downloads' end as the program sees it.
  ASSERT_TRUE(robot::WaitUntil([&] { return RequestLog().back() == kTessalineExe; }, 20s));
  const auto dripStart = std::chrono::steady_clock::now();
  const long long size = PackageSize("setup-valid.exe");
  EXPECT_TRUE(robot::WaitUntil([&] { return FileSize(download) == size; }, 20s))
      << "the last download did not end while the box was open";
  const auto dripTime = std::chrono::milliseconds(size * 1000 / 15000);
  const auto holdUntil = dripStart + dripTime + 3s;
  const auto hold = std::chrono::duration_cast<std::chrono::milliseconds>(
      holdUntil - std::chrono::steady_clock::now());
  EXPECT_FALSE(robot::WaitUntil([&] { return !SetupLog().empty(); },
                                std::max(hold, std::chrono::milliseconds(3000))))
      << "a setup program started while the cancel box was open";
  ASSERT_TRUE(box->IsOpen());
  ASSERT_TRUE(box->Answer(IDNO));

  EXPECT_TRUE(robot::WaitUntil([&] { return !robot::IsEnabled(Wizard().Button(robot::kCancel)); }))
      << "Cancel is still enabled after the box was answered No";
  ASSERT_TRUE(Wizard().Close());
  EXPECT_FALSE(
      robot::WaitUntil([&] { return !MessageBoxWindow::All(Program().Id()).empty(); }, 1500ms))
      << "the window's Close command asked again";
  EXPECT_TRUE(Wizard().IsOpen());

  const RunObservation run = WatchRun();
  ASSERT_TRUE(run.reachedCompletion);
  EXPECT_TRUE(run.cancelEnabledTexts.empty());
  EXPECT_EQ(SetupLogValues(SetupLog(), "| title"),
            (std::vector<std::string>{"corvane", "tessaline"}));
  ExpectCompletion(Text(173) + L"\r\n" + Text(170), true);
}

// Cancel answered No while a setup program downloads: the downloads go on under the open
// box, no setup starts before it is answered, and afterwards Cancel stays disabled.
TEST_P(JapaneseInstallTest, CancelAnsweredNoDuringADownloadLetsTheRunComplete) {
  ServeStandardInstallation("sleep=1000\r\n");
  SetFaults({{"/components/corvane/corvane-setup.exe", kSlowDownload}});
  WalkToDownloadPage();
  ASSERT_TRUE(WaitForStatus(Progress(142, 1, 2)));
  ASSERT_TRUE(Wizard().PostClickButton(robot::kCancel));
  const auto box = MessageBoxWindow::Find(Program().Id());
  ASSERT_TRUE(box.has_value()) << "Cancel asks nothing";
  EXPECT_EQ(box->Text(), Text(169));
  EXPECT_EQ(box->Buttons(), (std::vector<int>{IDYES, IDNO}));

  EXPECT_TRUE(robot::WaitUntil(
      [&] {
        const auto log = RequestLog();
        return !log.empty() && log.back() == kTessalineExe;
      },
      20s))
      << "the downloads stopped while the box was open";
  EXPECT_FALSE(robot::WaitUntil([&] { return !SetupLog().empty(); }, 1500ms))
      << "a setup program started before the cancel box was answered";
  ASSERT_TRUE(box->Answer(IDNO));
  EXPECT_TRUE(robot::WaitUntil([&] { return !robot::IsEnabled(Wizard().Button(robot::kCancel)); }))
      << "Cancel is still enabled after the box of the install phase";

  const RunObservation run = WatchRun();
  ASSERT_TRUE(run.reachedCompletion);
  EXPECT_TRUE(run.cancelEnabledTexts.empty());
  EXPECT_EQ(SetupLogValues(SetupLog(), "| title"),
            (std::vector<std::string>{"corvane", "tessaline"}));
  ExpectCompletion(Text(173) + L"\r\n" + Text(170), true);
}

TEST_P(JapaneseInstallTest, CancelAnsweredYesDuringADownloadEndsTheProgramAtOnce) {
  ServeStandardInstallation();
  SetFaults({{"/components/corvane/corvane-setup.exe", R"({"kind": "drip", "arg": 4000})"}});
  WalkToDownloadPage();
  ASSERT_TRUE(WaitForStatus(Progress(142, 1, 2)));
  ASSERT_TRUE(Wizard().PostClickButton(robot::kCancel));
  const auto box = MessageBoxWindow::Find(Program().Id());
  ASSERT_TRUE(box.has_value()) << "Cancel asks nothing";
  EXPECT_EQ(box->Text(), Text(169));
  box->Answer(IDYES);  // the box may vanish with the process
  EXPECT_TRUE(Program().WaitForExit(5s)) << "the program is still running 5 s after Yes";
  EXPECT_FALSE(IsCrashCode(Program().ExitCode()))
      << "exit code " << std::hex << *Program().ExitCode();
  EXPECT_FALSE(robot::WaitUntil([] { return !NoWinedbgWindow(); }, 2s))
      << "a crash dialog appeared";
  EXPECT_EQ(SetupLog(), "");
}

// While a setup program runs, every way to cancel is refused without a word.
TEST_P(JapaneseInstallTest, CancelDuringASetupRunShowsNothingAndChangesNothing) {
  // The setup runs longer than the checks below take, however stretched their waits.
  ServeStandardInstallation(
      "sleep=" + std::to_string(robot::Scaled(robot::Duration{4000}).count()) + "\r\n");
  WalkToDownloadPage();
  ASSERT_TRUE(WaitForStatus(Progress(143, 1, 2), 20s, true));
  ASSERT_TRUE(robot::WaitUntil([&] { return !SetupLog().empty(); })) << "corvane did not start";
  EXPECT_FALSE(robot::IsEnabled(Wizard().Button(robot::kCancel)));
  EXPECT_FALSE(Wizard().PostClickButton(robot::kCancel));
  ASSERT_TRUE(Wizard().Close());
  ASSERT_TRUE(Wizard().PressKey(VK_ESCAPE));
  EXPECT_FALSE(
      robot::WaitUntil([&] { return !MessageBoxWindow::All(Program().Id()).empty(); }, 1500ms))
      << "a cancel request during a setup run showed a box";
  EXPECT_TRUE(Wizard().IsOpen());
  EXPECT_EQ(robot::TextOf(Wizard().Control(install_ui::kStatusText)), Progress(143, 1, 2));

  ASSERT_TRUE(WatchRun().reachedCompletion);
  EXPECT_EQ(SetupLogValues(SetupLog(), "| title"),
            (std::vector<std::string>{"corvane", "tessaline"}));
  ExpectCompletion(Text(173) + L"\r\n" + Text(170), true);
}

// The English system installs Corvane alone.
class EnglishInstallTest : public InstallTest {};

TEST_P(EnglishInstallTest, CompleteRunsCorvaneAloneWithEveryStatusOneOfOne) {
  ServeStandardInstallation("sleep=1000\r\n");
  SetFaults({{"/components/corvane/corvane-setup.exe", kSlowDownload}});
  WalkToDownloadPage();
  const RunObservation run = WatchRun();
  ASSERT_TRUE(run.reachedCompletion);
  EXPECT_FALSE(run.wizardButtonEnabled);
  for (const auto& text : run.statusTexts) {
    EXPECT_TRUE(text == Progress(142, 1, 1) || text == Progress(143, 1, 1)) << "status text";
  }
  EXPECT_TRUE(run.marqueeTexts.count(Progress(143, 1, 1)));
  const std::string log = SetupLog();
  EXPECT_EQ(SetupLogValues(log, "cmdline"), std::vector<std::string>{SetupCommandLine("corvane")});
  EXPECT_EQ(SetupLogValues(log, "| title"), std::vector<std::string>{"corvane"});
  EXPECT_EQ(RequestLog(), (std::vector<std::string>{kUrlList, kCorvaneIss, kCorvaneExe}));
  ExpectCompletion(Text(173) + L"\r\n" + Text(170), true);
  ASSERT_TRUE(Wizard().Click(install_ui::kRestartLater));
  FinishAndExpectEnd();
}

INSTANTIATE_TEST_SUITE_P(Ja, JapaneseInstallTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(En, EnglishInstallTest, testing::Values(kEnglishSystem),
                         [](const auto& info) { return std::string(info.param.name); });
