#include <gtest/gtest.h>

#include <cstring>

#include "engine/SetupCommand.h"

TEST(SetupCommand, SwitchesAreThirtyFiveBytesEndingInAQuote) {
  EXPECT_EQ(std::strlen(kSetupSwitches), 35u);
  EXPECT_EQ(kSetupSwitches[0], ' ');
  EXPECT_EQ(kSetupSwitches[34], '"');
}

struct CommandCase {
  const char* folder;
  const char* setup;
  const char* response;
  const char* commandLine;
};

TEST(SetupCommand, BuildsTheCommandLineByteForByte) {
  const CommandCase cases[] = {
      CommandCase{"C:\\T\\", "a.exe", "a.iss",
                  "C:\\T\\a.exe /nodialog /noreboot /nocvn -s -f1\"C:\\T\\a.iss\""},
      // Only the response file's path is quoted, blanks or not.
      CommandCase{"C:\\Users\\John Smith\\AppData\\Local\\Temp\\", "Setup.exe", "setup.iss",
                  "C:\\Users\\John Smith\\AppData\\Local\\Temp\\Setup.exe /nodialog /noreboot "
                  "/nocvn -s -f1\"C:\\Users\\John Smith\\AppData\\Local\\Temp\\setup.iss\""},
      CommandCase{"C:\\T\\", "get?f=a.exe", "",
                  "C:\\T\\get?f=a.exe /nodialog /noreboot /nocvn -s -f1\"C:\\T\\\""},
  };
  for (const CommandCase& c : cases) {
    EXPECT_EQ(BuildSetupCommandLine(c.folder, c.setup, c.response), c.commandLine);
    EXPECT_EQ(SetupApplicationName(c.folder, c.setup), std::string(c.folder) + c.setup);
  }
}
