// The install worker's order of steps, status texts and outcomes, with the worker run on
// the test's own thread; the lock protocol with real threads is in CancelGateTest.cpp.

#include "engine/InstallWorker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/EventLog.h"
#include "fakes/FakeDownloadPageView.h"
#include "fakes/FakeInstallWorkerHost.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

const std::string kJaListUrl = std::string("http://") + PELLORY_URL_HOST +
                               "/Products/tarvek/pcrw/driver/pellory/ja/url_list.txt";
const std::string kEnListUrl = std::string("http://") + PELLORY_URL_HOST +
                               "/Products/tarvek/pcrw/driver/pellory/en/url_list.txt";

class InstallWorkerTest : public ::testing::Test {
 protected:
  void Select(bool corvane, bool pelmora, bool tessaline) {
    session.installCorvane = corvane;
    session.installPelmora = pelmora;
    session.installTessaline = tessaline;
  }
  void Run() { InstallWorker(host, host.Platform(), gate, view, session).Run(); }

  EventLog log;
  InstallSession session;
  FakeInstallWorkerHost host{log};
  std::shared_ptr<CancelGate> gate = std::make_shared<CancelGate>();
  std::shared_ptr<DetachablePageView> view =
      std::make_shared<DetachablePageView>(std::make_unique<FakeDownloadPageView>(log));
};

TEST_F(InstallWorkerTest, CompleteRunOnJapaneseSystemDownloadsEverythingBeforeAnySetup) {
  Select(true, false, true);
  Run();
  EXPECT_THAT(log.Events(),
              ElementsAre("make folder",                               // before anything is fetched
                          "fetch " + kJaListUrl + " -> url_list.txt",  // status still empty
                          "open url_list.txt",                         //
                          "lookup CVN_ISS", "lookup CVN_EXE",          //
                          "lookup PM_ISS", "lookup PM_EXE",            // looked up, never fetched
                          "lookup TSL_ISS", "lookup TSL_EXE",          //
                          "close list",                                // before any component
                          "view: status 143 1/2",                      //
                          "probe",                                     //
                          "view: status 142 1/2",                      //
                          "fetch http://dl.test/c/cvn.iss -> cvn.iss",
                          "fetch+verify http://dl.test/c/cvn.exe -> cvn.exe",
                          "view: status 142 2/2",  //
                          "fetch http://dl.test/t/tsl.iss -> tsl.iss",
                          "fetch+verify http://dl.test/t/tsl.exe -> tsl.exe",
                          "view: disable cancel",   //
                          "view: marquee",          //
                          "view: status 143 1/2",   //
                          "setup cvn.exe cvn.iss",  //
                          "view: status 143 2/2",   //
                          "setup tsl.exe tsl.iss",  //
                          "view: next"));
  EXPECT_EQ(session.Result(), InstallResult::Succeeded);
}

struct StatusCase {
  const char* name;
  bool corvane, pelmora, tessaline;
  std::vector<std::string> statuses;
  std::vector<std::string> setups;
};

class InstallWorkerStatusTest : public InstallWorkerTest,
                                public ::testing::WithParamInterface<StatusCase> {};

TEST_P(InstallWorkerStatusTest, StatusTextsCountTheSelectedComponents) {
  const StatusCase& c = GetParam();
  Select(c.corvane, c.pelmora, c.tessaline);
  Run();
  EXPECT_THAT(log.WithPrefix("view: status "), ElementsAreArray(c.statuses));
  EXPECT_THAT(log.WithPrefix("setup "), ElementsAreArray(c.setups));
  EXPECT_EQ(log.Last("view: "), log.First("view: next"));
}

