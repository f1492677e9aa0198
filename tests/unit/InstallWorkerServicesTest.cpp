// The worker's steps over fake platform services: a verified program stays locked until
// its setup has started, the list is read from the temporary directory after the locale
// switch, and the fetch step's verdict reaches the worker unchanged.

#include "engine/InstallWorkerServices.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "fakes/EventLog.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDownloadPageView.h"
#include "fakes/FakeFiles.h"
#include "fakes/FakeHttp.h"
#include "fakes/FakeProcessLauncher.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystemInfo.h"
#include "fakes/FakeThreads.h"
#include "fakes/FakeTrust.h"

namespace {

class InstallWorkerServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    threads.runOnCreate = true;
    http.Serve("/c/setup.exe", FakeResponse::Body("MZ signed"));
  }

  EventLog log;
  FakeRegistry registry;
  FakeSystemInfo system;
  FakeProcessLauncher launcher;
  FakeHttp http;
  FakeFiles files;
  ScriptedThreads threads;
  FakeClock clock;
  FakeTrust trust;
  FakeDownloadPageView* page = new FakeDownloadPageView(log);  // owned by services
  int localeSwitches = 0;
  InstallWorkerServices services{{registry, system, launcher, http, files, threads, clock, trust},
                                 std::shared_ptr<DownloadPageView>(page),
                                 [this] { ++localeSwitches; }};
};

TEST_F(InstallWorkerServicesTest, AVerifiedProgramStaysLockedUntilItsSetupHasStarted) {
  const std::string file = "C:\\T\\\\setup.exe";
  ASSERT_EQ(services.FetchAndVerify("setup.exe", "http://dl.test/c/setup.exe", true),
            FetchVerdict::Fetched);
  EXPECT_FALSE(files.CanReplace(file));
  bool lockedAtStart = false;
  launcher.onStart = [&] { lockedAtStart = !files.CanReplace(file); };
  EXPECT_TRUE(services.RunSetup("setup.exe", "setup.iss"));
  EXPECT_TRUE(lockedAtStart);
  EXPECT_TRUE(files.CanReplace(file));
  EXPECT_EQ(launcher.starts.at(0).applicationName, "C:\\T\\setup.exe");
  EXPECT_TRUE(log.Has("view: show page"));
  EXPECT_EQ(launcher.events, (std::vector<std::string>{"start", "wait", "release"}));
}

TEST_F(InstallWorkerServicesTest, VerdictsPassThroughAndOnlyFetchedProgramsAreHeld) {
  trust.displayName = "Other Corporation";
  page->messageBoxAnswer = kIdCancel;
  EXPECT_EQ(services.FetchAndVerify("setup.exe", "http://dl.test/c/setup.exe", true),
            FetchVerdict::Rejected);
  EXPECT_EQ(services.FetchAndVerify("gone.exe", "http://dl.test/c/gone.exe", true),
            FetchVerdict::GaveUp);  // 404; the page's box answers Cancel
  EXPECT_TRUE(log.Has("view: box 153 type 5"));
  EXPECT_EQ(files.OpenCount(), 0);
}

TEST_F(InstallWorkerServicesTest, TheListIsReadFromTheTemporaryDirectoryAfterTheLocaleSwitch) {
  system.tempPath = ::testing::TempDir();
  if (system.tempPath.back() != '/') system.tempPath += '/';
  std::ofstream(system.tempPath + "list.txt") << "CVN_ISS,http://h/a.iss\r\n";
  services.OpenUrlList("list.txt");
  EXPECT_EQ(localeSwitches, 1);
  EXPECT_EQ(services.LookupUrlListValue("CVN_ISS"), "http://h/a.iss");
  EXPECT_EQ(services.LookupUrlListValue("CVN_EXE"), "");
}

}  // namespace
