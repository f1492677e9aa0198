#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "engine/InstallSession.h"
#include "engine/SetupRunner.h"
#include "fakes/FakeProcessLauncher.h"
#include "fakes/FakeSystemInfo.h"

namespace {

class SetupRunnerTest : public ::testing::Test {
 protected:
  FakeProcessLauncher launcher;
  FakeSystemInfo system;
  InstallSession session;
  std::atomic<int32_t> setupRunning{0};
  int32_t runningWhenShown = -1;
  SetupRunContext context{launcher, system, session, setupRunning, [this] {
                            runningWhenShown = setupRunning.load();
                            launcher.events.push_back("show");
                          }};
};

TEST_F(SetupRunnerTest, StartsShowsWaitsAndClearsTheFlag) {
  system.tempPath = "C:\\Users\\John Smith\\Temp\\";
  EXPECT_TRUE(RunSetupProgram(context, "cvn.exe", "cvn.iss"));

  ASSERT_EQ(launcher.starts.size(), 1u);
  EXPECT_EQ(launcher.starts[0].applicationName, "C:\\Users\\John Smith\\Temp\\cvn.exe");
  EXPECT_EQ(launcher.starts[0].commandLine,
            "C:\\Users\\John Smith\\Temp\\cvn.exe /nodialog /noreboot /nocvn -s "
            "-f1\"C:\\Users\\John Smith\\Temp\\cvn.iss\"");
  EXPECT_EQ(launcher.events, (std::vector<std::string>{"start", "show", "wait", "release"}));
  EXPECT_EQ(runningWhenShown, 1);
  EXPECT_EQ(setupRunning.load(), 0);
  EXPECT_EQ(session.Result(), Succeeded);
}

TEST_F(SetupRunnerTest, FailedStartRecordsSetupFailedAndKeepsTheFlag) {
  launcher.startSucceeds = false;
  EXPECT_FALSE(RunSetupProgram(context, "missing.exe", "a.iss"));

  EXPECT_EQ(launcher.starts.size(), 1u);
  EXPECT_EQ(launcher.events, std::vector<std::string>{});
  EXPECT_EQ(setupRunning.load(), 1);
  EXPECT_EQ(session.Result(), SetupFailed);
}

TEST_F(SetupRunnerTest, UnknownTemporaryDirectoryStartsNothing) {
  system.tempPath = "";
  EXPECT_FALSE(RunSetupProgram(context, "a.exe", "a.iss"));

  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_EQ(session.Result(), SetupFailed);
}

}  // namespace
