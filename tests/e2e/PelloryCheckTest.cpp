// PelloryCheck.exe against the test server and the signed packages: a good list, a table
// of faults (each with the code Pellory's client gives and its sentence), the mirror that
// a real Pellory installs from through nginx, and both programs behind squid
// (tests/support/with-nginx and with-squid start those two).

#include <windows.h>
// After windows.h:
#include <wincrypt.h>
#include <wininet.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "InstallFixture.h"
#include "robot/Control.h"
#include "robot/Image.h"
#include "robot/MessageBoxWindow.h"

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::string ReadAll(const std::string& path) {
  std::stringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// The SHA-256 of bytes in lower-case hex, by the platform's own code.
std::string Sha256Hex(const std::string& bytes) {
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  BYTE digest[32] = {};
  DWORD size = sizeof digest;
  const bool done =
      CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
      CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash) &&
      CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()),
                    static_cast<DWORD>(bytes.size()), 0) &&
      CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0);
  if (hash) CryptDestroyHash(hash);
  if (provider) CryptReleaseContext(provider, 0);
  std::string hex;
  for (const BYTE byte : digest)
    hex += "0123456789abcdef"[byte >> 4], hex += "0123456789abcdef"[byte & 15];
  return done ? hex : "";
}

// This test tree's signed packages (the programs under test may be another tree's).
std::string PackagesDir() { return Narrow(robot::WindowsPathOf(PELLORY_PACKAGES_DIR)); }

struct CheckRun : ConsoleRun {
  // The JSON line of one list entry ("" when there is none).
  std::string Entry(const std::string& key) const {
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
      if (line.rfind("{\"key\":\"" + key + "\"", 0) == 0) return line;
    return "";
  }
  // A string field of a JSON text, its backslashes unescaped ("" when there is none).
  static std::string Text(const std::string& json, const std::string& field) {
    const size_t start = json.find("\"" + field + "\":\"");
    std::string text;
    for (size_t at = start + field.size() + 4; start != std::string::npos && json[at] != '"'; ++at)
      text += json[at += json[at] == '\\'];
    return text;
  }
};

CheckRun RunPelloryCheck(const std::string& arguments) {
  return {RunBesidePellory("PelloryCheck.exe", arguments)};
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const std::map<std::string, std::string> kFiles = {{"CVN_ISS", "corvane.iss"},
                                                   {"CVN_EXE", "corvane-setup.exe"},
                                                   {"TSL_ISS", "tessaline.iss"},
                                                   {"TSL_EXE", "tessaline-setup.exe"}};

// The test server's folder: the four files under /c/, the list at /url_list.txt.
class CheckServer {
 public:
  CheckServer() {
    CreateDirectoryA((Root() + "\\c").c_str(), nullptr);
    for (const auto& [key, name] : kFiles) {
      if (key.substr(4) == "EXE") Serve(key, "setup-valid.exe");
      if (key.substr(4) == "ISS") WriteFile(Root() + "\\c\\" + name, "[InstallShield Silent]\r\n");
      m_urls[key] = Url("/c/" + name);
    }
  }
  static std::string Root() { return Env("PELLORY_TEST_WWW"); }
  static std::string Url(const std::string& path) {
    return "http://" + Env("PELLORY_TEST_SERVER") + path;
  }
  static void Serve(const std::string& key, const std::string& package) {
    EXPECT_TRUE(CopyFileA((PackagesDir() + "\\" + package).c_str(),
                          (Root() + "\\c\\" + kFiles.at(key)).c_str(), FALSE));
  }
  void SetUrl(const std::string& key, const std::string& url) { m_urls[key] = url; }
  // Writes the list, with an unknown key and both kinds of line end.
  std::string PublishList() const {
    std::string list = "# mirror me\n";
    for (const auto& [key, url] : m_urls) list += key + "," + url + "\r\n";
    WriteFile(Root() + "\\url_list.txt", list + "EXTRA_KEY,kept\n");
    return Url("/url_list.txt");
  }

 private:
  std::map<std::string, std::string> m_urls;
};

#define REQUIRE_SERVER() \
  if (Env("PELLORY_TEST_SERVER").empty()) GTEST_SKIP() << "no test server"

}  // namespace

// On the Japanese system, where Pellory fetches Corvane and Tessaline.
class JaPelloryCheckTest : public testing::Test {};

TEST_F(JaPelloryCheckTest, GoodListPassesAndNamesEveryFileAndSigner) {
  REQUIRE_SERVER();
  const CheckRun run = RunPelloryCheck("--json " + CheckServer().PublishList());
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(
      run.Has("\"components\":[\"Corvane\",\"Tessaline\"],\"problems\":[],\"complete\":true"));
  // The folder Pellory would make, and that this system (Wine) keeps no permissions.
  EXPECT_TRUE(
      run.Has("\"pelloryFolder\":\"C:\\\\windows\\\\Temp\\\\Pellory.xxxxxxxx\\\\\","
              "\"keepsFolderPermissions\":false"))
      << run.output;
  // Under Wine every process is an administrator: the tool makes its folder as Pellory does.
  const std::string folder = CheckRun::Text(run.output, "workFolder");
  EXPECT_EQ(LowerAscii(folder).rfind("c:\\windows\\temp\\pellorycheck.", 0), 0u) << folder;
  for (const auto& [key, name] : kFiles) {
    const std::string entry = run.Entry(key);
    EXPECT_NE(entry.find("\"localName\":\"" + name + "\",\"fetched\":true,\"ok\":true"),
              std::string::npos)
        << entry;
    EXPECT_EQ(CheckRun::Text(entry, "localPath"), folder + name) << "not the tool's";
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
    const char* key;
    std::string url;       // "" keeps the entry's URL
    const char* package;   // served as that key's setup program, or null
    const char* faults;    // _faults.json
    const char* expected;  // parts of the entry's JSON line: the code and its sentence
    const char* sentence;
  };
  const std::string deep = CheckServer::Url("/c/");
  const Fault faults[] = {
      {"CVN_ISS", CheckServer::Url("/c/missing.iss"), nullptr, "{}",
       "\"transfer\":{\"code\":304000,", "error status (400 or above"},
      {"CVN_ISS", "", nullptr, R"({"/c/corvane.iss": {"kind": "chunked"}})",
       "\"transfer\":{\"code\":305000,",
       "no Content-Length (a chunked or compressed response); serve the file as a static file"},
      {"TSL_ISS", "", nullptr, R"({"/c/tessaline.iss": {"kind": "short-close", "arg": 5}})",
       "\"transfer\":{\"code\":309000,", "short of its Content-Length"},
      {"CVN_EXE", "https://" + Env("PELLORY_TEST_SERVER") + "/c/corvane-setup.exe", nullptr, "{}",
       "\"transfer\":{\"code\":200000,\"startCode\":110000,", "the scheme is not http"},
      {"CVN_EXE", "", "setup-other.exe", "{}",
       "\"signer\":\"Other Corporation\",\"requiredSigner\":false", "the signer is not exactly"},
      {"TSL_EXE", "", "setup-tampered.exe", "{}", "\"signature\":{\"code\":201,",
       "changed after it was signed"},
      {"CVN_ISS", CheckServer::Url("/c/COM1.iss"), nullptr, "{}", "\"transfer\":null",
       "is a device name"},
      {"TSL_ISS", CheckServer::Url("/c/Corvane.iss"), nullptr, "{}",
       "{\"rule\":\"collision\",\"ok\":false", "the same local file as CVN_ISS"},
      {"CVN_ISS", CheckServer::Url("/c/version.dll"), nullptr, "{}", "\"transfer\":null",
       "does not end in .iss"},
      {"CVN_ISS", deep + std::string(512 - deep.size() - 4, 'u') + ".iss", nullptr, "{}",
       "\"transfer\":{\"code\":200000,\"startCode\":102000,", "512 bytes or longer"},
  };
  for (const Fault& fault : faults) {
    CheckServer server;
    if (!fault.url.empty()) server.SetUrl(fault.key, fault.url);
    if (fault.package) CheckServer::Serve(fault.key, fault.package);
    WriteFile(CheckServer::Root() + "\\_faults.json", fault.faults);
    const CheckRun run = RunPelloryCheck("--json " + server.PublishList());
    const std::string entry = run.Entry(fault.key);
    EXPECT_EQ(run.exitCode, 1u) << fault.expected;
    EXPECT_NE(entry.find(fault.expected), std::string::npos) << entry;
    EXPECT_NE(entry.find(fault.sentence), std::string::npos) << entry;
    EXPECT_TRUE(run.Has("\"summary\":\"Pellory would NOT complete")) << fault.expected;
  }
}

