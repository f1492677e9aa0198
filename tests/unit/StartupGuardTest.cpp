#include "app/StartupGuard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct FakeGround : ProgramGround {
  std::wstring own;
  bool exists = false;
  std::vector<std::wstring> events;

  void RestrictLibrarySearch() override { events.push_back(L"restrict"); }
  std::wstring OwnPath() override { return own; }
  bool MayExist(const std::wstring& path) override {
    events.push_back(L"ask " + path);
    return exists;
  }
};

TEST(StartupGuardTest, TheSearchIsRestrictedFirstThenAnyDotLocalNameRefusesTheProgram) {
  const struct {
    const char* name;
    std::wstring own;
    bool exists;
    StartupGround verdict;
    std::vector<std::wstring> events;
  } cases[] = {
      {"nothing beside it",
       L"C:\\D\\Pellory.exe",
       false,
       StartupGround::Sound,
       {L"restrict", L"ask C:\\D\\Pellory.exe.local"}},
      {"a folder, file or link, or no answer",
       L"C:\\D\\PelloryCheck.exe",
       true,
       StartupGround::DotLocalBeside,
       {L"restrict", L"ask C:\\D\\PelloryCheck.exe.local"}},
      {"its own path unknown", L"", false, StartupGround::OwnPathUnknown, {L"restrict"}},
  };
  for (const auto& c : cases) {
    FakeGround ground;
    ground.own = c.own;
    ground.exists = c.exists;
    EXPECT_EQ(GuardProgramStart(ground), c.verdict) << c.name;
    EXPECT_EQ(ground.events, c.events) << c.name;
  }
}

}  // namespace
