#include "engine/SetupCommand.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(SetupCommand, SwitchesAreThirtyFiveBytesEndingInAQuote) {
  EXPECT_EQ(std::strlen(kSetupSwitches), 35u);
  EXPECT_EQ(kSetupSwitches[0], ' ');
  EXPECT_EQ(kSetupSwitches[34], '"');
}

struct CommandCase {
  const char* tempPath;
  const char* setup;
  const char* response;
  const char* commandLine;
};

class SetupCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(SetupCommandTest, BuildsTheCommandLineByteForByte) {
  const CommandCase& c = GetParam();
  EXPECT_EQ(BuildSetupCommandLine(c.tempPath, c.setup, c.response), c.commandLine);
  EXPECT_EQ(SetupApplicationName(c.tempPath, c.setup), std::string(c.tempPath) + c.setup);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SetupCommandTest,
    ::testing::Values(
        CommandCase{"C:\\T\\", "a.exe", "a.iss",
                    "C:\\T\\a.exe /nodialog /noreboot /nocvn -s -f1\"C:\\T\\a.iss\""},
        // Only the response file's path is quoted, blanks or not.
        CommandCase{"C:\\Users\\John Smith\\AppData\\Local\\Temp\\", "Setup.exe", "setup.iss",
                    "C:\\Users\\John Smith\\AppData\\Local\\Temp\\Setup.exe /nodialog /noreboot "
                    "/nocvn -s -f1\"C:\\Users\\John Smith\\AppData\\Local\\Temp\\setup.iss\""},
        CommandCase{"C:\\T\\", "get?f=a.exe", "",
                    "C:\\T\\get?f=a.exe /nodialog /noreboot /nocvn -s -f1\"C:\\T\\\""}));
