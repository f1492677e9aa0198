#pragma once
// The fixture of every end-to-end scenario: starts a fresh Pellory.exe, finds its
// wizard, and ends the program afterwards whatever happened. On a failure it leaves a
// screenshot of the whole screen in the test's output folder.
//
// Scenarios run on both systems: a suite instantiated as "Ja" runs in the Japanese
// prefix (system language 0x0411, code page 932), one instantiated as "En" in the
// English one (0x0409); tests/support/wine-run picks the prefix by that prefix.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "robot/ChildProcess.h"
#include "robot/Sheet.h"

struct TargetSystem {
  const char* name;
  LANGID languageId;
};
inline constexpr TargetSystem kJapaneseSystem{"Japanese", 0x0411};
inline constexpr TargetSystem kEnglishSystem{"English", 0x0409};
inline void PrintTo(const TargetSystem& system, std::ostream* out) { *out << system.name; }

class PelloryScenario : public testing::TestWithParam<TargetSystem> {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts one more Pellory.exe (the first is started by SetUp).
  static robot::ChildProcess StartPellory();
  // The program SetUp starts: the build's Pellory.exe, unless a scenario runs a copy.
  virtual std::wstring ProgramPath() const { return robot::PelloryExePath(); }
  // False for the scenarios of the console programs, which a running Pellory would
  // refuse (its single-instance mutex): SetUp then starts nothing.
  virtual bool StartsPellory() const { return true; }
  // Saves a screenshot of `window` (the screen for null) as <test name>-<label>.bmp.
  void SaveScreenshot(HWND window, const std::wstring& label) const;

  const robot::Sheet& Wizard() const { return *m_sheet; }
  robot::ChildProcess& Program() { return m_program; }

 private:
  std::wstring TestFileName() const;

  robot::ChildProcess m_program;
  std::optional<robot::Sheet> m_sheet;
};

// Runs the scenarios of `Suite` on the Japanese and on the English system.
#define PELLORY_SCENARIOS_ON_BOTH_SYSTEMS(Suite)                                           \
  INSTANTIATE_TEST_SUITE_P(Ja, Suite, testing::Values(kJapaneseSystem),                    \
                           [](const auto& info) { return std::string(info.param.name); }); \
  INSTANTIATE_TEST_SUITE_P(En, Suite, testing::Values(kEnglishSystem),                     \
                           [](const auto& info) { return std::string(info.param.name); })
