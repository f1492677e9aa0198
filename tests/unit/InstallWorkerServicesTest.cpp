// The worker's steps over fake platform services: every file of the run goes into the
// new private folder (never the user's TEMP), a verified program stays locked until its
// setup has started and a response file until its setup has ended, the list is read from
// the folder after the locale switch, and the fetch step's verdict reaches the worker
// unchanged.

#include "engine/InstallWorkerServices.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "fakes/EventLog.h"
#include "fakes/FakeDownloadPageView.h"
#include "fakes/FakeInstallPlatform.h"

namespace {

const std::string kFolder = "C:\\Windows\\Temp\\Pellory.0badf00d\\";

class InstallWorkerServicesTest : public ::testing::Test, protected FakeInstallPlatform {
 protected:
  void SetUp() override {
    threads.runOnCreate = true;
    system.tempPath = "C:\\Users\\u\\AppData\\Local\\Temp\\";  // the user's: never used
    http.Serve("/c/setup.exe", FakeResponse::Body("MZ signed"));
    http.Serve("/c/setup.iss", FakeResponse::Body("answers"));
  }

  EventLog log;
  FakeDownloadPageView* page = new FakeDownloadPageView(log);  // owned by services
  int localeSwitches = 0;
  std::unique_ptr<InstallWorkerServices> services = std::make_unique<InstallWorkerServices>(
      Platform(), std::shared_ptr<DownloadPageView>(page), nullptr, [this] { ++localeSwitches; });
};

TEST_F(InstallWorkerServicesTest, EveryFileAndTheSetupsRunAreInTheNewFolderHeldToTheEnd) {
  services->MakeWorkFolder();
  ASSERT_EQ(folders.creates.size(), 1u);
  EXPECT_EQ(folders.creates[0].first, kFolder);
  EXPECT_EQ(folders.held, 1);
  ASSERT_EQ(services->FetchAndVerify("setup.iss", "http://dl.test/c/setup.iss", false),
            FetchVerdict::Fetched);
  ASSERT_EQ(services->FetchAndVerify("setup.exe", "http://dl.test/c/setup.exe", true),
            FetchVerdict::Fetched);
  EXPECT_EQ(files.Content(kFolder + "\\setup.exe"), "MZ signed");
  EXPECT_EQ(files.Content(kFolder + "\\setup.iss"), "answers");

  bool programLockedAtStart = false, answersLockedAtStart = false;
  launcher.onStart = [&] {
    programLockedAtStart = !files.CanReplace(kFolder + "\\setup.exe");
    answersLockedAtStart = !files.CanReplace(kFolder + "\\setup.iss");
  };
  launcher.wait = [&] {  // the program has started; its answers are still held
    EXPECT_TRUE(files.CanReplace(kFolder + "\\setup.exe"));
    EXPECT_FALSE(files.CanReplace(kFolder + "\\setup.iss"));
  };
  EXPECT_TRUE(services->RunSetup("setup.exe", "setup.iss"));
  EXPECT_TRUE(programLockedAtStart);
  EXPECT_TRUE(answersLockedAtStart);
  EXPECT_TRUE(files.CanReplace(kFolder + "\\setup.iss"));  // released once the setup ended
  const FakeProcessLauncher::Start& start = launcher.starts.at(0);
  EXPECT_EQ(start.applicationName, kFolder + "setup.exe");
  EXPECT_EQ(start.commandLine,
            kFolder + "setup.exe /nodialog /noreboot /nocvn -s -f1\"" + kFolder + "setup.iss\"");
  EXPECT_EQ(start.currentDirectory, kFolder);
  EXPECT_EQ(start.environment.at(2), "TEMP=C:\\Windows\\Temp\\Pellory.0badf00d");
  EXPECT_EQ(start.environment.at(3), "tmp=C:\\Windows\\Temp\\Pellory.0badf00d");
  EXPECT_TRUE(log.Has("view: show page"));

  EXPECT_EQ(folders.held, 1);  // until the worker's services go
  services.reset();
  EXPECT_EQ(folders.held, 0);
}

TEST_F(InstallWorkerServicesTest, WithoutAFolderNothingIsRequestedWrittenOrRun) {
  folders.randoms.clear();  // no fresh name to be had
  services->MakeWorkFolder();
  page->messageBoxAnswer = kIdCancel;
  EXPECT_EQ(services->FetchAndVerify("url_list.txt", "http://dl.test/url_list.txt", false),
            FetchVerdict::GaveUp);
  EXPECT_TRUE(log.Has("view: box 153 type 5"));  // at once, and Cancel gives up
  EXPECT_TRUE(http.requests.empty());
  EXPECT_EQ(files.OpenCount(), 0);
  EXPECT_FALSE(services->RunSetup("setup.exe", "setup.iss"));
  EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(InstallWorkerServicesTest, VerdictsPassThroughAndOnlyFetchedFilesAreHeld) {
  services->MakeWorkFolder();
  trust.displayName = "Other Corporation";
  page->messageBoxAnswer = kIdCancel;
  EXPECT_EQ(services->FetchAndVerify("setup.exe", "http://dl.test/c/setup.exe", true),
            FetchVerdict::Rejected);
  EXPECT_EQ(services->FetchAndVerify("gone.exe", "http://dl.test/c/gone.exe", true),
            FetchVerdict::GaveUp);  // 404; the page's box answers Cancel
  EXPECT_TRUE(log.Has("view: box 153 type 5"));
  EXPECT_EQ(files.OpenCount(), 0);
}

TEST_F(InstallWorkerServicesTest, TheListIsReadFromTheFolderAfterTheLocaleSwitch) {
  folders.PlaceOnDisk();
  services->MakeWorkFolder();
  const std::string list = folders.creates.at(0).first + "list.txt";
  std::ofstream(list) << "CVN_ISS,http://h/a.iss\r\n";
  services->OpenUrlList("list.txt");
  EXPECT_EQ(localeSwitches, 1);
  EXPECT_EQ(services->LookupUrlListValue("CVN_ISS"), "http://h/a.iss");
  EXPECT_EQ(services->LookupUrlListValue("CVN_EXE"), "");
  services->CloseUrlList();
  std::remove(list.c_str());
}

TEST_F(InstallWorkerServicesTest, AWorkerThatCannotStartLeavesNoOutcomeAndNothingBehind) {
  InstallSession session;
  threads.failCreate = true;
  const InstallPlatform platform = Platform();
  EXPECT_FALSE(StartInstallWorker(platform, std::make_shared<CancelGate>(),
                                  std::make_shared<DetachablePageView>(nullptr), session));
  EXPECT_EQ(session.Result(), InstallResult::Pending);  // reported as a failed installation
  EXPECT_TRUE(folders.creates.empty());
}

}  // namespace
