#include "InstallFixture.h"

#include <commctrl.h>
#include <wininet.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "robot/Control.h"
#include "robot/Image.h"
#include "robot/MessageBoxWindow.h"

namespace install_ui {

std::wstring Text(int stringId) {
  static const std::map<int, std::wstring> texts = {
      {142, L"ソフトウェアをダウンロードしています。 (%d/%d)"},
      {143, L"ソフトウェアをインストールしています。 (%d/%d)"},
      {153,
       L"ソフトウェアのダウンロードに失敗しました。継続するにはネットワーク接続を確認して「再試行」"
       L"ボタンを押してください。後でソフトウェアをインストールするには「キャンセル」ボタンを押して"
       L"ください。"},
      {168,
       L"ソフトウェアのインストールに失敗しました。Pelloryを再度起動して、インストールを再試行して"
       L"ください。"},
      {169, L"終了しますか？"},
      {170, L"ソフトウェアを使用する前にコンピューターを再起動する必要があります。"},
      {171, L"ソフトウェアのダウンロードに失敗しました。"},
      {172, L"ソフトウェアのインストールに失敗しました。"},
      {173, L"ソフトウェアのインストールが完了しました。"},
      {174, L"はい、今すぐコンピューターを再起動します。"},
      {175, L"いいえ、後でコンピューターを再起動します。"},
      {178,
       L"古いバージョンのソフトウェア(Quoddy基本ソフトウェア)がインストールされているため、"
       L"Corvaneをインストールできませんでした。一旦アンインストールしてから、再度手動でPelloryを"
       L"起動してください。"},
  };
  const auto found = texts.find(stringId);
  return found == texts.end() ? std::wstring() : found->second;
}

std::wstring Progress(int stringId, int index, int total) {
  wchar_t buffer[256];
  std::swprintf(buffer, 256, Text(stringId).c_str(), index, total);
  return buffer;
}

}  // namespace install_ui

namespace {

constexpr const char* kPelloryKey = "SOFTWARE\\Morvane Corporation\\Pellory";
// "Quoddy 基本ソフトウェア" with its Japanese part in Shift-JIS, as the ANSI registry
// functions of a Japanese system take it.
constexpr const char* kOldSoftwareKey =
    "SOFTWARE\\Morvane Corporation\\Quoddy "
    "\x8A\xEE\x96\x7B\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41";
// The robot is built for the architecture of the program under test, so its own registry
// view is the one the program reads.
constexpr REGSAM kView = 0;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::string WwwRoot() { return Env("PELLORY_TEST_WWW"); }

// The signed test packages of this test tree (the program under test may be another tree's).
std::string PackagesDir() { return Narrow(robot::WindowsPathOf(PELLORY_PACKAGES_DIR)); }

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// Where Pellory makes its working folders: the Windows folder's Temp, with its backslash.
std::string WindowsTemp() {
  char windows[MAX_PATH] = {};
  ::GetSystemWindowsDirectoryA(windows, MAX_PATH);
  return std::string(windows) + "\\Temp\\";
}

}  // namespace

std::wstring InstallScenario::OutPath(const std::wstring& name) {
  return robot::TestOutputPath(name);
}

void InstallScenario::TearDown() {
  HKEY key = nullptr;
  if (m_overrideSet && ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPelloryKey, 0, KEY_SET_VALUE | kView,
                                       &key) == ERROR_SUCCESS) {
    ::RegDeleteValueA(key, "URL List");
    ::RegCloseKey(key);
  }
  if (m_oldSoftwareSet) ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kOldSoftwareKey);
  PelloryScenario::TearDown();
}

void InstallScenario::NameFiles(const std::string& component, const std::string& responseName,
                                const std::string& setupName) {
  m_names[component] = {responseName, setupName};
}

InstallScenario::FileNames InstallScenario::NamesOf(const std::string& component) const {
  const auto named = m_names.find(component);
  return named != m_names.end() ? named->second
                                : FileNames{component + ".iss", component + "-setup.exe"};
}

void InstallScenario::ServeComponent(const std::string& component, const std::string& package,
                                     const std::string& responseExtra) {
  const std::string folder = WwwRoot() + "\\components\\" + component;
  const FileNames names = NamesOf(component);
  ::CreateDirectoryA((WwwRoot() + "\\components").c_str(), nullptr);
  ::CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileA((PackagesDir() + "\\" + package).c_str(),
                          (folder + "\\" + names.setup).c_str(), FALSE))
      << "cannot serve " << package << " from " << PackagesDir();
  WriteFile(folder + "\\" + names.response,
            "[InstallShield Silent]\r\nVersion=v7.00\r\nFile=Response File\r\ntitle=" + component +
                "\r\nlog=" + Narrow(OutPath(L"setup.log")) + "\r\n" + responseExtra);
}

void InstallScenario::ServeUrlList() {
  const std::string base = "http://" + Env("PELLORY_TEST_SERVER") + "/components/";
  std::string list;
  for (const auto& [key, name] : std::vector<std::pair<std::string, std::string>>{
           {"CVN", "corvane"}, {"PM", "pelmora"}, {"TSL", "tessaline"}}) {
    const FileNames names = NamesOf(name);
    list += key + "_ISS," + base + name + "/" + names.response + "\r\n";
    list += key + "_EXE," + base + name + "/" + names.setup + "\r\n";
  }
  WriteFile(WwwRoot() + "\\" + m_listName, list);
}

void InstallScenario::SetFaults(
    const std::vector<std::pair<std::string, std::string>>& pathAndFaultJson) {
  std::string json = "{";
  for (const auto& [path, fault] : pathAndFaultJson) {
    if (json.size() > 1) json += ", ";
    json += "\"" + path + "\": " + fault;
  }
  WriteFile(WwwRoot() + "\\_faults.json", json + "}");
}

std::vector<std::string> InstallScenario::RequestLog() {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(Narrow(OutPath(L"requests.log"))));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::string InstallScenario::SetupLog() const { return ReadFile(Narrow(OutPath(L"setup.log"))); }

std::string InstallScenario::ServedPath(const std::string& relative) {
  std::string path = WwwRoot() + "\\" + relative;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

namespace {

// The host's path of a Windows path, as Wine maps it.
std::string UnixPath(const std::string& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (unixName == nullptr) return "";
  const std::wstring wide(path.begin(), path.end());
  char* name = unixName(wide.c_str());
  if (name == nullptr) return "";
  std::string result(name);
  ::HeapFree(::GetProcessHeap(), 0, name);
  return result;
}

std::string QueryEscaped(const std::string& text) {
  std::string escaped;
  for (const unsigned char c : text) {
    if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_') {
      escaped.push_back(static_cast<char>(c));
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      escaped += hex;
    }
  }
  return escaped;
}

// Status code of a GET to the test server; 0 without an answer.
DWORD Get(const std::string& url) {
  DWORD status = 0;
  HINTERNET session = ::InternetOpenA("e2e", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (session == nullptr) return 0;
  HINTERNET request = ::InternetOpenUrlA(session, url.c_str(), nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  if (request != nullptr) {
    DWORD size = sizeof status;
    ::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                     nullptr);
    ::InternetCloseHandle(request);
  }
  ::InternetCloseHandle(session);
  return status;
}

}  // namespace

void InstallScenario::PlantLink(const std::string& kind, const std::string& target,
                                const std::string& link) {
  const std::string unixTarget = UnixPath(target), unixLink = UnixPath(link);
  ASSERT_FALSE(unixTarget.empty() || unixLink.empty()) << "no host path for " << link;
  EXPECT_EQ(Get("http://" + Env("PELLORY_TEST_SERVER") + "/_control/link?kind=" + kind +
                "&target=" + QueryEscaped(unixTarget) + "&link=" + QueryEscaped(unixLink)),
            200u)
      << "the server planted no " << kind << " link at " << unixLink;
}

void InstallScenario::OverrideUrlList(const std::string& given) {
  const std::string url =
      given.empty() ? "http://" + Env("PELLORY_TEST_SERVER") + "/" + m_listName : given;
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPelloryKey, 0, nullptr, 0, KEY_SET_VALUE | kView,
                              nullptr, &key, nullptr),
            ERROR_SUCCESS);
  m_overrideSet = true;
  EXPECT_EQ(::RegSetValueExA(key, "URL List", 0, REG_SZ, reinterpret_cast<const BYTE*>(url.c_str()),
                             static_cast<DWORD>(url.size() + 1)),
            ERROR_SUCCESS);
  ::RegCloseKey(key);
}

void InstallScenario::SetOldSoftwareVersion(const char* version) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOldSoftwareKey, 0, nullptr, 0,
                              KEY_SET_VALUE | kView, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  m_oldSoftwareSet = true;
  EXPECT_EQ(
      ::RegSetValueExA(key, "CurrentVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                       static_cast<DWORD>(std::strlen(version) + 1)),
      ERROR_SUCCESS);
  ::RegCloseKey(key);
}

void InstallScenario::ServeStandardInstallation(const std::string& responseExtra) {
  ServeComponent("corvane", "setup-valid.exe", responseExtra);
  ServeComponent("tessaline", "setup-valid.exe", responseExtra);
  ServeUrlList();
  OverrideUrlList();
}

void InstallScenario::WalkToDownloadPage() {
  ASSERT_TRUE(Wizard().WaitForPageWith(1005));
  ASSERT_TRUE(Wizard().Click(1005));
  ASSERT_TRUE(Wizard().WaitForPageWith(1008)) << "no agreement page";
  ASSERT_TRUE(Wizard().Click(install_ui::kAgreeButton));
  // Next may look enabled before the activation's posted button states arrive and disable
  // it again until the agreement's own arrive; a slow (emulated) sheet shows that gap. So
  // the robot clicks as soon as Next is operable, and tries again if it was not.
  ASSERT_TRUE(robot::WaitUntil([&] { return Wizard().ClickButton(robot::kNext); }));
  ASSERT_TRUE(Wizard().WaitForPageWith(install_ui::kProgressBar)) << "no download page";
}

RunObservation InstallScenario::WatchRun(robot::Duration timeout, bool screenshots) {
  RunObservation seen;
  bool downloadShot = false, installShot = false;
  robot::WaitUntil(
      [&] {
        if (!robot::MessageBoxWindow::All(Program().Id()).empty()) return true;
        HWND page = Wizard().CurrentPage();
        if (robot::Child(page, install_ui::kResultText) != nullptr) {
          seen.reachedCompletion = true;
          return true;
        }
        const std::wstring status = robot::TextOf(robot::Child(page, install_ui::kStatusText));
        if (status.empty()) return false;  // the list is still being fetched
        if (seen.statusTexts.empty() || seen.statusTexts.back() != status) {
          seen.statusTexts.push_back(status);
        }
        const bool marquee =
            (robot::StyleOf(robot::Child(page, install_ui::kProgressBar)) & PBS_MARQUEE) != 0;
        if (marquee) seen.marqueeTexts.insert(status);
        if (robot::IsEnabled(Wizard().Button(robot::kCancel)))
          seen.cancelEnabledTexts.insert(status);
        bool buttonOperable = false;
        for (int id : {robot::kBack, robot::kNext, robot::kFinish}) {
          buttonOperable = buttonOperable || robot::IsOperable(Wizard().Button(id));
        }
        // The run may have ended between the looks: the completion page's Finish is no
        // button of the download page. A slow (emulated) run falls into that gap.
        if (buttonOperable && Wizard().CurrentPage() == page) seen.wizardButtonEnabled = true;
        if (screenshots && marquee && !installShot) {
          SaveScreenshot(Wizard().Handle(), L"installing");
          installShot = true;
        } else if (screenshots && !marquee && !downloadShot &&
                   status.rfind(install_ui::Text(142).substr(0, 10), 0) == 0) {
          SaveScreenshot(Wizard().Handle(), L"downloading");
          downloadShot = true;
        }
        return false;
      },
      timeout);
  return seen;
}

