// Each program started beside its own name with ".local" added (which anyone may make in a
// Downloads folder, and which would redirect the common controls that the manifest asks
// for) ends by itself at once with exit status 1: no window and no box, either of which
// would wait for the robot, and nothing requested from the server the override names.

#include "InstallFixture.h"

class DotLocalTest : public InstallScenario {
 protected:
  // The test starts the programs itself.
  void SetUp() override {
    ASSERT_EQ(GetSystemDefaultLangID(), GetParam().languageId);
    ::CreateDirectoryW(m_folder.c_str(), nullptr);
  }

  const std::wstring m_folder = OutPath(L"downloads");
};

TEST_P(DotLocalTest, EachProgramBesideItsDotLocalNameEndsAtOnceAndRequestsNothing) {
  ServeStandardInstallation();
  const std::wstring exe = robot::PelloryExePath();
  const std::wstring exeDir = exe.substr(0, exe.find_last_of(L'\\') + 1);
  const struct {
    const wchar_t* program;
    bool asFolder;
  } cases[] = {{L"Pellory.exe", true}, {L"PelloryCheck.exe", false}, {L"PelloryDeploy.exe", true}};
  for (const auto& c : cases) {
    const std::wstring copy = m_folder + L"\\" + c.program;
    ASSERT_TRUE(::CopyFileW((exeDir + c.program).c_str(), copy.c_str(), FALSE));
    const std::wstring local = copy + L".local";
    if (c.asFolder) {
      ASSERT_TRUE(::CreateDirectoryW(local.c_str(), nullptr));
    } else {
      const HANDLE file = ::CreateFileW(local.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(file, INVALID_HANDLE_VALUE);
      ::CloseHandle(file);
    }
    robot::ChildProcess program;
    ASSERT_TRUE(program.Start(copy));
    EXPECT_TRUE(program.WaitForExit()) << "it waits for something";
    EXPECT_EQ(program.ExitCode(), std::optional<DWORD>(1));
  }
  EXPECT_EQ(RequestLog(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Ja, DotLocalTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });
