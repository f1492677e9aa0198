#include <gtest/gtest.h>

#include "engine/SetupCommand.h"

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
  }
}

struct EnvironmentCase {
  const char* rule;
  Environment own, machine, expected;
};

TEST(SetupCommand, BuildsTheSetupsEnvironmentFromTheUsersAndTheMachines) {
  const EnvironmentCase cases[] = {
      {"the machine's value: in place under the user's spelling, or added in name order",
       {"=C:=C:\\", "ComSpec=C:\\U\\cmd.exe", "SYSTEMROOT=C:\\U"},
       {"ComSpec=C:\\W\\cmd.exe", "SystemRoot=C:\\W", "windir=C:\\W"},
       {"=C:=C:\\", "ComSpec=C:\\W\\cmd.exe", "SYSTEMROOT=C:\\W", "TEMP=C:\\F", "TMP=C:\\F",
        "windir=C:\\W"}},
      {"the machine's PATH only",
       {"PATH=C:\\W;C:\\U"},
       {"Path=C:\\W"},
       {"Path=C:\\W", "TEMP=C:\\F", "TMP=C:\\F"}},
      {"no code-loading variable, in any case, whoever defines it",
       {"cor_enable_profiling=1", "COR_PROFILER=1", "Cor_Profiler_Path=1", "COR_PROFILER_PATH_32=1",
        "COR_PROFILER_PATH_64=1", "CORECLR_ENABLE_PROFILING=1", "CORECLR_PROFILER=1",
        "CORECLR_PROFILER_PATH=1", "CORECLR_PROFILER_PATH_32=1", "CORECLR_PROFILER_PATH_64=1",
        "CORECLR_PROFILER_PATH_ARM64=1", "CORPORATE=1", "DOTNET_STARTUP_HOOKS=1",
        "DotNet_Additional_Deps=1", "COMPlus_AltJitName=1", "JAVA_TOOL_OPTIONS=1",
        "JDK_JAVA_OPTIONS=1", "_JAVA_OPTIONS=1", "__compat_layer=1"},
       {"COR_ENABLE_PROFILING=1", "__COMPAT_LAYER=1"},
       {"CORPORATE=1", "TEMP=C:\\F", "TMP=C:\\F"}},
      {"the user's profile and identity, never the machine's",
       {"USERNAME=u", "USERPROFILE=C:\\U"},
       {"APPDATA=C:\\D\\AppData", "USERNAME=SYSTEM", "USERPROFILE=C:\\D"},
       {"TEMP=C:\\F", "TMP=C:\\F", "USERNAME=u", "USERPROFILE=C:\\U"}},
      {"TMP and TEMP the folder, whoever defines them; the user's other variables kept",
       {"PELLORY_SETUP_LOG=C:\\l.log", "tmp=C:\\U"},
       {"OS=Windows_NT", "TEMP=C:\\W"},
       {"OS=Windows_NT", "PELLORY_SETUP_LOG=C:\\l.log", "TEMP=C:\\F", "tmp=C:\\F"}},
      {"no machine's: the user's values, but no PATH nor code-loading variable",
       {"ComSpec=C:\\U\\cmd.exe", "COR_PROFILER=1", "Path=C:\\U"},
       {},
       {"ComSpec=C:\\U\\cmd.exe", "TEMP=C:\\F", "TMP=C:\\F"}},
      {"nothing at all", {}, {}, {"TEMP=C:\\F", "TMP=C:\\F"}},
  };
  for (const EnvironmentCase& c : cases)
    EXPECT_EQ(SetupEnvironment(c.own, c.machine, "C:\\F\\"), c.expected) << c.rule;
}
