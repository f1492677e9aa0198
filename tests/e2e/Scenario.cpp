#include "Scenario.h"

#include "robot/Image.h"

void PelloryScenario::SetUp() {
  // A suite on the wrong prefix would test the other system while claiming this one.
  ASSERT_EQ(GetSystemDefaultLangID(), GetParam().languageId)
      << "the harness ran this suite on the wrong system";
  if (!StartsPellory()) return;
  m_program.Start(ProgramPath());
  ASSERT_TRUE(m_program.Started()) << "cannot start Pellory.exe (error " << GetLastError() << ")";
  m_sheet = robot::Sheet::Find(m_program.Id());
  ASSERT_TRUE(m_sheet.has_value()) << "Pellory.exe shows no wizard";
}

void PelloryScenario::TearDown() {
  if (HasFailure()) SaveScreenshot(nullptr, L"failure");
  m_program.Kill();
}

robot::ChildProcess PelloryScenario::StartPellory() {
  robot::ChildProcess program;
  program.Start(robot::PelloryExePath());
  return program;
}

std::wstring PelloryScenario::TestFileName() const {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name) {
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return std::wstring(name.begin(), name.end());
}

void PelloryScenario::SaveScreenshot(HWND window, const std::wstring& label) const {
  const auto path = robot::SaveScreenshot(window, TestFileName() + L"-" + label);
  EXPECT_TRUE(path.has_value()) << "cannot save the screenshot "
                                << std::string(label.begin(), label.end());
}
