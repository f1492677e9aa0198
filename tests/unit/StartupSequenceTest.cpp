#include "app/StartupSequence.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FakeStartup : StartupPlatform {
  MutexOutcome mutex = MutexOutcome::Created;
  bool admin = true;
  std::vector<uint32_t> messages;
  int wizardRuns = 0;
  bool adminAsked = false;

  MutexOutcome CreateSingleInstanceMutex() override { return mutex; }
  bool IsAdministrator() override {
    adminAsked = true;
    return admin;
  }
  void ShowMessage(uint32_t id) override { messages.push_back(id); }
  void RunWizard() override { ++wizardRuns; }
};

struct StartupCase {
  const char* name;
  StartupPlatform::MutexOutcome mutex;
  bool admin;
  std::vector<uint32_t> messages;
  int wizardRuns;
};

TEST(StartupSequenceTest, RefusalsComeInOrderAndAMutexFailureGoesOn) {
  using M = StartupPlatform::MutexOutcome;
  const StartupCase cases[] = {
      {"first instance, administrator", M::Created, true, {}, 1},
      {"second instance is refused before the admin check", M::AlreadyExists, false, {179}, 0},
      {"second instance, administrator", M::AlreadyExists, true, {179}, 0},
      {"not an administrator", M::Created, false, {180}, 0},
      {"mutex failure goes on to the admin check", M::Failed, false, {180}, 0},
      {"mutex failure goes on to the wizard", M::Failed, true, {}, 1},
  };
  for (const auto& c : cases) {
    FakeStartup fake;
    fake.mutex = c.mutex;
    fake.admin = c.admin;
    RunStartupSequence(fake);
    EXPECT_EQ(fake.messages, c.messages) << c.name;
    EXPECT_EQ(fake.wizardRuns, c.wizardRuns) << c.name;
    if (c.mutex == M::AlreadyExists) {
      EXPECT_FALSE(fake.adminAsked) << c.name;
    }
  }
}

}  // namespace