std::set<std::string> InstallScenario::RunFolders() {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = ::FindFirstFileA((WindowsTemp() + "Pellory.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) names.insert(found.cFileName);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return names;
}

std::string InstallScenario::RunFolder() const {
  std::string made;
  for (const std::string& name : RunFolders()) {
    if (m_foldersBefore.count(name) != 0) continue;
    if (!made.empty()) return "";  // more than one: none is the run's for sure
    made = WindowsTemp() + name + "\\";
  }
  return made;
}

std::string InstallScenario::SetupCommandLine(const std::string& component) const {
  const std::string folder = RunFolder();
  return folder + component + "-setup.exe /nodialog /noreboot /nocvn -s -f1\"" + folder +
         component + ".iss\"";
}

std::string InstallScenario::DownloadedSetupPath(const std::string& component) const {
  return RunFolder() + component + "-setup.exe";
}

long long InstallScenario::PackageSize(const std::string& package) {
  return FileSize(PackagesDir() + "\\" + package);
}

long long InstallScenario::FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string InstallScenario::ReadBytes(const std::string& path) { return ReadFile(path); }

std::string ExeBesidePellory(const std::string& exeName) {
  const std::string pellory = Narrow(robot::PelloryExePath());
  return pellory.substr(0, pellory.find_last_of('\\') + 1) + exeName;
}

namespace {

struct WindowWatch {
  DWORD processId;
  std::vector<std::string>* shown;
};

// A named CALLBACK: a lambda has the default calling convention, which on i686 is not
// EnumWindows' stdcall.
BOOL CALLBACK NoteShownWindow(HWND window, LPARAM watch) {
  const auto& [processId, shown] = *reinterpret_cast<WindowWatch*>(watch);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  char name[256] = {};
  if (owner == processId && ::IsWindowVisible(window) && ::GetClassNameA(window, name, 256) &&
      std::find(shown->begin(), shown->end(), name) == shown->end())
    shown->push_back(name);
  return TRUE;
}

}  // namespace

ConsoleRun RunBesidePellory(const std::string& exeName, const std::string& arguments) {
  static int runs = 0;
  const std::string outPath =
      Narrow(robot::TestOutputPath(L"console-output-" + std::to_wstring(++runs) + L".txt"));
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = ::CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = out;
  PROCESS_INFORMATION info{};
  const std::string exe = ExeBesidePellory(exeName);
  std::string commandLine = "\"" + exe + "\" " + arguments;
  ConsoleRun run;
  if (::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &info)) {
    WindowWatch watch{info.dwProcessId, &run.shownWindows};
    EXPECT_TRUE(robot::WaitUntil(
        [&] {
          ::EnumWindows(NoteShownWindow, reinterpret_cast<LPARAM>(&watch));
          return ::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0;
        },
        robot::Duration{120000}))
        << exeName << " " << arguments << " did not end";
    ::TerminateProcess(info.hProcess, 1);  // if it is still running
    ::GetExitCodeProcess(info.hProcess, &run.exitCode);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
  } else {
    ADD_FAILURE() << "cannot start " << exe << " (error " << ::GetLastError() << ")";
  }
  ::CloseHandle(out);
  run.output = ReadFile(outPath);
  return run;
}

std::vector<std::string> SetupLogValues(const std::string& log, const std::string& key) {
  std::vector<std::string> values;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(key + "=", 0) == 0) values.push_back(line.substr(key.size() + 1));
  }
  return values;
}

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}
