// The unattended installation over fake platform services: Pellory's worker runs to an
// exit code that distribution tools read, every question is answered by policy, and the
// log says what happened; and the command line that chooses what it installs.

#include "deploy/DeployRun.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "deploy/DeployArguments.h"
#include "engine/HklmString.h"
#include "engine/OldSoftwareProbe.h"
#include "fakes/FakeInstallPlatform.h"

namespace {

const char kListUrl[] = "http://dl.test/url_list.txt";
const char kList[] =
    "CVN_ISS,http://dl.test/c/cvn.iss\r\nCVN_EXE,http://dl.test/c/cvn.exe\r\n"
    "TSL_ISS,http://dl.test/t/tsl.iss\r\nTSL_EXE,http://dl.test/t/tsl.exe\r\n";

class DeployRunTest : public ::testing::Test, protected FakeInstallPlatform {
 protected:
  void SetUp() override {
    threads.runOnCreate = true;
    system.langId = kLangJapanese;
    // The list is read from the disk ("\\Temp\\..." names a file there), the rest in memory.
    folders.PlaceOnDisk();
    folder = folders.windowsFolder + "\\Temp\\Pellory.0badf00d\\";
    std::ofstream(folder + "url_list.txt") << kList;
    registry.SetValue(kPelloryKey, kUrlListValueName, kListUrl);
    http.Serve("/url_list.txt", FakeResponse::Body(kList));
    for (const char* path : {"/c/cvn.iss", "/c/cvn.exe", "/t/tsl.iss", "/t/tsl.exe"})
      http.Serve(path, FakeResponse::Body(std::string("bytes of ") + path));
    arguments.complete = true;
    arguments.retries = 2;
  }
  void TearDown() override { std::remove((folder + "url_list.txt").c_str()); }

  bool Logged(const std::string& text) const {
    for (const std::string& line : lines)
      if (line.find(text) != std::string::npos) return true;
    return false;
  }

  std::string folder;
  std::vector<std::string> lines;
  DeployLog log{nullptr, nullptr, [this](const std::string& text) {
                  lines.push_back(text);
                  return text;
                }};
  InstallPlatform platform = Platform();
  Deploy deploy{platform, log};
  DeployArguments arguments;
  const ComponentSelection selection = CompleteSelection(kLangJapanese);
};

TEST_F(DeployRunTest, ACompleteDeployRunsEverySetupFromTheFolderAndLogsEachStep) {
  launcher.exitCode = 7;  // logged, not judged
  EXPECT_EQ(deploy.Run(arguments, selection), kDeployInstalled);
  ASSERT_EQ(launcher.starts.size(), 2u);
  EXPECT_EQ(launcher.starts[0].applicationName, folder + "cvn.exe");
  EXPECT_EQ(launcher.starts[1].applicationName, folder + "tsl.exe");
  EXPECT_EQ(mutexes.created,
            (std::vector<std::string>{"Global\\PelloryDeploy Single Execution Mutex",
                                      "Pellory Single Execution Mutex"}));
  for (const std::string& text : std::vector<std::string>{
           "install Corvane, Tessaline (complete installation)",
           "URL list: http://dl.test/url_list.txt (registry override)", "folder: " + folder,
           "fetch cvn.exe from http://dl.test/c/cvn.exe",
           "bytes in 0 ms, HTTP 200, proxy direct: 0:", "cvn.exe: pin none",
           "cvn.exe: signature 0: trusted and signed by \"Morvane Corporation\"; signer "
           "\"Morvane Corporation\"",
           "setup: " + folder + "cvn.exe /nodialog", "ended with exit code 7"})
    EXPECT_TRUE(Logged(text)) << text;
  EXPECT_EQ(lines.back(), DeployOutcome(kDeployInstalled));
}

TEST_F(DeployRunTest, AFailingFileIsRetriedWithADoublingWaitThenFails) {
  FakeResponse missing;
  missing.status = 404;
  http.Serve("/url_list.txt", missing);
  EXPECT_EQ(deploy.Run(arguments, selection), kDeployFailed);
  EXPECT_EQ(http.requests.size(), 3u);
  EXPECT_TRUE(Logged("retry 1 of 2 for url_list.txt in 10 s"));
  EXPECT_TRUE(Logged("retry 2 of 2 for url_list.txt in 20 s"));
  EXPECT_TRUE(Logged("no retry left for url_list.txt"));
  EXPECT_EQ(clock.now.load(), 5'000'000u + 30'000u);
  EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(DeployRunTest, RefusalsEndBeforeAnythingIsRequested) {
  struct Case {
    const char* heldMutex;
    bool administrator;
    int exitCode;
  } cases[] = {{"Global\\PelloryDeploy Single Execution Mutex", true, kDeployBusy},
               {"Pellory Single Execution Mutex", true, kDeployBusy},
               {"", false, kDeployFailed}};
  for (const Case& c : cases) {
    FakeMutexes others;
    others.held = {c.heldMutex};
    user.administrator = c.administrator;
    InstallPlatform refused = platform;
    refused.mutex = &others;
    EXPECT_EQ(Deploy(refused, log).Run(arguments, selection), c.exitCode) << c.heldMutex;
    EXPECT_TRUE(http.requests.empty());
  }
}

TEST_F(DeployRunTest, OlderSoftwareBlocksAfterTheListAlone) {
  registry.SetValue(kOldSoftwareKey, kOldSoftwareVersionValueName, "1.20");
  EXPECT_EQ(deploy.Run(arguments, selection), kDeployBlocked);
  EXPECT_EQ(http.requests.size(), 1u);
  EXPECT_TRUE(Logged("(Pellory's message 178)"));
}

TEST_F(DeployRunTest, AProgramOfAnotherSignerIsLoggedWithTheNameTheCheckRead) {
  trust.displayName = "Morvane Corp";
  EXPECT_EQ(deploy.Run(arguments, selection), kDeployFailed);
  EXPECT_TRUE(Logged("cvn.exe: signature 309: "));
  EXPECT_TRUE(Logged("; signer \"Morvane Corp\""));
  EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(DeployRunTest, AProgramRefusedBeforeItsSignerIsReadLogsNone) {
  trust.trustVerdict = static_cast<int32_t>(0x800B0100);  // not signed
  EXPECT_EQ(deploy.Run(arguments, selection), kDeployFailed);
  EXPECT_TRUE(Logged("cvn.exe: signature 201: "));
  EXPECT_TRUE(Logged("; signer not read"));
  EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(DeployRunTest, AStopDuringTheDownloadsEndsTheRunBeforeAnySetup) {
  trust.onExists = [this] {
    if (trust.calls.size() == 1) {
      EXPECT_TRUE(deploy.Stop());
    }
  };
  EXPECT_EQ(deploy.Run(arguments, selection), kDeployCancelled);
  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_TRUE(Logged(DeployOutcome(kDeployCancelled)));
}

TEST_F(DeployRunTest, AStopWhileASetupRunsIsRefused) {
  launcher.wait = [this] { EXPECT_FALSE(deploy.Stop()); };
  EXPECT_EQ(deploy.Run(arguments, selection), kDeployInstalled);
  EXPECT_EQ(launcher.starts.size(), 2u);
  EXPECT_TRUE(Logged("a request to stop is refused"));
}

TEST(DeployArgumentsTest, TheCommandLineNamesOfferedComponentsAndAcceptsTheLicences) {
  const auto parse = [](std::vector<const char*> argv, DeployArguments& arguments) {
    argv.insert(argv.begin(), "PelloryDeploy");
    std::string error;
    return ParseDeployArguments(int(argv.size()), argv.data(), arguments, error);
  };
  DeployArguments good;
  ASSERT_TRUE(parse({"install", "--accept-licences", "--components", "CORVANE,tessaline", "--log",
                     "C:\\l.txt", "--retries", "0", "--retry-wait", "3600"},
                    good));
  EXPECT_EQ(good.retries, 0u);
  EXPECT_EQ(good.logFile, "C:\\l.txt");
  ComponentSelection selection{};
  std::string error;
  EXPECT_TRUE(ChooseComponents(good, kLangJapanese, selection, error));
  EXPECT_EQ(selection, (ComponentSelection{true, false, true}));
  EXPECT_FALSE(ChooseComponents(good, 0x0409, selection, error)) << "Tessaline, not offered";

  for (const std::vector<const char*>& bad : std::vector<std::vector<const char*>>{
           {"install", "--complete"},  // the licences not accepted
           {"install", "--accept-licences"},
           {"install", "--accept-licences", "--complete", "--components", "corvane"},
           {"install", "--accept-licences", "--complete", "--retries", "101"},
           {"install", "--accept-licences", "--complete", "--retry-wait", "-1"},
           {"install", "--accept-licences", "--complete", "--log"},
           {"licences", "--complete", "--log", "x"},
           {"uninstall", "--complete"}}) {
    DeployArguments arguments;
    EXPECT_FALSE(parse(bad, arguments)) << bad[0] << " " << bad[1];
  }
  for (const char* names : {"corvane,nosuch", "pelmora", ""}) {
    DeployArguments arguments;
    ASSERT_TRUE(parse({"licences", "--components", names}, arguments));
    EXPECT_FALSE(ChooseComponents(arguments, kLangJapanese, selection, error)) << names;
  }
}

}  // namespace
