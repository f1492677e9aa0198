#include "engine/SetupRunner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeProcessLauncher.h"
#include "fakes/FakeSystemInfo.h"

namespace {

class SetupRunnerTest : public ::testing::Test {
 protected:
  bool Run(const std::string& setupName, const std::string& responseName) {
    return StartSetupAndWait(launcher, system, setupName, responseName,
                             [this] { launcher.events.push_back("show"); });
  }
  FakeProcessLauncher launcher;
  FakeSystemInfo system;
};

TEST_F(SetupRunnerTest, StartsByFullPathShowsThePageThenWaits) {
  system.tempPath = "C:\\Users\\John Smith\\Temp\\";
  EXPECT_TRUE(Run("cvn.exe", "cvn.iss"));
  ASSERT_EQ(launcher.starts.size(), 1u);
  EXPECT_EQ(launcher.starts[0].applicationName, "C:\\Users\\John Smith\\Temp\\cvn.exe");
  EXPECT_EQ(launcher.starts[0].commandLine,
            "C:\\Users\\John Smith\\Temp\\cvn.exe /nodialog /noreboot /nocvn -s "
            "-f1\"C:\\Users\\John Smith\\Temp\\cvn.iss\"");
  EXPECT_EQ(launcher.events, (std::vector<std::string>{"start", "show", "wait", "release"}));
}

TEST_F(SetupRunnerTest, NothingShownWhenTheProgramCannotStartOrTheFolderIsUnknown) {
  launcher.startSucceeds = false;
  EXPECT_FALSE(Run("missing.exe", "a.iss"));
  EXPECT_EQ(launcher.starts.size(), 1u);
  launcher.startSucceeds = true;
  system.tempPath = "";
  EXPECT_FALSE(Run("a.exe", "a.iss"));
  EXPECT_EQ(launcher.starts.size(), 1u);
  EXPECT_TRUE(launcher.events.empty());
}

}  // namespace
