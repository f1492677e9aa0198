#include "app/StartupSequence.h"

#include <gtest/gtest.h>

#include <vector>

#include "fakes/FakeInstallPlatform.h"

namespace {

struct FakeShell : StartupShell {
  std::vector<uint32_t> messages;
  int wizardRuns = 0;
  void ShowMessage(uint32_t id) override { messages.push_back(id); }
  void RunWizard() override { ++wizardRuns; }
};

struct StartupCase {
  const char* name;
  MutexOutcome mutex;
  bool admin;
  std::vector<uint32_t> messages;
  int wizardRuns;
};

TEST(StartupSequenceTest, RefusalsComeInOrderAndAMutexFailureGoesOn) {
  using M = MutexOutcome;
  const StartupCase cases[] = {
      {"first instance, administrator", M::Created, true, {}, 1},
      {"second instance is refused before the admin check", M::AlreadyExists, false, {179}, 0},
      {"second instance, administrator", M::AlreadyExists, true, {179}, 0},
      {"not an administrator", M::Created, false, {180}, 0},
      {"mutex failure goes on to the admin check", M::Failed, false, {180}, 0},
      {"mutex failure goes on to the wizard", M::Failed, true, {}, 1},
  };
  for (const auto& c : cases) {
    FakeInstallPlatform fakes;
    if (c.mutex == M::AlreadyExists) fakes.mutexes.held.insert(kPelloryMutexName);
    fakes.mutexes.fails = c.mutex == M::Failed;
    fakes.user.administrator = c.admin;
    FakeShell shell;
    RunStartupSequence(fakes.Platform(), shell);
    EXPECT_EQ(fakes.mutexes.created, std::vector<std::string>{kPelloryMutexName}) << c.name;
    EXPECT_EQ(shell.messages, c.messages) << c.name;
    EXPECT_EQ(shell.wizardRuns, c.wizardRuns) << c.name;
    if (c.mutex == M::AlreadyExists) {
      EXPECT_EQ(fakes.user.asked, 0) << c.name;
    }
  }
}

}  // namespace
