// The demo's robot user: performs a complete installation with the real Pellory.exe,
// saves a screenshot of every page in PELLORY_TEST_OUT and writes the outcome shown on
// the last page to outcome.txt there. Answers any message box with its first button.
//   demo_robot.exe [--restart-now] [Pellory.exe]
// It finishes with the restart later, or with --restart-now with the restart now (under
// Wine that restart ends this robot too, so the outcome is written before Finish).

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "robot/ChildProcess.h"
#include "robot/Control.h"
#include "robot/Image.h"
#include "robot/MessageBoxWindow.h"
#include "robot/Sheet.h"
#include "robot/Wait.h"

namespace {

using robot::Duration;

std::string Utf8(const std::wstring& text) {
  int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n,
                        nullptr, nullptr);
  return out;
}

std::wstring OutFolder() {
  wchar_t buffer[MAX_PATH] = {};
  ::GetEnvironmentVariableW(L"PELLORY_TEST_OUT", buffer, MAX_PATH);
  return buffer;
}

void Say(const char* what) {
  std::printf("demo robot: %s\n", what);
  std::fflush(stdout);
}

// Answers every open message box with its first button, telling what it said.
void AnswerBoxes(DWORD pid, FILE* outcome) {
  for (const auto& box : robot::MessageBoxWindow::All(pid)) {
    std::fprintf(outcome, "message box: %s\n", Utf8(box.Text()).c_str());
    auto buttons = box.Buttons();
    if (!buttons.empty()) box.Answer(buttons.front());
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bool restartNow = false;
  std::wstring exe = robot::PelloryExePath();
  for (int i = 1; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"--restart-now") {
      restartNow = true;
    } else {
      exe = argv[i];
    }
  }
  std::wstring out = OutFolder();
  FILE* outcome = _wfopen((out + L"\\outcome.txt").c_str(), L"wb");
  if (outcome == nullptr) return 2;

  robot::ChildProcess program;
  if (!program.Start(exe)) {
    Say("Pellory.exe did not start");
    return 1;
  }
  auto found = robot::Sheet::Find(program.Id(), Duration{30000});
  if (!found) {
    Say("the wizard did not open");
    return 1;
  }
  const robot::Sheet& sheet = *found;
  auto shot = [&](const wchar_t* name) { robot::SaveScreenshot(sheet.Handle(), name); };

  Say("install-mode page: choosing the complete installation");
  sheet.WaitForPageWith(1005);
  shot(L"01-install-mode");
  sheet.Click(1005);

  Say("agreement page: accepting the licence agreements");
  sheet.WaitForPageWith(1008);
  shot(L"02-agreement");
  sheet.Click(1009);
  robot::WaitUntil([&] { return robot::IsOperable(sheet.Button(robot::kNext)); });
  shot(L"03-agreement-accepted");
  // Again if Next was disabled meanwhile: the button states arrive by posted messages.
  robot::WaitUntil([&] { return sheet.ClickButton(robot::kNext); });

  Say("download page: downloading and installing");
  sheet.WaitForPageWith(1000);
  bool downloadingShot = false, installingShot = false;
  robot::WaitUntil(
      [&] {
        AnswerBoxes(program.Id(), outcome);
        HWND page = sheet.CurrentPage();
        if (robot::Child(page, 1014) != nullptr) return true;
        HWND bar = robot::Child(page, 1000);
        if (bar != nullptr && !installingShot && (robot::StyleOf(bar) & PBS_MARQUEE)) {
          shot(L"05-installing");
          installingShot = true;
        } else if (bar != nullptr && !downloadingShot &&
                   !robot::TextOf(robot::Child(page, 1007)).empty()) {
          shot(L"04-downloading");
          downloadingShot = true;
        }
        return false;
      },
      Duration{180000});

  Say(restartNow ? "completion page: restart now, then Finish"
                 : "completion page: restart later, then Finish");
  if (!sheet.WaitForPageWith(1014, Duration{5000})) {
    Say("the completion page did not appear");
    program.Kill();
    return 1;
  }
  shot(L"06-complete");
  std::fprintf(outcome, "completion page: %s\n", Utf8(robot::TextOf(sheet.Control(1014))).c_str());
  const int choice = restartNow ? 1015 : 1016;
  if (robot::IsVisible(sheet.Control(choice))) {
    sheet.Click(choice);
    std::fprintf(outcome, "restart choice offered; the robot chose: %s\n",
                 Utf8(robot::TextOf(sheet.Control(choice))).c_str());
  }
  std::fflush(outcome);
  sheet.ClickButton(robot::kFinish);
  bool ended = program.WaitForExit(Duration{10000});
  std::fprintf(outcome, "Pellory.exe %s\n", ended ? "ended after Finish" : "did not end");
  std::fclose(outcome);
  return ended ? 0 : 1;
}
