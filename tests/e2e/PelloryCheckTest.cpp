// PelloryCheck.exe against the test server and the signed packages: a good list, a table
// of faults (each with the code Pellory's client gives and its sentence), and the mirror,
// which a real Pellory installs from through nginx (started by tests/support/with-nginx).

#include <windows.h>
// After windows.h:
#include <wininet.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "InstallFixture.h"
#include "robot/Control.h"
#include "robot/Image.h"

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::string ExeDir() {
  const std::string exe = Narrow(robot::PelloryExePath());
  return exe.substr(0, exe.find_last_of('\\'));
}

struct CheckRun {
  DWORD exitCode = ~DWORD{0};
  std::string output;
  // The JSON line of one list entry ("" when there is none).
  std::string Entry(const std::string& key) const {
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("{\"key\":\"" + key + "\"", 0) == 0) return line;
    }
    return "";
  }
};

// Runs PelloryCheck.exe with `arguments`, its output into a file of the test's folder.
CheckRun RunPelloryCheck(const std::string& arguments) {
  CheckRun run;
  // A file per run: a console host that Wine starts for the child may keep its handle.
  static int runs = 0;
  const std::string outPath =
      Narrow(robot::TestOutputPath(L"check-output-" + std::to_wstring(++runs) + L".txt"));
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(out, INVALID_HANDLE_VALUE);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = out;
  PROCESS_INFORMATION info{};
  const std::string exe = ExeDir() + "\\PelloryCheck.exe";
  std::string commandLine = "\"" + exe + "\" " + arguments;
  if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &info)) {
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 120000), WAIT_OBJECT_0);
    GetExitCodeProcess(info.hProcess, &run.exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  CloseHandle(out);
  std::ifstream in(outPath, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  run.output = text.str();
  return run;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The test server's folder: components under /c/, the list at /url_list.txt.
class CheckServer {
 public:
  CheckServer() {
    CreateDirectoryA((Root() + "\\c").c_str(), nullptr);
    Serve("corvane-setup.exe", "setup-valid.exe");
    Serve("tessaline-setup.exe", "setup-valid.exe");
    WriteFile(Root() + "\\c\\corvane.iss", "[InstallShield Silent]\r\n");
    WriteFile(Root() + "\\c\\tessaline.iss", "[InstallShield Silent]\r\n");
    for (const char* key : {"CVN_ISS", "CVN_EXE", "TSL_ISS", "TSL_EXE"}) {
      const std::string k = key;
      const std::string name = (k[0] == 'C' ? "corvane" : "tessaline") +
                               std::string(k.substr(4) == "ISS" ? ".iss" : "-setup.exe");
      m_urls.push_back({k, Url("/c/" + name)});
    }
  }
  static std::string Root() { return Env("PELLORY_TEST_WWW"); }
  static std::string Url(const std::string& path) {
    return "http://" + Env("PELLORY_TEST_SERVER") + path;
  }
  static void Serve(const std::string& name, const std::string& package) {
    EXPECT_TRUE(CopyFileA((ExeDir() + "\\packages\\" + package).c_str(),
                          (Root() + "\\c\\" + name).c_str(), FALSE));
  }
  void SetUrl(const std::string& key, const std::string& url) {
    for (auto& entry : m_urls)
      if (entry.first == key) entry.second = url;
  }
  // Writes the list, with an unknown key and LF and CR LF line ends to keep.
  std::string PublishList() const {
    std::string list = "# mirror me\n";
    for (const auto& [key, url] : m_urls) list += key + "," + url + "\r\n";
    WriteFile(Root() + "\\url_list.txt", list + "EXTRA_KEY,kept\n");
    return Url("/url_list.txt");
  }

 private:
  std::vector<std::pair<std::string, std::string>> m_urls;
};

#define REQUIRE_SERVER() \
  if (Env("PELLORY_TEST_SERVER").empty()) GTEST_SKIP() << "no test server"

}  // namespace

// On the Japanese system, where Pellory fetches Corvane and Tessaline.
class JaPelloryCheckTest : public testing::Test {};

TEST_F(JaPelloryCheckTest, GoodListPassesAndNamesEveryFileAndSigner) {
  REQUIRE_SERVER();
  const CheckServer server;
  const CheckRun run = RunPelloryCheck("--json " + server.PublishList());
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_NE(run.output.find("\"complete\":true"), std::string::npos);
  EXPECT_NE(run.output.find("\"components\":[\"Corvane\",\"Tessaline\"]"), std::string::npos);
  for (const char* name :
       {"corvane.iss", "corvane-setup.exe", "tessaline.iss", "tessaline-setup.exe"}) {
    const std::string key = std::string(name[0] == 'c' ? "CVN_" : "TSL_") +
                            (std::string(name).find(".iss") != std::string::npos ? "ISS" : "EXE");
    const std::string entry = run.Entry(key);
    EXPECT_NE(
        entry.find("\"localName\":\"" + std::string(name) + "\",\"fetched\":true,\"ok\":true"),
        std::string::npos)
        << entry;
    EXPECT_NE(entry.find("\\\\PelloryCheck\\\\" + std::string(name)), std::string::npos)
        << "not in the tool's own folder: " << entry;
    if (key.substr(4) == "EXE") {
      EXPECT_NE(entry.find("\"signer\":\"Morvane Corporation\",\"requiredSigner\":true"),
                std::string::npos)
          << entry;
    }
  }
  EXPECT_NE(run.Entry("PM_EXE").find("\"fetched\":false"), std::string::npos);
}

TEST_F(JaPelloryCheckTest, EachFaultShowsPellorysCodeAndItsSentence) {
  REQUIRE_SERVER();
  struct Fault {
    const char* name;
    const char* key;
    std::string url;       // "" keeps the entry's URL
    const char* package;   // served as that key's setup program, or null
    const char* faults;    // _faults.json, or null
    const char* expected;  // a part of the entry's JSON line
    const char* sentence;
  };
  const std::string longUrl = CheckServer::Url("/c/");
  const Fault faults[] = {
      {"404", "CVN_ISS", CheckServer::Url("/c/missing.iss"), nullptr, nullptr,
       "\"transfer\":{\"code\":304000,", "error status (400 or above"},
      {"no Content-Length", "CVN_ISS", "", nullptr, R"({"/c/corvane.iss": {"kind": "chunked"}})",
       "\"transfer\":{\"code\":305000,",
       "no Content-Length (a chunked or compressed response); serve the file as a static file"},
      {"short body", "TSL_ISS", "", nullptr,
       R"({"/c/tessaline.iss": {"kind": "short-close", "arg": 5}})",
       "\"transfer\":{\"code\":309000,", "short of its Content-Length"},
      {"https", "CVN_EXE", "https://" + Env("PELLORY_TEST_SERVER") + "/c/corvane-setup.exe",
       nullptr, nullptr, "\"transfer\":{\"code\":200000,\"startCode\":110000,",
       "the scheme is not http"},
      {"foreign signer", "CVN_EXE", "", "setup-other.exe", nullptr,
       "\"signer\":\"Other Corporation\",\"requiredSigner\":false", "the signer is not exactly"},
      {"tampered", "TSL_EXE", "", "setup-tampered.exe", nullptr, "\"signature\":{\"code\":201,",
       "changed after it was signed"},
      {"device name", "CVN_ISS", CheckServer::Url("/c/COM1.iss"), nullptr, nullptr,
       "\"transfer\":{\"code\":200500,", "is a device name"},
      {"collision", "TSL_ISS", CheckServer::Url("/c/Corvane.iss"), nullptr, nullptr,
       "{\"rule\":\"collision\",\"ok\":false", "the same local file as CVN_ISS"},
      {"512-byte URL", "CVN_ISS", longUrl + std::string(512 - longUrl.size(), 'u'), nullptr,
       nullptr, "\"transfer\":{\"code\":200000,\"startCode\":102000,", "512 bytes or longer"},
  };
  for (const Fault& fault : faults) {
    CheckServer server;
    if (!fault.url.empty()) server.SetUrl(fault.key, fault.url);
    if (fault.package) {
      CheckServer::Serve(
          std::string(fault.key) == "CVN_EXE" ? "corvane-setup.exe" : "tessaline-setup.exe",
          fault.package);
    }
    WriteFile(CheckServer::Root() + "\\_faults.json", fault.faults ? fault.faults : "{}");
    const CheckRun run = RunPelloryCheck("--json " + server.PublishList());
    const std::string entry = run.Entry(fault.key);
    EXPECT_EQ(run.exitCode, 1u) << fault.name;
    EXPECT_NE(entry.find(fault.expected), std::string::npos) << fault.name << ": " << entry;
    EXPECT_NE(entry.find(fault.sentence), std::string::npos) << fault.name << ": " << entry;
    EXPECT_NE(run.output.find("\"summary\":\"Pellory would NOT complete"), std::string::npos)
        << fault.name;
  }
}

TEST_F(JaPelloryCheckTest, MirrorOfARejectedSetupProgramIsRefusedAndWritesNothing) {
  REQUIRE_SERVER();
  const CheckServer server;
  CheckServer::Serve("tessaline-setup.exe", "setup-unsigned.exe");
  const std::string folder = Narrow(robot::TestOutputPath(L"refused-mirror"));
  const CheckRun run = RunPelloryCheck("mirror \"" + folder + "\" --base-url http://mirror.test/ " +
                                       "--from " + server.PublishList());
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_NE(run.output.find("TSL_EXE: signature: 201"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Nothing was written"), std::string::npos) << run.output;
  EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(PelloryCheckUsageTest, UnknownArgumentIsAUsageError) {
  EXPECT_EQ(RunPelloryCheck("--frobnicate").exitCode, 2u);
  EXPECT_EQ(RunPelloryCheck("mirror only-a-folder").exitCode, 2u);
}

// The mirror served by nginx: Pellory, pointed at it, installs from it alone.
class CheckMirrorTest : public InstallScenario {};

TEST_P(CheckMirrorTest, PelloryInstallsFromTheMirrorServedByNginx) {
  const std::string mirrorServer = Env("PELLORY_MIRROR_SERVER");
  if (mirrorServer.empty()) GTEST_SKIP() << "run through tests/support/with-nginx";
  ServeStandardInstallation();  // the override points PelloryCheck at the test server
  const std::string folder = Env("PELLORY_MIRROR_ROOT");
  const std::string base = "http://" + mirrorServer + "/pellory/";
  const CheckRun run = RunPelloryCheck("mirror \"" + folder + "\\pellory\" --base-url " + base);
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_NE(run.output.find("reg add \"HKLM\\SOFTWARE\\Morvane Corporation\\Pellory\" /v \"URL "
                            "List\" /t REG_SZ /d \"" +
                            base + "url_list.txt\" /f /reg:32"),
            std::string::npos)
      << run.output;
  const size_t originRequests = RequestLog().size();

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Morvane Corporation\\Pellory", 0,
                          KEY_SET_VALUE | KEY_WOW64_64KEY, &key),
            ERROR_SUCCESS);
  const std::string listUrl = base + "url_list.txt";
  RegSetValueExA(key, "URL List", 0, REG_SZ, reinterpret_cast<const BYTE*>(listUrl.c_str()),
                 static_cast<DWORD>(listUrl.size() + 1));
  RegCloseKey(key);

  WalkToDownloadPage();
  ASSERT_TRUE(WatchRun().reachedCompletion) << "a box or a time-out stopped the run";
  EXPECT_EQ(robot::TextOf(Wizard().Control(install_ui::kResultText)),
            install_ui::Text(173) + L"\r\n" + install_ui::Text(170));
  EXPECT_EQ(SetupLogValues(SetupLog(), "| title"),
            (std::vector<std::string>{"corvane", "tessaline"}));
  EXPECT_EQ(RequestLog().size(), originRequests) << "Pellory went to the origin";
}

INSTANTIATE_TEST_SUITE_P(Ja, CheckMirrorTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });

// Behind squid: the prefix's proxy settings lead both programs through it, and both get
// the origin's current bytes where squid holds an older copy.
class CheckProxyTest : public InstallScenario {
 protected:
  static constexpr const char* kInternetSettings =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  void UseProxy(const std::string& server) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD enable = server.empty() ? 0 : 1;
    RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable),
                   sizeof enable);
    RegSetValueExA(key, "ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                   static_cast<DWORD>(server.size() + 1));
    RegCloseKey(key);
  }
  void TearDown() override {
    UseProxy("");
    InstallScenario::TearDown();
  }
  // Through the prefix's proxy, without asking for the origin (squid may answer itself).
  static std::string FetchThroughProxy(const std::string& url) {
    HINTERNET session = InternetOpenA("probe", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    HINTERNET request = InternetOpenUrlA(session, url.c_str(), nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    std::string body;
    char buffer[4096];
    DWORD read = 0;
    while (request && InternetReadFile(request, buffer, sizeof buffer, &read) && read > 0) {
      body.append(buffer, read);
    }
    if (request) InternetCloseHandle(request);
    InternetCloseHandle(session);
    return body;
  }
  static std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
};

TEST_P(CheckProxyTest, BothProgramsGoThroughTheProxyToTheOrigin) {
  const std::string proxy = Env("PELLORY_PROXY_SERVER");
  if (proxy.empty()) GTEST_SKIP() << "run through tests/support/with-squid";
  ServeStandardInstallation("marker=old\r\n");
  UseProxy(proxy);
  const std::string iss =
      "http://" + Env("PELLORY_TEST_SERVER") + "/components/corvane/corvane.iss";
  EXPECT_NE(FetchThroughProxy(iss).find("marker=old"), std::string::npos);
  ServeComponent("corvane", "setup-valid.exe", "marker=new\r\n");
  ASSERT_NE(FetchThroughProxy(iss).find("marker=old"), std::string::npos) << "squid keeps no copy";

  const CheckRun run = RunPelloryCheck("--json");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_NE(run.Entry("CVN_ISS").find("\"proxy\":\"" + proxy), std::string::npos)
      << run.Entry("CVN_ISS");
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(sizeof temp, temp);
  EXPECT_NE(ReadAll(std::string(temp) + "PelloryCheck\\corvane.iss").find("marker=new"),
            std::string::npos);

  ServeComponent("corvane", "setup-valid.exe", "marker=newer\r\n");
  WalkToDownloadPage();
  ASSERT_TRUE(WatchRun().reachedCompletion) << "a box or a time-out stopped the run";
  EXPECT_EQ(robot::TextOf(Wizard().Control(install_ui::kResultText)),
            install_ui::Text(173) + L"\r\n" + install_ui::Text(170));
  EXPECT_NE(SetupLog().find("| marker=newer"), std::string::npos) << SetupLog();
  EXPECT_NE(ReadAll(Env("PELLORY_PROXY_LOG")).find("/components/tessaline/tessaline-setup.exe"),
            std::string::npos)
      << "Pellory did not go through the proxy";
}

INSTANTIATE_TEST_SUITE_P(Ja, CheckProxyTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });
