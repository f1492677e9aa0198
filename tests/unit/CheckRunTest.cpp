// The checking tool's two commands over the real core with fake platform services and real
// files in a scratch folder: which files Pellory fetches here, the rules, the collisions,
// and the mirror it writes or refuses.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "check/CheckRun.h"
#include "check/UrlListRewrite.h"
#include "engine/UrlList.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDigest.h"
#include "fakes/FakeHttp.h"
#include "fakes/FakeInstallPlatform.h"
#include "fakes/FakePrivateFolders.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystemInfo.h"
#include "fakes/FakeThreads.h"
#include "fakes/FakeTrust.h"
#include "net/DownloadClient.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Files on the disk: the tool reads its downloads back as Pellory reads its list.
class DiskFiles : public Files {
 public:
  FileHandle CreateNew(const char* path) override { return Open(path, "wbx"); }
  bool Replace(const char* from, const char* to) override { return std::rename(from, to) == 0; }
  FileHandle OpenForWriting(const char* path) override { return Open(path, "r+b"); }
  bool Write(FileHandle file, const void* data, uint32_t size) override {
    return std::fwrite(data, 1, size, File(file)) == size;
  }
  bool Close(FileHandle file) override {
    m_paths.erase(file);
    return std::fclose(File(file)) == 0;
  }
  FileHandle OpenReadLocked(const char* path) override { return Open(path, "rb"); }
  bool Describe(FileHandle file, FileFacts& facts) override {
    std::FILE* f = File(file);
    const long at = std::ftell(f);
    std::fseek(f, 0, SEEK_END);
    facts = {true, false, 1, static_cast<uint64_t>(std::ftell(f)), m_paths[file]};
    std::fseek(f, at, SEEK_SET);
    return true;
  }
  bool DigestSha256(FileHandle file, Sha256Digest& digest) override {
    std::string bytes;
    char buffer[4096];
    std::rewind(File(file));
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, File(file))) > 0;)
      bytes.append(buffer, n);
    digest = FakeSha256(bytes);
    return true;
  }
  std::string FolderFinalPath(const char* folder) override {
    std::string path = folder;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
  }
  uint32_t LastError() override { return 2; }

 private:
  FileHandle Open(const char* path, const char* mode) {
    std::FILE* file = std::fopen(path, mode);
    if (file == nullptr) return kInvalidFile;
    const FileHandle handle = static_cast<FileHandle>(reinterpret_cast<uintptr_t>(file));
    m_paths[handle] = path;
    return handle;
  }
  static std::FILE* File(FileHandle file) {
    return reinterpret_cast<std::FILE*>(static_cast<uintptr_t>(file));
  }
  std::map<FileHandle, std::string> m_paths;
};

class CheckRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_scratch = fs::temp_directory_path() / ("check-run-" + std::to_string(::getpid()));
    fs::create_directories(m_scratch);
    system.tempPath = m_scratch.string() + "/";
    privateFolders.windowsFolder = m_scratch.string() + "/W";
    threads.runOnCreate = true;
    user.administrator = false;
    // The signer of a served "program" is its content.
    trust.onExists = [this] { trust.displayName = Read(trust.lastPath); };
    Serve("/c/a.iss", "response");
    Serve("/c/a.exe", "Morvane Corporation");
    Serve("/t/b.iss", "response");
    Serve("/t/b.exe", "Morvane Corporation");
  }
  void TearDown() override { fs::remove_all(m_scratch); }

  void Serve(const std::string& path, const std::string& body) {
    http.Serve(path, FakeResponse::Body(body));
  }
  // The list at http://server.test/list/<name>, with the entries given.
  void ServeList(const std::string& list, const std::string& name = "url_list.txt") {
    Serve("/list/" + name, list);
    registry.SetValue(kPelloryKeyName, "URL List", "http://server.test/list/" + name);
  }
  static std::string Entries(const std::string& tslIss = "http://server.test/t/b.iss",
                             const std::string& tslExe = "http://server.test/t/b.exe") {
    return "CVN_ISS,http://server.test/c/a.iss\r\nCVN_EXE,http://server.test/c/a.exe\n"
           "OTHER,x\r\nTSL_ISS," +
           tslIss + "\r\nTSL_EXE," + tslExe + "\r\n";
  }
  static const EntryReport& Entry(const CheckReport& report, const std::string& key) {
    for (const EntryReport& entry : report.entries)
      if (entry.key == key) return entry;
    static const EntryReport none;
    return none;
  }
  std::string Mirror() const { return (m_scratch / "m").string(); }
  // What the mirror wrote into its folder, by name.
  std::map<std::string, std::string> Mirrored() const {
    std::map<std::string, std::string> written;
    for (const auto& file : fs::directory_iterator(m_scratch)) {
      const std::string name = file.path().filename().string();
      if (name.rfind("m\\", 0) == 0) written[name.substr(2)] = Read(file.path().string());
    }
    return written;
  }
  static const RuleResult* FailedRule(const EntryReport& entry) {
    for (const RuleResult& rule : entry.rules)
      if (!rule.ok) return &rule;
    return nullptr;
  }

  static constexpr const char* kPelloryKeyName = "SOFTWARE\\Morvane Corporation\\Pellory";
  FakeHttp http;
  DiskFiles files;
  ScriptedThreads threads;
  FakeClock clock;
  FakeTrust trust;
  FakeRegistry registry;
  FakeSystemInfo system;
  FakeProxy proxy;
  FakeFolders folders;
  FakePrivateFolders privateFolders;
  FakeUserAccount user;
  InstallPlatform platform{&http,   &files,  &threads,        &clock, &trust,   &registry,
                           &system, nullptr, &privateFolders, &proxy, &folders, &user};
  CheckOptions options;
  fs::path m_scratch;
};

TEST_F(CheckRunTest, FetchesWhatPelloryFetchesOnEachSystemFromTheOverride) {
  ServeList(Entries());
  for (const uint16_t lang : {uint16_t{0x0409}, uint16_t{0x0411}}) {
    system.langId = lang;
    const CheckReport report = RunCheck(platform, options);
    EXPECT_TRUE(report.complete) << report.summary;
    EXPECT_EQ(report.listSource, "registry override");
    EXPECT_EQ(Entry(report, "TSL_EXE").fetched, lang == 0x0411);
    EXPECT_FALSE(Entry(report, "PM_ISS").fetched);
    EXPECT_EQ(Entry(report, "CVN_EXE").signature.signer, "Morvane Corporation");
    EXPECT_EQ(report.components.size(), lang == 0x0411 ? 2u : 1u);
  }
}

TEST_F(CheckRunTest, EachRunWorksInAFolderItMakesFreshAndFetchesNothingWithoutOne) {
  ServeList(Entries());
  const std::string windowsTemp = privateFolders.windowsFolder + "\\Temp\\";
  struct {
    bool administrator;
    std::string parent;
    const char* descriptor;
    size_t names;  // random names to be had, the first one taken
  } const cases[] = {{true, windowsTemp, kWorkFolderSddl, 5},
                     {false, system.tempPath, "", 5},
                     {true, windowsTemp, kWorkFolderSddl, 1}};
  for (const auto& c : cases) {
    FakePrivateFolders fresh;
    fresh.windowsFolder = privateFolders.windowsFolder;
    fresh.existing = {c.parent + "PelloryCheck.0badf00d\\"};  // planted beforehand
    fresh.randoms.resize(c.names);
    platform.folders = &fresh;
    user.administrator = c.administrator;
    http.requests.clear();
    const CheckReport report = RunCheck(platform, options);
    const std::string folder = c.names > 1 ? c.parent + "PelloryCheck.12345678\\" : "";
    EXPECT_EQ(report.workFolder, folder);
    EXPECT_EQ(report.complete, !folder.empty()) << report.summary;
    EXPECT_EQ(http.requests.empty(), folder.empty());
    if (folder.empty()) continue;
    EXPECT_EQ(fresh.creates.at(1), std::make_pair(folder, std::string(c.descriptor)));
    EXPECT_EQ(fresh.creates.at(2).first, folder + "unused\\");
    EXPECT_EQ(report.listTransfer.localPath, folder + "url_list.txt");
  }
}

TEST_F(CheckRunTest, CollisionsAreWithEarlierComponentFilesNotWithTheListAndNamesAreOfTheirKind) {
  system.langId = 0x0411;
  struct {
    std::string tslIss, tslExe;
    const char* rule;          // failed by TSL_ISS or TSL_EXE, or null
    const char* collidesWith;  // named in that rule's text
  } const cases[] = {
      {"http://server.test/t/list.iss", "http://server.test/t/b.exe", nullptr, ""},
      {"http://server.test/t/A.ISS.", "http://server.test/t/b.exe", "collision", "CVN_ISS"},
      {"http://server.test/t/b.iss", "http://server.test/t/a.exe", "collision", "CVN_EXE"},
      {"http://server.test/t/version.dll", "http://server.test/t/b.exe", "local name", ".iss"},
      {"http://server.test/t/b.iss", "http://server.test/t/b.iss.dll", "local name", ".exe"},
  };
  for (const char* path : {"/t/list.iss", "/t/A.ISS.", "/t/version.dll"}) Serve(path, "response");
  Serve("/t/a.exe", "Morvane Corporation");
  Serve("/t/b.iss.dll", "Morvane Corporation");
  for (const auto& c : cases) {
    ServeList(Entries(c.tslIss, c.tslExe), "list.iss");
    const CheckReport report = RunCheck(platform, options);
    EXPECT_EQ(report.complete, c.rule == nullptr) << c.tslIss << " " << report.summary;
    if (c.rule == nullptr) continue;
    const RuleResult* iss = FailedRule(Entry(report, "TSL_ISS"));
    const RuleResult* failed = iss != nullptr ? iss : FailedRule(Entry(report, "TSL_EXE"));
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed->rule, c.rule);
    EXPECT_NE(failed->text.find(c.collidesWith), std::string::npos) << failed->text;
    // A name Pellory refuses is reported, never requested.
    const std::string path = (iss != nullptr ? c.tslIss : c.tslExe).substr(18);
    EXPECT_EQ(std::any_of(http.requests.begin(), http.requests.end(),
                          [&](const FakeRequestRecord& r) { return r.path == path; }),
              c.rule != std::string("local name"));
  }
}

TEST_F(CheckRunTest, DestinationLengthIsPellorysNotTheToolsOwnFolder) {
  // Pellory's destination is its own folder, "\" and the name: 259 bytes fit.
  privateFolders.windowsFolder = "C:\\W";  // shallower than the tool's own folder here
  const std::string pellory = "C:\\W\\Temp\\Pellory.xxxxxxxx\\";
  const std::string fits(259 - pellory.size() - 1 - 4, 'f');
  const std::string tooLong = fits + "g";
  Serve("/c/" + fits + ".iss", "response");
  Serve("/c/" + tooLong + ".iss", "response");
  for (const std::string& name : {fits + ".iss", tooLong + ".iss"}) {
    ServeList("CVN_ISS,http://server.test/c/" + name + "\nCVN_EXE,http://server.test/c/a.exe\n");
    const CheckReport report = RunCheck(platform, options);
    const EntryReport& iss = Entry(report, "CVN_ISS");
    EXPECT_EQ(report.pelloryFolder, pellory);
    EXPECT_EQ(report.complete, name == fits + ".iss");
    EXPECT_EQ(iss.transfer.code, name == fits + ".iss" ? 0 : PrimaryNotStarted);
    if (name == fits + ".iss") {
      EXPECT_EQ(iss.transfer.localPath, report.workFolder + "CVN_ISS");  // the tool's is deeper
    } else {
      EXPECT_EQ(iss.transfer.startCode, PrimaryDestinationTooLong);
      EXPECT_EQ(FailedRule(iss)->rule, "destination");
    }
  }
}

TEST_F(CheckRunTest, MirrorRewritesTheListAndWritesEveryFileAnySystemNeedsAsANewFile) {
  system.langId = 0x0409;         // Tessaline is mirrored all the same
  ServeList(Entries(), "b.iss");  // the local copy is replaced by Tessaline's file of that name
  // A link that appeared after the folder was found empty: replaced, never written through.
  std::ofstream(m_scratch / "host") << "host file";
  fs::create_symlink(m_scratch / "host", m_scratch / "m\\b.exe");
  const CheckReport report = RunMirror(platform, options, Mirror(), "http://mirror.test/p");
  ASSERT_TRUE(report.mirrorWritten) << report.summary;
  EXPECT_EQ(Read((m_scratch / "host").string()), "host file");
  std::map<std::string, std::string> mirrored = Mirrored();
  EXPECT_EQ(mirrored.size(), 5u);
  EXPECT_EQ(mirrored["b.exe"], "Morvane Corporation");
  // Each entry pinned by its copy, and the list by its own in the registry value.
  const auto pin = [&](const char* name) { return PinFragment(FakeSha256(mirrored[name])); };
  EXPECT_EQ(mirrored["url_list.txt"], "CVN_ISS,http://mirror.test/p/a.iss" + pin("a.iss") +
                                          "\r\nCVN_EXE,http://mirror.test/p/a.exe" + pin("a.exe") +
                                          "\nOTHER,x\r\nTSL_ISS,http://mirror.test/p/b.iss" +
                                          pin("b.iss") + "\r\nTSL_EXE,http://mirror.test/p/b.exe" +
                                          pin("b.exe") + "\r\n");
  ASSERT_EQ(report.registryCommands.size(), 2u);
  EXPECT_EQ(report.registryCommands[1],
            "reg add \"HKLM\\SOFTWARE\\Morvane Corporation\\Pellory\" /v \"URL List\" /t REG_SZ "
            "/d \"http://mirror.test/p/url_list.txt" +
                pin("url_list.txt") + "\" /f /reg:32");
}

TEST_F(CheckRunTest, ReportsEachPinAndADifferingOneIsAProblem) {
  system.langId = 0x0409;
  const std::string right = PinFragment(FakeSha256("Morvane Corporation"));
  const std::string wrong = PinFragment(FakeSha256("another release"));
  const std::string pinnedList = "CVN_ISS,http://server.test/c/a.iss" + wrong +
                                 "\nCVN_EXE,http://server.test/c/a.exe" + right + "\n";
  const std::string plainList =
      "CVN_ISS,http://server.test/c/a.iss\nCVN_EXE,http://server.test/c/a.exe";
  struct {
    const char* name;
    std::string list, listPin;
    const char* wantListPin;
    const char* issPin;
    const char* exePin;
    bool requested;  // any component file
    const char* problem;
  } const cases[] = {
      {"Entries", pinnedList, "", "none", "differs", "matches", true,
       "CVN_ISS: pin: its SHA-256 differs from the pin"},
      {"ListDiffers", pinnedList, wrong, "differs", "none", "none", false,
       "URL list: pin: its SHA-256 differs from the pin"},
      {"PinnedListUnpinnedEntries", plainList, PinFragment(FakeSha256(plainList)), "matches",
       "none", "none", false, "CVN_ISS: pin: the list came through a pinned URL"},
  };
  for (const auto& c : cases) {
    http.requests.clear();
    Serve("/list/url_list.txt", c.list);
    registry.SetValue(kPelloryKeyName, "URL List",
                      "http://server.test/list/url_list.txt" + c.listPin);
    const CheckReport report = RunCheck(platform, options);
    EXPECT_EQ(report.listUrl, "http://server.test/list/url_list.txt") << c.name;
    EXPECT_EQ(report.listPin, c.wantListPin) << c.name;
    EXPECT_FALSE(report.complete) << c.name;
    ASSERT_FALSE(report.problems.empty()) << c.name;
    EXPECT_EQ(report.problems.front().rfind(c.problem, 0), 0u) << report.problems.front();
    EXPECT_EQ(Entry(report, "CVN_ISS").pin, c.issPin) << c.name;
    EXPECT_EQ(Entry(report, "CVN_EXE").pin, c.exePin) << c.name;
    // Nothing of a component is asked for once the list's own pin differs or it pins nothing.
    EXPECT_EQ(http.requests.size(), c.requested ? 3u : 1u) << c.name;
  }
}

TEST_F(CheckRunTest, MirrorIsRefusedWithoutWritingAnything) {
  struct {
    const char* why;
    std::string baseUrl;
    std::string tslExeSigner;
    bool folderEmpty;
  } const cases[] = {
      {"a setup program of another signer", "http://mirror.test/", "Other Corporation", true},
      {"an https base", "https://mirror.test/", "Morvane Corporation", true},
      {"a base too long", "http://mirror.test/" + std::string(500, 'd') + "/",
       "Morvane Corporation", true},
      {"a folder that holds something", "http://mirror.test/", "Morvane Corporation", false},
  };
  ServeList(Entries());
  for (const auto& c : cases) {
    Serve("/t/b.exe", c.tslExeSigner);
    folders.empty = c.folderEmpty;
    const CheckReport report = RunMirror(platform, options, Mirror(), c.baseUrl);
    EXPECT_FALSE(report.mirrorWritten) << c.why;
    EXPECT_FALSE(report.problems.empty()) << c.why;
    EXPECT_TRUE(Mirrored().empty()) << c.why;
  }
}

TEST(UrlListRewriteTest, ReplacesOnlyTheFirstEntryOfEachKeyAndKeepsEveryOtherByte) {
  const std::string list =
      "\xEF\xBB\xBFjunk\r\n CVN_ISS,old,with,commas\tCVN_ISS,second\n\nPM_ISS,keep\x0B"
      "TSL_EXE,x";
  EXPECT_EQ(RewriteUrlList(list, {{"CVN_ISS", "new"}, {"TSL_EXE", "y"}, {"PM_EXE", "absent"}}),
            "\xEF\xBB\xBFjunk\r\n CVN_ISS,new\tCVN_ISS,second\n\nPM_ISS,keep\x0BTSL_EXE,y");
}

}  // namespace
