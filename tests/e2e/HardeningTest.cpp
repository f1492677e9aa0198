// The local files of a run on the real program: a name that is a device, that an earlier
// file of the run already has, or that is not of its file's kind is never fetched; a link
// planted at a destination is replaced by the download, not written through; and neither
// the user's TEMP nor the user's PATH and code-loading variables, which every program of
// the user can set, take part in the run.

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "InstallFixture.h"
#include "robot/Control.h"
#include "robot/MessageBoxWindow.h"
#include "robot/Wait.h"

using namespace std::chrono_literals;
using install_ui::Text;
using robot::MessageBoxWindow;

namespace {

const std::string kUrlList = "GET /url_list.txt";

struct Names {
  std::string response, setup;
};

// What an entry of the temporary folder is, seen through a handle opened on it.
struct Entry {
  DWORD links = 0;
  std::string finalPath;  // empty when it cannot be opened
};

Entry Inspect(const std::string& path, bool folder = false) {
  Entry entry;
  const HANDLE handle = ::CreateFileA(
      path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, folder ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return entry;
  BY_HANDLE_FILE_INFORMATION info = {};
  if (::GetFileInformationByHandle(handle, &info)) entry.links = info.nNumberOfLinks;
  char finalPath[2 * MAX_PATH] = {};
  const DWORD length =
      ::GetFinalPathNameByHandleA(handle, finalPath, sizeof finalPath, FILE_NAME_NORMALIZED);
  if (length > 0 && length < sizeof finalPath) entry.finalPath.assign(finalPath, length);
  ::CloseHandle(handle);
  return entry;
}

// Puts a marker DLL into `folder` (with its backslash) under the name the test setup
// program loads by name.
bool PlantProbeDll(const std::string& folder) {
  const std::wstring built = robot::WindowsPathOf(PELLORY_PLANTED_DLL_DIR) + L"\\wininet.dll";
  return ::CopyFileA(std::string(built.begin(), built.end()).c_str(),
                     (folder + "pellory-probe.dll").c_str(), FALSE);
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
      names.push_back(found.cFileName);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return names;
}

}  // namespace

class HardeningTest : public InstallScenario {
 protected:
  // Serves both components under these names.
  void ServeNamed(const Names& corvane, const Names& tessaline) {
    NameFiles("corvane", corvane.response, corvane.setup);
    NameFiles("tessaline", tessaline.response, tessaline.setup);
    ServeStandardInstallation();
  }

  // The retry question must come with nothing requested beyond `requested`, Retry must
  // ask again without requesting anything, and Cancel must end the run with 171 before
  // any setup ran.
  void ExpectRefused(const std::vector<std::string>& requested) {
    WalkToDownloadPage();
    for (const int answer : {IDRETRY, IDCANCEL}) {
      const auto box = MessageBoxWindow::Find(Program().Id(), 20s);
      ASSERT_TRUE(box.has_value()) << "no retry question (before answering " << answer << ")";
      EXPECT_EQ(box->Text(), Text(153));
      EXPECT_EQ(box->Buttons(), (std::vector<int>{IDCANCEL, IDRETRY}));
      EXPECT_EQ(RequestLog(), requested) << "before answering " << answer;
      ASSERT_TRUE(box->Answer(answer));
    }
    ASSERT_TRUE(Wizard().WaitForPageWith(install_ui::kResultText, 15s)) << "no completion page";
    EXPECT_EQ(robot::TextOf(Wizard().Control(install_ui::kResultText)), Text(171));
    EXPECT_EQ(RequestLog(), requested) << "the refused file was requested";
    EXPECT_EQ(SetupLog(), "") << "a setup program ran";
  }
};

// The prefix's COM1 is a file of the output folder (tests/support/wine-run): a program
// that opened "COM1.iss" in the temporary folder would write into it.
TEST_P(HardeningTest, ResponseFileNamedCom1IsNeverFetchedNorWrittenToTheDevice) {
  const char* com1 = std::getenv("PELLORY_TEST_COM1");
  ASSERT_NE(com1, nullptr);
  // The name is given in the list alone: written into the server's folder through Wine,
  // the file would go to COM1 too.
  ServeStandardInstallation();
  NameFiles("corvane", "COM1.iss", "corvane-setup.exe");
  ServeUrlList();
  ASSERT_EQ(FileSize(com1), 0) << "COM1 of the prefix does not lead to an empty file: " << com1;
  ExpectRefused({kUrlList});
  EXPECT_EQ(FileSize(com1), 0) << "something was written to COM1";
}

TEST_P(HardeningTest, SecondSetupProgramNamedLikeTheFirstIsNeverFetched) {
  ServeNamed({"corvane.iss", "setup.exe"}, {"tessaline.iss", "setup.exe"});
  ExpectRefused({kUrlList, "GET /components/corvane/corvane.iss",
                 "GET /components/corvane/setup.exe", "GET /components/tessaline/tessaline.iss"});
}

TEST_P(HardeningTest, SecondResponseFileNamedLikeTheFirstButForCaseIsNeverFetched) {
  ServeNamed({"setup.iss", "corvane-setup.exe"}, {"SETUP.ISS", "tessaline-setup.exe"});
  ExpectRefused(
      {kUrlList, "GET /components/corvane/setup.iss", "GET /components/corvane/corvane-setup.exe"});
}

// A "response file" named like a DLL that a setup program loads would lie beside it.
TEST_P(HardeningTest, ResponseFileNamedVersionDllIsNeverFetched) {
  ServeStandardInstallation();
  NameFiles("corvane", "version.dll", "corvane-setup.exe");
  ServeUrlList();
  ExpectRefused({kUrlList});
}

// Links to host files planted under two destination names in the run's folder while the
// list is on its way (Wine lets anyone write there; Windows would not): the run completes,
// the host files keep their bytes, and the names then hold plain files of the folder with
// the served bytes.
TEST_P(HardeningTest, LinksPlantedAtDestinationsAreReplacedNotWrittenThrough) {
  ServeStandardInstallation();
  const long stall = static_cast<long>(robot::Scaled(3s).count() / 1000);
  SetFaults({{"/url_list.txt", R"({"kind": "stall", "arg": )" + std::to_string(stall) + "}"}});
  struct Planted {
    const char* kind;
    std::string name, served;
    DWORD linksBefore;
  };
  const std::vector<Planted> planted = {
      {"symbolic", "corvane-setup.exe", "components/corvane/corvane-setup.exe", 1},
      {"hard", "corvane.iss", "components/corvane/corvane.iss", 2},
  };
  WalkToDownloadPage();
  ASSERT_TRUE(robot::WaitUntil([&] { return !RunFolder().empty(); }, 10s)) << "no run folder";
  const std::string temp = RunFolder();
  const std::string tempFinal = LowerAscii(Inspect(temp, true).finalPath);
  ASSERT_FALSE(tempFinal.empty()) << "the run's folder " << temp << " does not open";
  const auto hostFile = [](const Planted& p) {
    const std::wstring path =
        OutPath(L"host-" + std::wstring(p.kind, p.kind + std::strlen(p.kind)));
    return std::string(path.begin(), path.end());
  };
  const auto hostBytes = [](const Planted& p) {
    return std::string("host file, ") + p.kind + "\n";
  };
  for (const Planted& p : planted) {
    {
      const HANDLE file = ::CreateFileA(hostFile(p).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(file, INVALID_HANDLE_VALUE);
      DWORD written = 0;
      ::WriteFile(file, hostBytes(p).data(), static_cast<DWORD>(hostBytes(p).size()), &written,
                  nullptr);
      ::CloseHandle(file);
    }
    PlantLink(p.kind, hostFile(p), temp + p.name);
    // The plant took: the name leads out of the folder, or to a second name of a file.
    const Entry before = Inspect(temp + p.name);
    EXPECT_EQ(before.links, p.linksBefore) << p.kind;
    EXPECT_EQ(LowerAscii(before.finalPath) == tempFinal + "\\" + LowerAscii(p.name),
              p.linksBefore == 2)
        << p.kind << " link resolves to " << before.finalPath;
  }
  // Before any component's file was asked for; the list's own request may still be on its
  // way when the worker is slow to start it (a loaded machine).
  const std::vector<std::string> requested = RequestLog();
  ASSERT_TRUE(requested.empty() || requested == std::vector<std::string>{kUrlList})
      << "planted too late";

  ASSERT_TRUE(WatchRun().reachedCompletion) << "a box or a time-out stopped the run";
  EXPECT_EQ(robot::TextOf(Wizard().Control(install_ui::kResultText)),
            Text(173) + L"\r\n" + Text(170));
  EXPECT_EQ(SetupLogValues(SetupLog(), "| title"),
            (std::vector<std::string>{"corvane", "tessaline"}));
  for (const Planted& p : planted) {
    // Compared as a whole: a setup program's bytes would flood the report.
    EXPECT_TRUE(ReadBytes(hostFile(p)) == hostBytes(p))
        << "written through the " << p.kind << " link";
    const Entry after = Inspect(temp + p.name);
    EXPECT_EQ(after.links, 1u) << p.name;
    EXPECT_EQ(LowerAscii(after.finalPath), tempFinal + "\\" + LowerAscii(p.name));
    EXPECT_TRUE(ReadBytes(temp + p.name) == ReadBytes(ServedPath(p.served)))
        << p.name << " does not hold the served bytes";
  }
}

// Pellory started with TEMP and TMP pointing at a folder that holds a DLL under a name the
// test setup program loads by name: the setups run elsewhere, load no such DLL, and
// nothing of the run is written to that folder.
class UserTempTest : public HardeningTest {
 protected:
  void SetUp() override {
    ::CreateDirectoryA(m_temp.c_str(), nullptr);
    ASSERT_TRUE(PlantProbeDll(m_temp));
    // The planted DLL loads: a test program started from this folder would record it.
    const HMODULE probe = ::LoadLibraryA((m_temp + "pellory-probe.dll").c_str());
    ASSERT_NE(probe, nullptr);
    ::FreeLibrary(probe);
    char before[MAX_PATH] = {};
    ::GetEnvironmentVariableA("TEMP", before, MAX_PATH);
    m_before = before;
    ::SetEnvironmentVariableA("TEMP", m_temp.c_str());
    ::SetEnvironmentVariableA("TMP", m_temp.c_str());
    HardeningTest::SetUp();  // Pellory starts with them
    ::SetEnvironmentVariableA("TEMP", m_before.c_str());
    ::SetEnvironmentVariableA("TMP", m_before.c_str());
  }

  const std::string m_temp = [] {
    const std::wstring path = OutPath(L"user-temp") + L"\\";
    return std::string(path.begin(), path.end());
  }();
  std::string m_before;
};

TEST_P(UserTempTest, ADllPlantedInTheUsersTempIsNeverLoadedIntoASetup) {
  ServeStandardInstallation();
  WalkToDownloadPage();
  ASSERT_TRUE(WatchRun().reachedCompletion) << "a box or a time-out stopped the run";
  const std::string log = SetupLog();
  EXPECT_EQ(SetupLogValues(log, "| title"), (std::vector<std::string>{"corvane", "tessaline"}));
  EXPECT_EQ(SetupLogValues(log, "probe-dll"), (std::vector<std::string>{"absent", "absent"}))
      << "a setup program loaded the DLL planted in the user's TEMP";
  EXPECT_EQ(FilesIn(m_temp), std::vector<std::string>{"pellory-probe.dll"})
      << "the run wrote into the user's TEMP";
}

INSTANTIATE_TEST_SUITE_P(Ja, UserTempTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });

// Pellory started with what every unelevated program of the user can put into
// HKCU\Environment, and so into the environment Windows gives an elevated program at
// logon: the .NET profiler and startup-hook variables, a compatibility shim, a variable of
// the user's own, and a folder of the user's in PATH that holds a DLL the test setup
// program loads by name. The setups get none of the code-loading variables, the machine's
// PATH only (and so never load that DLL), and the user's own profile and variable.
class UserEnvironmentTest : public HardeningTest {
 protected:
  static constexpr const char* kCodeLoading[] = {
      "COR_ENABLE_PROFILING",  "COR_PROFILER",         "COR_PROFILER_PATH", "CORECLR_PROFILER",
      "CORECLR_PROFILER_PATH", "DOTNET_STARTUP_HOOKS", "__COMPAT_LAYER"};

  void SetUp() override {
    ::CreateDirectoryA(m_bin.c_str(), nullptr);
    ASSERT_TRUE(PlantProbeDll(m_bin + "\\"));
    m_user.assign(std::begin(kCodeLoading), std::end(kCodeLoading));
    m_user.push_back("PELLORY_USER_VARIABLE");
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Environment", 0, KEY_SET_VALUE, &m_key), 0);
    for (const std::string& name : m_user) {
      ::SetEnvironmentVariableA(name.c_str(), "1");
      ::RegSetValueExA(m_key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    }
    // The user's part of PATH, which Windows appends to the machine's.
    ::RegSetValueExA(m_key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_bin.c_str()),
                     static_cast<DWORD>(m_bin.size() + 1));
    char path[32768] = {};
    ::GetEnvironmentVariableA("PATH", path, sizeof path);
    ::SetEnvironmentVariableA("PATH", (std::string(path) + ";" + m_bin).c_str());
    // With that PATH the DLL loads by its bare name, as it would into a setup given it.
    const HMODULE probe = ::LoadLibraryA("pellory-probe.dll");
    ASSERT_NE(probe, nullptr);
    ::FreeLibrary(probe);
    HardeningTest::SetUp();  // Pellory starts with them
    ::SetEnvironmentVariableA("PATH", path);
    for (const std::string& name : m_user) ::SetEnvironmentVariableA(name.c_str(), nullptr);
  }

  void TearDown() override {
    HardeningTest::TearDown();
    m_user.push_back("Path");
    for (const std::string& name : m_user) ::RegDeleteValueA(m_key, name.c_str());
    ::RegCloseKey(m_key);
  }

  const std::string m_bin = [] {
    const std::wstring path = OutPath(L"user-bin");
    return std::string(path.begin(), path.end());
  }();
  std::vector<std::string> m_user;  // the names set in HKCU\Environment
  HKEY m_key = nullptr;
};

TEST_P(UserEnvironmentTest, SetupsGetNoCodeLoadingVariableAndTheMachinesPathOnly) {
  char profile[MAX_PATH] = {};
  ::GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH);
  ServeStandardInstallation("environment=all\r\n");
  WalkToDownloadPage();
  ASSERT_TRUE(WatchRun().reachedCompletion) << "a box or a time-out stopped the run";
  const std::string log = SetupLog();
  EXPECT_EQ(SetupLogValues(log, "| title"), (std::vector<std::string>{"corvane", "tessaline"}));
  EXPECT_EQ(SetupLogValues(log, "probe-dll"), (std::vector<std::string>{"absent", "absent"}))
      << "a setup program loaded the DLL in the user's PATH folder";
  // Windows compares the names without case.
  const std::string lower = LowerAscii(log);
  for (const char* name : kCodeLoading)
    EXPECT_EQ(SetupLogValues(lower, "env " + LowerAscii(name)), std::vector<std::string>{}) << name;
  EXPECT_EQ(SetupLogValues(log, "env PELLORY_USER_VARIABLE"), (std::vector<std::string>{"1", "1"}));
  EXPECT_EQ(SetupLogValues(lower, "env userprofile"),
            std::vector<std::string>(2, LowerAscii(profile)));
  const std::vector<std::string> paths = SetupLogValues(lower, "env path");
  ASSERT_EQ(paths.size(), 2u) << log;
  for (const std::string& path : paths)
    EXPECT_EQ(path.find(LowerAscii(m_bin)), std::string::npos) << path;
}

INSTANTIATE_TEST_SUITE_P(Ja, UserEnvironmentTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Ja, HardeningTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });
