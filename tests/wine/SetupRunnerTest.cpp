// The setup runner with real processes: the test packages log how they were started.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/SetupCommand.h"
#include "engine/SetupRunner.h"
#include "platform/ProcessLauncher.h"
#include "platform/SystemInfo.h"

namespace {

std::string TestVariable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A folder of this machine's file system as Windows sees it (drive Z: is "/").
std::string WindowsPath(std::string unixPath) {
  for (char& c : unixPath)
    if (c == '/') c = '\\';
  return "Z:" + unixPath;
}

std::string Package(const char* name) { return WindowsPath(PELLORY_PACKAGES_DIR) + "\\" + name; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The value of the first line "key=..." of a package's log.
std::string LogField(const std::string& log, const std::string& key) {
  const std::string prefix = key + "=";
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);)
    if (line.compare(0, prefix.size(), prefix) == 0) return line.substr(prefix.size());
  return "<no " + key + ">";
}

bool EndsWithNoCase(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         _stricmp(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

class SetupRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_temp = RunningSystem().TempPath();
    ASSERT_FALSE(m_temp.empty());
    m_folder = m_temp;
    std::string out = TestVariable("PELLORY_TEST_OUT");
    if (out.empty()) out = m_temp;
    m_log = out + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    DeleteFileA(m_log.c_str());
    SetEnvironmentVariableA("PELLORY_SETUP_LOG", m_log.c_str());
  }

  // Puts a package and its response file into `folder` under the given names.
  void Stage(const std::string& folder, const char* package, const std::string& setupName,
             const std::string& responseName, const std::string& response) {
    ASSERT_TRUE(CopyFileA(Package(package).c_str(), (folder + setupName).c_str(), FALSE))
        << Package(package);
    WriteFile(folder + responseName, response);
  }

  bool Run(const std::string& setupName, const std::string& responseName) {
    return StartSetupAndWait(SystemProcessLauncher(), m_folder, setupName, responseName,
                             [this] { ++m_pageShown; });
  }

  std::string m_temp;
  std::string m_folder;  // where the setups are started from
  std::string m_log;
  int m_pageShown = 0;
};

TEST_F(SetupRunnerTest, StartsThePackageWithTheExactCommandLineAndWaits) {
  Stage(m_temp, "setup-valid.exe", "pellory-runner-cvn.exe", "pellory-runner-cvn.iss",
        "[InstallShield Silent]\r\nsleep=500\r\n");
  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(Run("pellory-runner-cvn.exe", "pellory-runner-cvn.iss"));
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(450));

  const std::string log = ReadFile(m_log);
  EXPECT_EQ(LogField(log, "cmdline"),
            BuildSetupCommandLine(m_temp, "pellory-runner-cvn.exe", "pellory-runner-cvn.iss"));
  EXPECT_EQ(LogField(log, "cmdline"),
            m_temp + "pellory-runner-cvn.exe /nodialog /noreboot /nocvn -s -f1\"" + m_temp +
                "pellory-runner-cvn.iss\"");
  EXPECT_EQ(LogField(log, "response"), m_temp + "pellory-runner-cvn.iss");
  // It runs in the folder, with the folder as its TMP and TEMP.
  const std::string folder = m_temp.substr(0, m_temp.size() - 1);
  EXPECT_EQ(LogField(log, "cwd"), folder);
  EXPECT_EQ(LogField(log, "tmp"), folder);
  EXPECT_EQ(LogField(log, "temp"), folder);
  EXPECT_NE(log.find("| [InstallShield Silent]\n| sleep=500\n"), std::string::npos) << log;
  EXPECT_EQ(m_pageShown, 1);
}

TEST_F(SetupRunnerTest, FailureExitCodeStillCountsAsDone) {
  Stage(m_temp, "setup-failing.exe", "pellory-runner-fail.exe", "pellory-runner-fail.iss", "");
  EXPECT_TRUE(Run("pellory-runner-fail.exe", "pellory-runner-fail.iss"));
  EXPECT_EQ(LogField(ReadFile(m_log), "exit"), "1603");
}

TEST_F(SetupRunnerTest, ProgramThatCannotStartIsNotShownNorWaitedFor) {
  WriteFile(m_temp + "pellory-runner-text.exe", "this is no program\r\n");
  for (const char* name : {"pellory-runner-missing.exe", "pellory-runner-text.exe"}) {
    EXPECT_FALSE(Run(name, "pellory-runner.iss")) << name;
  }
  EXPECT_EQ(m_pageShown, 0);
  EXPECT_EQ(GetFileAttributesA(m_log.c_str()), INVALID_FILE_ATTRIBUTES);
}

// An unquoted program path with a blank in it: without the application name, the system
// would first try the path up to the blank ("...\John.exe") as the program.
TEST_F(SetupRunnerTest, BlankInTheTemporaryPathStartsTheRightProgram) {
  const std::string base = m_temp + "pellory-runner-428\\";
  m_folder = base + "John Smith\\";
  CreateDirectoryA(base.c_str(), nullptr);
  CreateDirectoryA(m_folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(Package("setup-valid.exe").c_str(), (base + "John.exe").c_str(), FALSE));
  Stage(m_folder, "setup-valid.exe", "a.exe", "a.iss", "title=real\r\n");

  EXPECT_TRUE(Run("a.exe", "a.iss"));
  const std::string log = ReadFile(m_log);
  EXPECT_TRUE(EndsWithNoCase(LogField(log, "module"), "\\John Smith\\a.exe")) << log;
  EXPECT_EQ(LogField(log, "cmdline"), BuildSetupCommandLine(m_folder, "a.exe", "a.iss"));

  // The same command line without the application name runs the other program.
  DeleteFileA(m_log.c_str());
  std::string commandLine = BuildSetupCommandLine(m_folder, "a.exe", "a.iss");
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &info));
  WaitForSingleObject(info.hProcess, INFINITE);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  EXPECT_TRUE(EndsWithNoCase(LogField(ReadFile(m_log), "module"), "\\John.exe"));
}

}  // namespace