TEST_F(JaPelloryCheckTest, MirrorOfARejectedSetupProgramIsRefusedAndWritesNothing) {
  REQUIRE_SERVER();
  const CheckServer server;
  CheckServer::Serve("TSL_EXE", "setup-unsigned.exe");
  const std::string folder = Narrow(robot::TestOutputPath(L"refused-mirror"));
  const CheckRun run = RunPelloryCheck("mirror \"" + folder + "\" --base-url http://mirror.test/ " +
                                       "--from " + server.PublishList());
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_TRUE(run.Has("TSL_EXE: signature: 201")) << run.output;
  EXPECT_TRUE(run.Has("Nothing was written")) << run.output;
  EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The tool's old fixed folder %TEMP%\PelloryCheck planted as a link to another folder:
// nothing goes through it (under Wine every process is an administrator, so the tool makes
// its folder as Pellory does); and a "response file" named version.dll is never requested.
TEST_F(JaPelloryCheckTest, ALinkAtItsOldFolderIsNotUsedAndARefusedNameIsNotRequested) {
  REQUIRE_SERVER();
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string old = temp + std::string("PelloryCheck");
  const std::string target = Narrow(robot::TestOutputPath(L"old-folder"));
  MoveFileA(old.c_str(), (old + std::to_string(GetTickCount())).c_str());  // an earlier build's
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  InstallScenario::PlantLink("symbolic", target, old);
  CheckServer server;
  server.SetUrl("CVN_ISS", CheckServer::Url("/c/version.dll"));
  EXPECT_EQ(RunPelloryCheck(server.PublishList()).exitCode, 1u);
  const std::vector<std::string> requests = InstallScenario::RequestLog();
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET /c/version.dll"), 0);
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET /c/corvane-setup.exe"), 1);
  EXPECT_TRUE(RemoveDirectoryA(target.c_str())) << "written through the link";  // empty
}

// A mirror folder that holds a link to a file elsewhere is refused, the file left as it was.
TEST_F(JaPelloryCheckTest, MirrorIntoAFolderHoldingALinkWritesNothingThroughIt) {
  REQUIRE_SERVER();
  const std::string folder = Narrow(robot::TestOutputPath(L"linked-mirror"));
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  WriteFile(folder + "-host", "host file\n");
  InstallScenario::PlantLink("symbolic", folder + "-host", folder + "\\corvane.iss");
  const CheckRun run = RunPelloryCheck(
      "mirror \"" + folder + "\" --base-url http://m.test/ --from " + CheckServer().PublishList());
  EXPECT_TRUE(run.Has("is not empty")) << run.output;
  EXPECT_EQ(ReadAll(folder + "-host"), "host file\n");
}

TEST(PelloryCheckUsageTest, UnknownArgumentIsAUsageError) {
  EXPECT_EQ(RunPelloryCheck("--frobnicate").exitCode, 2u);
  EXPECT_EQ(RunPelloryCheck("mirror only-a-folder").exitCode, 2u);
}

class CheckInstallScenario : public InstallScenario {
 protected:
  void ExpectInstallation() {
    WalkToDownloadPage();
    ASSERT_TRUE(WatchRun().reachedCompletion) << "a box or a time-out stopped the run";
    EXPECT_EQ(robot::TextOf(Wizard().Control(install_ui::kResultText)),
              install_ui::Text(173) + L"\r\n" + install_ui::Text(170));
  }
};

// PelloryCheck's pinned mirror, built once and served by nginx: Pellory, pointed at it by
// the pinned value the tool prints, installs from it alone, and runs nothing of it that
// changed after pinning. Each test starts from the mirror as it was built.
class CheckMirrorTest : public CheckInstallScenario {
 protected:
  void SetUp() override {
    CheckInstallScenario::SetUp();
    if (Env("PELLORY_MIRROR_SERVER").empty())
      GTEST_SKIP() << "run through tests/support/with-nginx";
    if (s_files.empty()) {
      ServeStandardInstallation();  // the override leads PelloryCheck to the test server
      s_run = RunPelloryCheck("mirror \"" + Env("PELLORY_MIRROR_ROOT") + "\\pellory\" --base-url " +
                              Base());
      ASSERT_EQ(s_run.exitCode, 0u) << s_run.output;
      const size_t at = s_run.output.find("/d \"" + Base() + "/url_list.txt#sha256=");
      ASSERT_NE(at, std::string::npos) << s_run.output;
      s_pinnedList = s_run.output.substr(at + 4, s_run.output.find('"', at + 4) - at - 4);
      for (const char* name : {"url_list.txt", "corvane.iss", "corvane-setup.exe", "tessaline.iss",
                               "tessaline-setup.exe"})
        s_files[name] = ReadAll(Mirrored(name));
    }
    for (const auto& [name, bytes] : s_files) WriteFile(Mirrored(name), bytes);
    m_requestsBefore = MirrorRequests().size();
    m_setupLogBefore = SetupLog().size();
  }
  static std::string Base() { return "http://" + Env("PELLORY_MIRROR_SERVER") + "/pellory"; }
  static std::string Mirrored(const std::string& name) {
    return Env("PELLORY_MIRROR_ROOT") + "\\pellory\\" + name;
  }
  // The paths nginx was asked for since the test began.
  std::vector<std::string> MirrorRequests() const {
    std::istringstream log(ReadAll(Env("PELLORY_MIRROR_ROOT") + "\\..\\access.log"));
    std::vector<std::string> paths;
    for (std::string line; std::getline(log, line);) {
      const size_t get = line.find("\"GET ");
      if (get != std::string::npos)
        paths.push_back(line.substr(get + 5, line.find(' ', get + 5) - get - 5));
    }
    return {paths.begin() + std::min(m_requestsBefore, paths.size()), paths.end()};
  }
  void StartRun(const std::string& listUrl) {
    OverrideUrlList(listUrl);
    WalkToDownloadPage();
  }
  void ExpectNothingRan(bool afterQuestions) {
    if (afterQuestions) {
      ASSERT_TRUE(Wizard().WaitForPageWith(install_ui::kResultText, robot::Duration{15000}));
    } else {
      ASSERT_TRUE(WatchRun().reachedCompletion) << "a box or a time-out stopped the run";
    }
    EXPECT_EQ(robot::TextOf(Wizard().Control(install_ui::kResultText)), install_ui::Text(171));
    EXPECT_EQ(SetupLog().substr(m_setupLogBefore), "") << "a setup program ran";
  }
  // Answers the retry question with each answer in turn.
  void Answer153(std::initializer_list<int> answers) {
    for (const int answer : answers) {
      const auto box = robot::MessageBoxWindow::Find(Program().Id(), robot::Duration{20000});
      ASSERT_TRUE(box.has_value()) << "no retry question (before answering " << answer << ")";
      EXPECT_EQ(box->Text(), install_ui::Text(153));
      ASSERT_TRUE(box->Answer(answer));
    }
  }

  static inline CheckRun s_run;
  static inline std::string s_pinnedList;
  static inline std::map<std::string, std::string> s_files;  // the mirror as it was built
  size_t m_requestsBefore = 0;
  size_t m_setupLogBefore = 0;  // the log is the suite's
};

TEST_P(CheckMirrorTest, PelloryInstallsFromThePinnedMirrorServedByNginx) {
  EXPECT_TRUE(s_run.Has("/d \"" + s_pinnedList + "\" /f /reg:32")) << s_run.output;
  EXPECT_TRUE(s_run.Has("set it again after every update of the mirror")) << s_run.output;
  const size_t originRequests = RequestLog().size();
  StartRun(s_pinnedList);
  ASSERT_TRUE(WatchRun().reachedCompletion) << "a box or a time-out stopped the run";
  EXPECT_EQ(robot::TextOf(Wizard().Control(install_ui::kResultText)),
            install_ui::Text(173) + L"\r\n" + install_ui::Text(170));
  EXPECT_EQ(SetupLogValues(SetupLog().substr(m_setupLogBefore), "| title"),
            (std::vector<std::string>{"corvane", "tessaline"}));
  EXPECT_EQ(RequestLog().size(), originRequests) << "Pellory went to the origin";
  EXPECT_EQ(MirrorRequests().size(), 5u);
}

TEST_P(CheckMirrorTest, AListChangedAfterPinningAsksAgainOnRetryAndNothingElseIsFetched) {
  WriteFile(Mirrored("url_list.txt"), s_files["url_list.txt"] + "\n");
  StartRun(s_pinnedList);
  Answer153({IDRETRY, IDCANCEL});
  ExpectNothingRan(true);
  EXPECT_EQ(MirrorRequests(),
            (std::vector<std::string>{"/pellory/url_list.txt", "/pellory/url_list.txt"}));
}

TEST_P(CheckMirrorTest, AResponseFileChangedRunsNothingAndPelloryCheckNamesIt) {
  WriteFile(Mirrored("corvane.iss"), s_files["corvane.iss"] + "szDir=\\\\share\\x\r\n");
  StartRun(s_pinnedList);
  ExpectNothingRan(false);
  const CheckRun check = RunPelloryCheck("--json " + s_pinnedList);
  EXPECT_EQ(check.exitCode, 1u) << check.output;
  EXPECT_TRUE(check.Has("\"listPin\":\"matches\"")) << check.output;
  EXPECT_NE(check.Entry("CVN_ISS").find("\"pin\":\"differs\""), std::string::npos) << check.output;
  EXPECT_NE(check.Entry("CVN_EXE").find("\"pin\":\"matches\""), std::string::npos);
}

// Validly signed by the maker, but not the program that was pinned: not even the first
// setup runs.
TEST_P(CheckMirrorTest, AProgramReplacedByAnotherThatTheMakerSignedRunsNothing) {
  ASSERT_TRUE(CopyFileA((PackagesDir() + "\\setup-failing.exe").c_str(),
                        Mirrored("tessaline-setup.exe").c_str(), FALSE));
  StartRun(s_pinnedList);
  ExpectNothingRan(false);
}

TEST_P(CheckMirrorTest, APinnedListWhoseEntriesCarryNoPinRequestsNoComponentFile) {
  std::string plain = s_files["url_list.txt"];
  for (size_t at; (at = plain.find("#sha256=")) != std::string::npos;) plain.erase(at, 8 + 64);
  WriteFile(Mirrored("plain_list.txt"), plain);
  StartRun(Base() + "/plain_list.txt#sha256=" + Sha256Hex(plain));
  Answer153({IDCANCEL});
  ExpectNothingRan(true);
  EXPECT_EQ(MirrorRequests(), (std::vector<std::string>{"/pellory/plain_list.txt"}));
}

TEST_P(CheckMirrorTest, AnUnpinnedListWithAWrongPinOnTheLastProgramRunsNothing) {
  std::string list = s_files["url_list.txt"];
  const size_t pin = list.find("tessaline-setup.exe#sha256=") + 27;
  list.replace(pin, 64, std::string(64, list[pin] == '0' ? '1' : '0'));
  WriteFile(Mirrored("url_list.txt"), list);
  StartRun(Base() + "/url_list.txt");
  ExpectNothingRan(false);
  EXPECT_EQ(MirrorRequests().size(), 5u);
}

// PelloryDeploy on the same mirror, pointed at it by the pinned value: it installs from it
// alone, and runs nothing when a response file changed after pinning.
class DeployMirrorTest : public CheckMirrorTest {
 protected:
  bool StartsPellory() const override { return false; }
  ConsoleRun Deploy() {
    OverrideUrlList(s_pinnedList);
    return RunBesidePellory("PelloryDeploy.exe",
                            "install --accept-licences --complete --retry-wait 0");
  }
};

TEST_P(DeployMirrorTest, InstallsFromThePinnedMirrorAlone) {
  const size_t originRequests = RequestLog().size();
  const ConsoleRun run = Deploy();
  EXPECT_EQ(run.exitCode, 3010u) << run.output;
  EXPECT_TRUE(run.Has("tessaline-setup.exe: pin matches")) << run.output;
  EXPECT_EQ(SetupLogValues(SetupLog().substr(m_setupLogBefore), "| title"),
            (std::vector<std::string>{"corvane", "tessaline"}));
  EXPECT_EQ(RequestLog().size(), originRequests) << "PelloryDeploy went to the origin";
  EXPECT_EQ(MirrorRequests().size(), 5u);
}

TEST_P(DeployMirrorTest, AResponseFileChangedAfterPinningRunsNothing) {
  WriteFile(Mirrored("corvane.iss"), s_files["corvane.iss"] + "szDir=\\\\share\\x\r\n");
  const ConsoleRun run = Deploy();
  EXPECT_EQ(run.exitCode, 1603u) << run.output;
  EXPECT_TRUE(run.Has("corvane.iss: pin differs")) << run.output;
  EXPECT_EQ(SetupLog().substr(m_setupLogBefore), "") << "a setup program ran";
}

// Behind squid: the prefix's proxy settings lead both programs through it, and both get
// the origin's current bytes where squid holds an older copy.
class CheckProxyTest : public CheckInstallScenario {
 protected:
  void UseProxy(const std::string& server) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                              nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
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
    while (request && InternetReadFile(request, buffer, sizeof buffer, &read) && read > 0)
      body.append(buffer, read);
    if (request) InternetCloseHandle(request);
    InternetCloseHandle(session);
    return body;
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
  EXPECT_NE(run.Entry("CVN_ISS").find("\"proxy\":\"" + proxy), std::string::npos) << run.output;
  EXPECT_NE(ReadAll(CheckRun::Text(run.Entry("CVN_ISS"), "localPath")).find("marker=new"),
            std::string::npos);

  ServeComponent("corvane", "setup-valid.exe", "marker=newer\r\n");
  ExpectInstallation();
  EXPECT_NE(SetupLog().find("| marker=newer"), std::string::npos) << SetupLog();
  EXPECT_NE(ReadAll(Env("PELLORY_PROXY_LOG")).find("/components/tessaline/tessaline-setup.exe"),
            std::string::npos)
      << "Pellory did not go through the proxy";
}

INSTANTIATE_TEST_SUITE_P(Ja, CheckMirrorTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Ja, DeployMirrorTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Ja, CheckProxyTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });
