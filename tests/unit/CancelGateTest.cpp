// The cancel gate: what a cancel request does in each state of the run, and, with real
// threads (a stand-in user-interface thread, the worker on its own thread), the lock
// protocol around the start of the install phase.

#include "engine/CancelGate.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "engine/InstallWorker.h"
#include "fakes/EventLog.h"
#include "fakes/FakeDownloadPage.h"
#include "fakes/FakeDownloadPageView.h"
#include "fakes/FakeInstallWorkerHost.h"
#include "fakes/FakeUiThread.h"
#include "fakes/Signal.h"

using ::testing::IsEmpty;

namespace {

// ---- One thread: the answer to a cancel request in each state ----

enum class GateState { Downloading, SetupRunning, PhaseEntered, AlreadyCancelled };

struct QueryCase {
  const char* name;
  GateState state;
  bool userSaysYes;
  bool expectAsked;
  bool expectCancel;
};

class CancelGateQueryTest : public ::testing::TestWithParam<QueryCase> {};

TEST_P(CancelGateQueryTest, AsksOnlyWhileTheDownloadsRun) {
  const QueryCase& c = GetParam();
  CancelGate gate;
  auto noPause = [] {};
  switch (c.state) {
    case GateState::Downloading:
      break;
    case GateState::SetupRunning:
      ASSERT_TRUE(gate.EnterInstallPhase(noPause));
      gate.SetSetupRunning(true);
      break;
    case GateState::PhaseEntered:  // between two setup runs
      ASSERT_TRUE(gate.EnterInstallPhase(noPause));
      break;
    case GateState::AlreadyCancelled:
      ASSERT_TRUE(gate.OnQueryCancel([] { return true; }, [] {}));
      break;
  }
  int asked = 0, disabled = 0;
  const bool cancel = gate.OnQueryCancel(
      [&] {
        ++asked;
        return c.userSaysYes;
      },
      [&] { ++disabled; });
  EXPECT_EQ(asked, c.expectAsked ? 1 : 0);
  EXPECT_EQ(cancel, c.expectCancel);
  EXPECT_EQ(disabled, 0);  // only when the phase is announced during the question
  EXPECT_EQ(gate.IsAbandoned(), c.expectCancel);
}

INSTANTIATE_TEST_SUITE_P(
    States, CancelGateQueryTest,
    ::testing::Values(QueryCase{"DownloadingNo", GateState::Downloading, false, true, false},
                      QueryCase{"DownloadingYes", GateState::Downloading, true, true, true},
                      QueryCase{"SetupRunning", GateState::SetupRunning, true, false, false},
                      QueryCase{"PhaseEntered", GateState::PhaseEntered, true, false, false},
                      QueryCase{"AlreadyCancelled", GateState::AlreadyCancelled, false, false,
                                true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CancelGateTest, ASecondRequestWhileTheQuestionIsOpenIsRefusedWithoutAnotherBox) {
  CancelGate gate;
  int asked = 0;
  bool inner = true;
  const bool outer = gate.OnQueryCancel(
      [&] {
        ++asked;
        inner = gate.OnQueryCancel([&] { return ++asked, true; }, [] {});
        return false;
      },
      [] {});
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(inner);
  EXPECT_FALSE(outer);
  EXPECT_FALSE(gate.IsAbandoned());
}

TEST(CancelGateTest, InstallPhaseIsNotEnteredAfterAConfirmedCancel) {
  CancelGate gate;
  ASSERT_TRUE(gate.OnQueryCancel([] { return true; }, [] {}));
  EXPECT_FALSE(gate.EnterInstallPhase([] {}));
}

// ---- Real threads: the worker against a user-interface thread ----

class CancelProtocolTest : public ::testing::Test {
 protected:
  CancelProtocolTest() { session.installTessaline = true; }  // components 1 and 3
  ~CancelProtocolTest() override {
    if (worker.joinable()) worker.join();
  }

  void StartWorker() {
    worker = std::thread([this] {
      InstallWorker(host, host.Platform(), gate, view, session).Run();
      workerEnded.Set();
    });
  }
  void JoinWorker() {
    workerEnded.Wait("the end of the worker's run");
    worker.join();
  }
  // Gives a worker that is not held back every chance to run ahead.
  static void LetOtherThreadsRun() {
    for (int i = 0; i < 2000; ++i) std::this_thread::yield();
  }
  // No call reached the page after it detached.
  void ExpectNoViewCallAfterDetach() {
    ASSERT_TRUE(log.Has("ui: detached"));
    EXPECT_LT(log.Last("view: "), log.First("ui: detached"));
  }

  EventLog log;
  InstallSession session;
  FakeInstallWorkerHost host{log};
  FakeUiThread ui;
  std::shared_ptr<CancelGate> gate = std::make_shared<CancelGate>();
  FakeDownloadPageView* pageView = new FakeDownloadPageView(log, &ui);  // owned by view
  std::shared_ptr<DetachablePageView> view =
      std::make_shared<DetachablePageView>(std::unique_ptr<DownloadPageView>(pageView));
  FakeDownloadPage page{ui, log, gate, view};
  Signal workerEnded;
  std::thread worker;  // last: joined before anything it uses goes away
};

TEST_F(CancelProtocolTest, QuestionOpenWhenDownloadsEndHoldsBackSetupAndNoDisablesCancel) {
  page.RequestCancel();
  page.boxOpened.Wait("the confirmation");
  StartWorker();  // the downloads run while the question is open
  WaitUntil([&] { return gate->IsInstallPhaseAnnounced(); }, "the install phase");
  LetOtherThreadsRun();
  EXPECT_FALSE(log.Has("setup "));
  EXPECT_FALSE(log.Has("view: disable cancel"));

  page.Answer(false);
  JoinWorker();
  EXPECT_LT(log.First("view: status 142 2/2"), log.First("ui: box 169 No"));  // not paused
  EXPECT_LT(log.First("ui: box 169 No"), log.First("ui: disable cancel"));
  EXPECT_LT(log.First("ui: disable cancel"), log.First("setup "));
  EXPECT_LT(log.First("view: disable cancel"), log.First("setup "));
  EXPECT_EQ(log.WithPrefix("setup ").size(), 2u);
  EXPECT_EQ(log.Events().back(), "view: next");
  EXPECT_EQ(session.Result(), InstallResult::Succeeded);
}

TEST_F(CancelProtocolTest, YesWhenDownloadsEndStartsNoSetupAndLeavesThePageAlone) {
  page.RequestCancel();
  page.boxOpened.Wait("the confirmation");
  StartWorker();
  WaitUntil([&] { return gate->IsInstallPhaseAnnounced(); }, "the install phase");
  page.Answer(true);
  page.cancelHandled.Wait("the cancel");
  JoinWorker();
  EXPECT_THAT(log.WithPrefix("setup "), IsEmpty());
  ExpectNoViewCallAfterDetach();
  EXPECT_FALSE(log.Has("view: next"));
  EXPECT_EQ(session.Result(), InstallResult::Pending);  // the wizard closes with no outcome
}

TEST_F(CancelProtocolTest, YesDuringADownloadFetchesNothingMoreAndStartsNoSetup) {
  Signal inFetch, release;
  host.onFetch = [&](const std::string& name) {
    if (name != "cvn.exe") return;
    view->SetProgress(40);  // the fetch step drives the bar through the same view
    inFetch.Set();
    release.Wait("the end of the held download");
    view->SetProgress(100);  // detached by now: must not reach the page
  };
  StartWorker();
  inFetch.Wait("the download of cvn.exe");
  page.RequestCancel();
  page.boxOpened.Wait("the confirmation");
  page.Answer(true);
  page.cancelHandled.Wait("the cancel");
  release.Set();
  JoinWorker();
  EXPECT_EQ(log.Last("fetch"), log.First("fetch+verify http://dl.test/c/cvn.exe"));
  EXPECT_THAT(log.WithPrefix("setup "), IsEmpty());
  EXPECT_TRUE(log.Has("view: progress 40"));
  ExpectNoViewCallAfterDetach();
}

TEST_F(CancelProtocolTest, CancelDuringASetupRunIsRefusedWithoutAsking) {
  Signal inSetup, release;
  host.onSetup = [&](const std::string& name) {
    if (name != "cvn.exe") return;
    inSetup.Set();
    release.Wait("the end of the held setup run");
  };
  StartWorker();
  inSetup.Wait("the setup run of cvn.exe");
  page.RequestCancel();
  page.cancelHandled.Wait("the cancel");
  release.Set();
  JoinWorker();
  EXPECT_FALSE(log.Has("ui: box 169"));
  EXPECT_TRUE(log.Has("ui: cancel refused"));
  EXPECT_EQ(log.WithPrefix("setup ").size(), 2u);
  EXPECT_EQ(log.Events().back(), "view: next");
}

// The user presses Cancel just as the worker asks the user-interface thread to disable it:
// that thread handles the cancel request first, while the worker waits for it. Neither may
// wait for the other with the gate's lock held.
TEST_F(CancelProtocolTest, CancelArrivingWhileTheWorkerDisablesCancelDoesNotDeadlock) {
  pageView->beforeDisableCancel = [&] { page.RequestCancel(); };
  StartWorker();
  JoinWorker();  // aborts the test program on a deadlock
  EXPECT_FALSE(log.Has("ui: box 169"));
  EXPECT_LT(log.First("ui: cancel refused"), log.First("view: disable cancel"));
  EXPECT_EQ(log.WithPrefix("setup ").size(), 2u);
  EXPECT_EQ(log.Events().back(), "view: next");
  EXPECT_EQ(session.Result(), InstallResult::Succeeded);
}

}  // namespace
