// Pellory.exe and PelloryCheck.exe started from a folder that also holds DLLs named like
// the system DLLs they load (as a Downloads folder might), with Wine told to prefer a DLL
// found by the search order, as Windows does for every DLL that is not a KnownDLL: the
// installation and the check complete and none of the planted DLLs is ever loaded.
// (Against a program that imports them directly, or that loads them late without the
// start-up guard, they are loaded.)

#include "InstallFixture.h"

#include <vector>

#include "robot/Control.h"

namespace {

// The DLLs that tests/e2e/CMakeLists.txt builds as markers.
const wchar_t* const kPlanted[] = {L"wininet", L"wintrust", L"crypt32", L"userenv"};

std::vector<std::wstring> FilesIn(const std::wstring& folder, const wchar_t* pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

// Wine's own DLL overrides of one program (by its file name). Wine reads the variable
// WINEDLLOVERRIDES from the Unix environment only, which a Windows parent cannot change.
const wchar_t* const kPrograms[] = {L"Pellory.exe", L"PelloryCheck.exe"};
std::wstring OverridesKey(const std::wstring& program) {
  return L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides";
}

}  // namespace

class PlantedDllTest : public InstallScenario {
 protected:
  void SetUp() override {
    ::CreateDirectoryW(m_folder.c_str(), nullptr);
    ::CreateDirectoryW(m_markers.c_str(), nullptr);
    const std::wstring exe = robot::PelloryExePath();
    const std::wstring exeDir = exe.substr(0, exe.find_last_of(L'\\') + 1);
    const std::wstring built = robot::WindowsPathOf(PELLORY_PLANTED_DLL_DIR) + L"\\";
    for (const std::wstring name : kPlanted) {
      ASSERT_TRUE(::CopyFileW((built + name + L".dll").c_str(),
                              (m_folder + L"\\" + name + L".dll").c_str(), FALSE));
    }
    for (const std::wstring program : kPrograms) {
      ASSERT_TRUE(
          ::CopyFileW((exeDir + program).c_str(), (m_folder + L"\\" + program).c_str(), FALSE));
      HKEY overrides = nullptr;
      ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, OverridesKey(program).c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &overrides, nullptr),
                ERROR_SUCCESS);
      // Prefer a DLL found by the search order, as Windows does for all but KnownDLLs.
      const std::wstring order = L"native,builtin";
      for (const std::wstring name : kPlanted) {
        ::RegSetValueExW(overrides, name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(order.c_str()),
                         static_cast<DWORD>((order.size() + 1) * sizeof(wchar_t)));
      }
      ::RegCloseKey(overrides);
    }
    ::SetEnvironmentVariableW(L"PELLORY_PLANTED_MARKERS", m_markers.c_str());

    // A marker DLL that leaves no marker would make the test pass for nothing: load one
    // under a name no system DLL has.
    const std::wstring probe = m_folder + L"\\probe.dll";
    ASSERT_TRUE(::CopyFileW((built + L"wininet.dll").c_str(), probe.c_str(), FALSE));
    HMODULE loaded = ::LoadLibraryW(probe.c_str());
    ASSERT_NE(loaded, nullptr);
    ::FreeLibrary(loaded);
    ASSERT_EQ(FilesIn(m_markers, L"*.loaded"), std::vector<std::wstring>{L"probe.dll.loaded"});
    ::DeleteFileW((m_markers + L"\\probe.dll.loaded").c_str());

    InstallScenario::SetUp();
  }

  void TearDown() override {
    InstallScenario::TearDown();
    for (const std::wstring program : kPrograms)
      ::RegDeleteKeyW(HKEY_CURRENT_USER, OverridesKey(program).c_str());
  }

  std::wstring ProgramPath() const override { return m_folder + L"\\Pellory.exe"; }

  const std::wstring m_folder = OutPath(L"downloads");
  const std::wstring m_markers = OutPath(L"markers");
};

TEST_P(PlantedDllTest, CompleteInstallationLoadsNoDllFromTheProgramsFolder) {
  ServeStandardInstallation();
  WalkToDownloadPage();
  const bool completed = WatchRun().reachedCompletion;
  EXPECT_EQ(FilesIn(m_markers, L"*.loaded"), std::vector<std::wstring>{})
      << "a DLL planted beside Pellory.exe was loaded";
  ASSERT_TRUE(completed) << "a box or a time-out stopped the run";
  EXPECT_EQ(robot::TextOf(Wizard().Control(install_ui::kResultText)),
            install_ui::Text(173) + L"\r\n" + install_ui::Text(170));
  EXPECT_EQ(SetupLogValues(SetupLog(), "| title"),
            (std::vector<std::string>{"corvane", "tessaline"}));
}

// The check fetches the list and both components' files and checks both signatures: the
// three DLLs' first calls.
TEST_P(PlantedDllTest, PelloryCheckLoadsNoDllFromItsFolder) {
  ServeStandardInstallation();
  robot::ChildProcess check;
  ASSERT_TRUE(check.Start(m_folder + L"\\PelloryCheck.exe"));
  ASSERT_TRUE(check.WaitForExit(robot::Duration{60000})) << "PelloryCheck does not end";
  EXPECT_EQ(FilesIn(m_markers, L"*.loaded"), std::vector<std::wstring>{})
      << "a DLL planted beside PelloryCheck.exe was loaded";
  EXPECT_EQ(check.ExitCode(), std::optional<DWORD>(0)) << "the check did not complete";
}

INSTANTIATE_TEST_SUITE_P(Ja, PlantedDllTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });
