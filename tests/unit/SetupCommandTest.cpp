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

struct EnvironmentCase {
  const char* rule;
  Environment own, machine, expected;
};

TEST(SetupCommand, BuildsTheSetupsEnvironmentFromTheUsersAndTheMachines) {
  const EnvironmentCase cases[] = {
      {"a machine variable takes the machine's value, in place under the user's spelling, "
       "or added in name order",
       {"=C:=C:\\", "ComSpec=C:\\Users\\u\\cmd.exe", "SYSTEMROOT=C:\\Users\\u"},
       {"ComSpec=C:\\Windows\\system32\\cmd.exe", "SystemRoot=C:\\Windows", "windir=C:\\Windows"},
       {"=C:=C:\\", "ComSpec=C:\\Windows\\system32\\cmd.exe", "SYSTEMROOT=C:\\Windows",
        "TEMP=C:\\F", "TMP=C:\\F", "windir=C:\\Windows"}},
      {"PATH is the machine's only",
       {"PATH=C:\\Windows\\system32;C:\\Users\\u\\bin"},
       {"Path=C:\\Windows\\system32"},
       {"Path=C:\\Windows\\system32", "TEMP=C:\\F", "TMP=C:\\F"}},
      {"code-loading variables go in any case, whoever defines them",
       {"cor_enable_profiling=1",
        "COR_PROFILER={1}",
        "Cor_Profiler_Path=p",
        "COR_PROFILER_PATH_32=p",
        "COR_PROFILER_PATH_64=p",
        "CORECLR_ENABLE_PROFILING=1",
        "CORECLR_PROFILER={1}",
        "CORECLR_PROFILER_PATH=p",
        "CORECLR_PROFILER_PATH_32=p",
        "CORECLR_PROFILER_PATH_64=p",
        "CORECLR_PROFILER_PATH_ARM64=p",
        "CORPORATE=1",
        "DOTNET_STARTUP_HOOKS=p",
        "DotNet_Additional_Deps=p",
        "DOTNET_ROOT=p",
        "COMPlus_ProfAPI_ProfilerCompatibilitySetting=EnableV2Profiler",
        "JAVA_TOOL_OPTIONS=-agentpath:p",
        "JDK_JAVA_OPTIONS=p",
        "_JAVA_OPTIONS=p",
        "__compat_layer=RunAsInvoker"},
       {"COR_ENABLE_PROFILING=1", "__COMPAT_LAYER=WinXP"},
       {"CORPORATE=1", "TEMP=C:\\F", "TMP=C:\\F"}},
      {"the user's profile and identity stay the user's, and are not taken from the machine",
       {"USERNAME=u", "USERPROFILE=C:\\Users\\u"},
       {"APPDATA=C:\\users\\Default\\AppData\\Roaming", "USERNAME=SYSTEM",
        "USERPROFILE=C:\\users\\Default"},
       {"TEMP=C:\\F", "TMP=C:\\F", "USERNAME=u", "USERPROFILE=C:\\Users\\u"}},
      {"TMP and TEMP are the folder, whoever defines them; the user's other variables stay",
       {"PELLORY_SETUP_LOG=C:\\l.log", "tmp=C:\\Users\\u\\Temp"},
       {"OS=Windows_NT", "TEMP=C:\\Windows\\Temp"},
       {"OS=Windows_NT", "PELLORY_SETUP_LOG=C:\\l.log", "TEMP=C:\\F", "tmp=C:\\F"}},
      {"without the machine's, the user's values stay, but PATH and code-loading ones go",
       {"ComSpec=C:\\Users\\u\\cmd.exe", "COR_PROFILER={1}", "Path=C:\\Users\\u\\bin"},
       {},
       {"ComSpec=C:\\Users\\u\\cmd.exe", "TEMP=C:\\F", "TMP=C:\\F"}},
      {"nothing at all", {}, {}, {"TEMP=C:\\F", "TMP=C:\\F"}},
  };
  for (const EnvironmentCase& c : cases)
    EXPECT_EQ(SetupEnvironment(c.own, c.machine, "C:\\F\\"), c.expected) << c.rule;
}