INSTANTIATE_TEST_SUITE_P(
    Selections, InstallWorkerStatusTest,
    ::testing::Values(
        StatusCase{"CorvaneAndTessaline",
                   true,
                   false,
                   true,
                   {"view: status 143 1/2", "view: status 142 1/2", "view: status 142 2/2",
                    "view: status 143 1/2", "view: status 143 2/2"},
                   {"setup cvn.exe cvn.iss", "setup tsl.exe tsl.iss"}},
        StatusCase{"CorvaneOnly",
                   true,
                   false,
                   false,
                   {"view: status 143 1/1", "view: status 142 1/1", "view: status 143 1/1"},
                   {"setup cvn.exe cvn.iss"}},
        // Pelmora is honoured like the others when its flag is set.
        StatusCase{"AllThree",
                   true,
                   true,
                   true,
                   {"view: status 143 1/3", "view: status 142 1/3", "view: status 142 2/3",
                    "view: status 142 3/3", "view: status 143 1/3", "view: status 143 2/3",
                    "view: status 143 3/3"},
                   {"setup cvn.exe cvn.iss", "setup pm.exe pm.iss", "setup tsl.exe tsl.iss"}},
        StatusCase{"Nothing", false, false, false, {"view: status 143 0/0"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ListLocationCase {
  const char* name;
  std::string override;
  uint16_t langId;
  std::string fetched;
  std::string opened;
};

class InstallWorkerListLocationTest : public InstallWorkerTest,
                                      public ::testing::WithParamInterface<ListLocationCase> {};

TEST_P(InstallWorkerListLocationTest, ListComesFromOverrideElseLanguage) {
  const ListLocationCase& c = GetParam();
  host.urlListOverride = c.override;
  host.langId = c.langId;
  Run();
  EXPECT_EQ(log.Events().at(1), c.fetched);
  EXPECT_EQ(log.Events().at(2), c.opened);
}

INSTANTIATE_TEST_SUITE_P(
    Locations, InstallWorkerListLocationTest,
    ::testing::Values(ListLocationCase{"English", "", 0x0409,
                                       "fetch " + kEnListUrl + " -> url_list.txt",
                                       "open url_list.txt"},
                      ListLocationCase{"Override", " http://mirror/x/list.txt?v=2", 0x0411,
                                       "fetch  http://mirror/x/list.txt?v=2 -> list.txt?v=2",
                                       "open list.txt?v=2"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ProbeCase {
  const char* name;
  std::string version;
  bool corvane, tessaline;
  bool blocks;
};

class InstallWorkerProbeTest : public InstallWorkerTest,
                               public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(InstallWorkerProbeTest, OldSoftwareStopsTheRunRightAfterTheListWhateverIsSelected) {
  const ProbeCase& c = GetParam();
  Select(c.corvane, false, c.tessaline);
  host.oldSoftwareVersion = c.version;
  Run();
  if (c.blocks) {
    EXPECT_THAT(log.WithPrefix("fetch"), ElementsAre("fetch " + kJaListUrl + " -> url_list.txt"));
    const std::vector<std::string> events = log.Events();
    EXPECT_THAT(std::vector<std::string>(events.begin() + log.First("probe"), events.end()),
                ElementsAre("probe", "view: box 178 type 0", "view: next"));
    EXPECT_EQ(session.Result(), InstallResult::OldSoftwareBlocks);
  } else {
    EXPECT_EQ(log.WithPrefix("setup ").size(), 2u);
    EXPECT_EQ(session.Result(), InstallResult::Succeeded);
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, InstallWorkerProbeTest,
                         ::testing::Values(ProbeCase{"Version1_2_0", "1.2.0", true, true, true},
                                           ProbeCase{"Version1_0_0NothingSelected", "1.0.0", false,
                                                     false, true},
                                           ProbeCase{"Version2_0_0", "2.0.0", true, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FailedFetchCase {
  const char* name;
  std::string failing;
  std::vector<std::string> fetched;  // local names, in order
};

class InstallWorkerFailedFetchTest : public InstallWorkerTest,
                                     public ::testing::WithParamInterface<FailedFetchCase> {};

TEST_P(InstallWorkerFailedFetchTest, GivingUpAFileGoesStraightToNextWithNothingInstalled) {
  const FailedFetchCase& c = GetParam();
  Select(true, false, true);
  host.failingFetches = {c.failing};
  Run();
  std::vector<std::string> fetched;
  for (const std::string& e : log.WithPrefix("fetch"))
    fetched.push_back(e.substr(e.rfind(' ') + 1));
  EXPECT_THAT(fetched, ElementsAreArray(c.fetched));
  EXPECT_THAT(log.WithPrefix("setup "), IsEmpty());
  EXPECT_FALSE(log.Has("view: disable cancel"));
  EXPECT_EQ(log.Events().back(), "view: next");
  EXPECT_EQ(session.Result(), InstallResult::DownloadFailed);
}

INSTANTIATE_TEST_SUITE_P(
    Files, InstallWorkerFailedFetchTest,
    ::testing::Values(FailedFetchCase{"FirstResponseFile", "cvn.iss", {"url_list.txt", "cvn.iss"}},
                      FailedFetchCase{
                          "LastSetupProgram",
                          "tsl.exe",
                          {"url_list.txt", "cvn.iss", "cvn.exe", "tsl.iss", "tsl.exe"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstallWorkerTest, ARejectedProgramEndsTheRunAsAFailedDownload) {
  Select(true, false, true);
  host.rejectedPrograms = {"cvn.exe"};
  Run();
  EXPECT_EQ(log.WithPrefix("fetch").back(), "fetch+verify http://dl.test/c/cvn.exe -> cvn.exe");
  EXPECT_THAT(log.WithPrefix("setup "), IsEmpty());
  EXPECT_EQ(session.Result(), InstallResult::DownloadFailed);
}

TEST_F(InstallWorkerTest, AFileWhoseNameIsTakenOrNotOfItsKindIsNeverFetchedUnderIt) {
  struct {
    const char* name;
    std::map<std::string, std::string> list;
    std::vector<std::string> fetched;  // component files, by local name; "" is refused
    std::string listUrl = "";
  } const cases[] = {
      {"SetupPrograms",
       {{"CVN_ISS", "http://d/c/c.iss"},
        {"CVN_EXE", "http://d/c/setup.exe"},
        {"TSL_ISS", "http://d/t/t.iss"},
        {"TSL_EXE", "http://d/t/setup.exe"}},
       {"c.iss", "setup.exe", "t.iss", ""}},
      {"ResponseFilesInAnotherCase",
       {{"CVN_ISS", "http://d/c/setup.iss"},
        {"CVN_EXE", "http://d/c/c.exe"},
        {"TSL_ISS", "http://d/t/SETUP.ISS"},
        {"TSL_EXE", "http://d/t/t.exe"}},
       {"setup.iss", "c.exe", ""}},
      // A response file that would be loaded as a DLL beside its program, or run as one.
      {"DllAsResponseFile", {{"CVN_ISS", "http://d/c/version.dll"}}, {""}},
      {"ProgramAsResponseFile", {{"CVN_ISS", "http://d/c/setup.exe"}}, {""}},
      {"DllAsSetupProgram",
       {{"CVN_ISS", "http://d/c/c.ISS"}, {"CVN_EXE", "http://d/c/c.iss.dll"}},
       {"c.ISS", ""}},
      {"NoExtension",
       {{"CVN_ISS", "http://d/c/c.iss"}, {"CVN_EXE", "http://d/c/setup"}},
       {"c.iss", ""}},
      // The list's own name takes part in nothing.
      {"NamedLikeTheList",
       {{"CVN_ISS", "http://d/c/list.iss"},
        {"CVN_EXE", "http://d/c/c.Exe"},
        {"TSL_ISS", "http://d/t/t.iss"},
        {"TSL_EXE", "http://d/t/t.exe"}},
       {"list.iss", "c.Exe", "t.iss", "t.exe"},
       "http://l.test/list.iss"},
  };
  for (const auto& c : cases) {
    log.Clear();
    session.RecordResult(InstallResult::Succeeded);
    Select(true, false, true);
    host.urlList = c.list;
    host.urlListOverride = c.listUrl;
    Run();
    std::vector<std::string> fetched;
    for (const std::string& e : log.WithPrefix("fetch")) {
      if (e.find(" http://d/") != std::string::npos)
        fetched.push_back(e.substr(e.rfind("-> ") + 3));
    }
    EXPECT_THAT(fetched, ElementsAreArray(c.fetched)) << c.name;
    const bool refused = c.fetched.back().empty();
    EXPECT_EQ(log.WithPrefix("setup ").empty(), refused) << c.name;
    EXPECT_EQ(session.Result(), refused ? InstallResult::DownloadFailed : InstallResult::Succeeded)
        << c.name;
  }
}

TEST_F(InstallWorkerTest, PinsAreComparedAndAPinnedListPinsWhatItNames) {
  const std::string pin = "#sha256=" + std::string(64, 'a');
  const std::map<std::string, std::string> pinned = {
      {"CVN_ISS", "http://d/cvn.iss" + pin},
      {"CVN_EXE", "http://d/cvn.exe" + pin},
      {"PM_ISS", "http://d/pm.iss"},  // never chosen: needs no pin
      {"TSL_ISS", "http://d/tsl.iss" + pin},
      {"TSL_EXE", "http://d/tsl.exe" + pin}};
  std::map<std::string, std::string> lastUnpinned = pinned, lastWrong = host.urlList;
  lastUnpinned["TSL_EXE"] = "http://d/tsl.exe";
  lastWrong["TSL_EXE"] = "http://d/tsl.exe" + pin;
  const std::string list = "http://m/l.txt" + pin, asked = "l.txt pinned, asks again";
  struct {
    const char* name;
    std::string listUrl;
    std::map<std::string, std::string> list;
    std::set<std::string> differing;
    std::vector<std::string> fetched;  // local names, "" refused, and how the pin is taken
  } const cases[] = {
      {"PinnedListAndFiles",
       list,
       pinned,
       {},
       {asked, "cvn.iss pinned", "cvn.exe pinned", "tsl.iss pinned", "tsl.exe pinned"}},
      {"ListDiffers", list, pinned, {"l.txt"}, {asked}},
      {"ResponseFileDiffers", list, pinned, {"cvn.iss"}, {asked, "cvn.iss pinned"}},
      {"PinnedListUnpinnedEntry",
       list,
       lastUnpinned,
       {},
       {asked, "cvn.iss pinned", "cvn.exe pinned", "tsl.iss pinned", ""}},
      {"UnpinnedListWrongPinOnTheLastProgram",
       "",
       lastWrong,
       {"tsl.exe"},
       {"url_list.txt", "cvn.iss", "cvn.exe", "tsl.iss", "tsl.exe pinned"}},
  };
  for (const auto& c : cases) {
    log.Clear();
    session.RecordResult(InstallResult::Pending);
    Select(true, false, true);
    host.urlListOverride = c.listUrl;
    host.urlList = c.list;
    host.differingPins = c.differing;
    Run();
    std::vector<std::string> fetched;
    for (const std::string& e : log.WithPrefix("fetch")) {
      EXPECT_EQ(e.find('#'), std::string::npos) << c.name << ": " << e;  // never requested
      fetched.push_back(e.substr(e.rfind("-> ") + 3));
    }
    EXPECT_THAT(fetched, ElementsAreArray(c.fetched)) << c.name;
    const bool failed = !c.differing.empty() || c.fetched.back().empty();
    EXPECT_EQ(log.WithPrefix("setup ").empty(), failed) << c.name;
    EXPECT_EQ(session.Result(), failed ? InstallResult::DownloadFailed : InstallResult::Succeeded)
        << c.name;
  }
}

TEST_F(InstallWorkerTest, AnUnforeseenFailureEndsOnTheLastPageAsAFailedInstallation) {
  for (const char* where : {"cvn.exe", "setup"}) {
    log.Clear();
    session.RecordResult(InstallResult::Pending);
    Select(true, false, false);
    host.onFetch = [&](const std::string& name) {
      if (name == where) throw std::runtime_error("out of memory");
    };
    host.onSetup = [&](const std::string&) {
      if (std::string(where) == "setup") throw std::runtime_error("out of memory");
    };
    Run();
    EXPECT_EQ(log.Events().back(), "view: next") << where;
    EXPECT_EQ(session.Result(), InstallResult::SetupFailed) << where;
  }
  // An outcome already recorded stays.
  log.Clear();
  session.RecordResult(InstallResult::Pending);
  host.onSetup = nullptr;
  host.onFetch = [&](const std::string& name) {
    if (name != "cvn.iss") return;
    session.RecordResult(InstallResult::DownloadFailed);
    throw std::runtime_error("window gone");
  };
  Run();
  EXPECT_EQ(session.Result(), InstallResult::DownloadFailed);
}

TEST_F(InstallWorkerTest, UrlListGivenUpGoesStraightToNext) {
  Select(true, false, true);
  host.failingFetches = {"url_list.txt"};
  Run();
  EXPECT_THAT(log.Events(),
              ElementsAre("make folder", "fetch " + kJaListUrl + " -> url_list.txt", "view: next"));
  EXPECT_EQ(session.Result(), InstallResult::DownloadFailed);
}

TEST_F(InstallWorkerTest, SetupThatCannotStartKeepsEarlierComponentsAndRunsNoneAfter) {
  Select(true, true, true);
  host.unstartableSetups = {"pm.exe"};
  Run();
  const std::vector<std::string> events = log.Events();
  EXPECT_THAT(
      std::vector<std::string>(events.begin() + log.First("view: disable cancel"), events.end()),
      ElementsAre("view: disable cancel", "view: marquee", "view: status 143 1/3",
                  "setup cvn.exe cvn.iss", "view: status 143 2/3", "setup pm.exe pm.iss",
                  "view: box 168 type 0", "view: next"));
  EXPECT_EQ(session.Result(), InstallResult::SetupFailed);
}

TEST_F(InstallWorkerTest, CancelConfirmedBeforeTheDownloadsStopsTheRunSilently) {
  Select(true, false, true);
  ASSERT_TRUE(gate->OnQueryCancel([] { return true; }, [] {}));
  view->Detach();
  Run();
  EXPECT_THAT(log.WithPrefix("fetch"), ElementsAre("fetch " + kJaListUrl + " -> url_list.txt"));
  EXPECT_THAT(log.WithPrefix("setup "), IsEmpty());
  EXPECT_THAT(log.WithPrefix("view: "), IsEmpty());
  EXPECT_EQ(session.Result(), InstallResult::Pending);
}

}  // namespace
