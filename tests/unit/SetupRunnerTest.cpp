#include "engine/SetupRunner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeProcessLauncher.h"

namespace {

class SetupRunnerTest : public ::testing::Test {
 protected:
  bool Run(const std::string& folder, const std::string& setupName,
           const std::string& responseName) {
    return StartSetupAndWait(launcher, folder, setupName, responseName,
                             [this] { launcher.events.push_back("show"); });
  }
  FakeProcessLauncher launcher;
};

TEST_F(SetupRunnerTest, StartsByFullPathInTheFolderWithItAsTempShowsThePageThenWaits) {
  const std::string folder = "C:\\Windows\\Temp\\Pellory.0badf00d\\";
  EXPECT_TRUE(Run(folder, "cvn.exe", "cvn.iss"));
  ASSERT_EQ(launcher.starts.size(), 1u);
  EXPECT_EQ(launcher.starts[0].applicationName, folder + "cvn.exe");
  EXPECT_EQ(launcher.starts[0].commandLine,
            folder + "cvn.exe /nodialog /noreboot /nocvn -s -f1\"" + folder + "cvn.iss\"");
  EXPECT_EQ(launcher.starts[0].currentDirectory, folder);
  // TMP and TEMP (whatever their case) now name the folder, PATH is the machine's.
  EXPECT_EQ(launcher.starts[0].environment,
            (Environment{"=C:=C:\\Users\\u\\Downloads", "Path=C:\\Windows\\system32",
                         "TEMP=C:\\Windows\\Temp\\Pellory.0badf00d",
                         "tmp=C:\\Windows\\Temp\\Pellory.0badf00d", "windir=C:\\Windows"}));
  EXPECT_EQ(launcher.events, (std::vector<std::string>{"start", "show", "wait", "release"}));
}

TEST_F(SetupRunnerTest, NothingShownWhenTheProgramCannotStartOrThereIsNoFolder) {
  launcher.startSucceeds = false;
  EXPECT_FALSE(Run("C:\\F\\", "missing.exe", "a.iss"));
  EXPECT_EQ(launcher.starts.size(), 1u);
  launcher.startSucceeds = true;
  EXPECT_FALSE(Run("", "a.exe", "a.iss"));
  EXPECT_EQ(launcher.starts.size(), 1u);
  EXPECT_TRUE(launcher.events.empty());
}

}  // namespace
