#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/FakeClock.h"
#include "fakes/FakeDigest.h"
#include "fakes/FakeFiles.h"
#include "fakes/FakeHttp.h"
#include "fakes/FakeThreads.h"
#include "fakes/FakeTrust.h"
#include "net/FetchAndVerify.h"

namespace {

constexpr int kRetry = 4;
constexpr int kCancel = 2;
const std::string kFile = "C:\\T\\\\setup.exe";  // the folder, "\", the name

class FakeFetchUi : public FetchUi {
 public:
  void SetProgress(int position) override {
    if (throwOnProgress) throw std::runtime_error("window gone");
    progress.push_back(position);
  }
  void AttemptEnded(const AttemptReport& report) override { reports.push_back(report); }
  int AskRetry() override {
    ++questions;
    if (onQuestion) onQuestion();
    if (answers.empty()) return kCancel;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<int> progress;
  std::vector<AttemptReport> reports;
  std::deque<int> answers;
  int questions = 0;
  bool throwOnProgress = false;
  std::function<void()> onQuestion;
};

class FetchAndVerifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    threads.runOnCreate = true;
    http.Serve("/setup.exe", FakeResponse::Body("MZ signed program"));
  }

  FetchVerdict Fetch(const char* url = "http://server.test/setup.exe", bool verify = true,
                     const char* name = "setup.exe") {
    return FetchAndVerify(name, ui, url, verify, platform, folder, locked, pin);
  }
  void ExpectNothingLeftOpen() {
    EXPECT_EQ(http.OpenHandles(), 0);
    EXPECT_EQ(files.OpenCount(), locked.IsOpen() ? 1 : 0);
  }

  FakeHttp http;
  FakeFiles files;
  ScriptedThreads threads;
  FakeClock clock;
  FakeTrust trust;
  InstallPlatform platform{&http, &files, &threads, &clock, &trust};
  std::string folder = "C:\\T\\";
  FakeFetchUi ui;
  ReadLockedFile locked;
  FilePin pin;
};

TEST_F(FetchAndVerifyTest, AVerifiedProgramStaysLockedFromBeforeItsCheck) {
  bool lockedDuringCheck = false;
  trust.onExists = [&] { lockedDuringCheck = !files.CanReplace(kFile); };
  EXPECT_EQ(Fetch(), FetchVerdict::Fetched);
  EXPECT_EQ(trust.lastPath, kFile);
  EXPECT_TRUE(lockedDuringCheck);
  EXPECT_TRUE(locked.IsOpen());
  EXPECT_FALSE(files.CanReplace(kFile));
  EXPECT_EQ(files.Content(kFile), "MZ signed program");
  ExpectNothingLeftOpen();
  locked.Reset();
  EXPECT_TRUE(files.CanReplace(kFile));
}

TEST_F(FetchAndVerifyTest, ARejectedProgramStaysOnDiskUnlockedWithoutAQuestion) {
  struct {
    const char* name;
    std::function<void(FakeTrust&)> script;
  } const cases[] = {
      {"OtherPublisher", [](FakeTrust& t) { t.displayName = "Other Corporation"; }},
      {"Unsigned", [](FakeTrust& t) { t.trustVerdict = static_cast<int32_t>(0x800B0100); }},
  };
  for (const auto& c : cases) {
    trust = FakeTrust();
    c.script(trust);
    EXPECT_EQ(Fetch(), FetchVerdict::Rejected) << c.name;
    EXPECT_EQ(ui.questions, 0) << c.name;
    EXPECT_EQ(ui.reports.back().hold.outcome, HoldOutcome::Unverified) << c.name;
    EXPECT_FALSE(locked.IsOpen()) << c.name;
    EXPECT_TRUE(files.CanReplace(kFile)) << c.name;
    EXPECT_TRUE(files.Exists(kFile)) << c.name;
    ExpectNothingLeftOpen();
  }
}

TEST_F(FetchAndVerifyTest, TheHeldBytesMustHaveThePinnedDigest) {
  const Sha256Digest served = FakeSha256("MZ signed program");
  const Sha256Digest later = FakeSha256("MZ older signed program");  // served after a question
  const Sha256Digest never = FakeSha256("neither");
  struct {
    const char* name;
    bool verify;
    FilePin pin;
    bool failDigest, otherSigner;
    FetchVerdict verdict;
    std::deque<int> answers = {};  // every one is asked for
  } const cases[] = {
      {"ProgramMatches", true, {served}, false, false, FetchVerdict::Fetched},
      {"ProgramDiffers", true, {later}, false, false, FetchVerdict::Rejected},
      {"MatchesButSignedByAnother", true, {served}, false, true, FetchVerdict::Rejected},
      {"ResponseFileDiffers", false, {later}, false, false, FetchVerdict::Rejected},
      {"DigestUnreadable", false, {served}, true, false, FetchVerdict::Rejected},
      // The list is asked about again and fetched again on Retry: its mirror may be in the
      // middle of an update.
      {"ListDiffers", false, {never, true}, false, false, FetchVerdict::GaveUp, {kRetry, kCancel}},
      {"ListRightOnRetry", false, {later, true}, false, false, FetchVerdict::Fetched, {kRetry}},
  };
  for (const auto& c : cases) {
    ui = FakeFetchUi();
    ui.answers = c.answers;
    http.Serve("/setup.exe", FakeResponse::Body("MZ signed program"));
    ui.onQuestion = [&] {
      http.Serve("/setup.exe", FakeResponse::Body("MZ older signed program"));
    };
    http.requests.clear();
    trust = FakeTrust();
    if (c.otherSigner) trust.displayName = "Other Corporation";
    files.failDigest = c.failDigest;
    pin = c.pin;
    EXPECT_EQ(Fetch("http://server.test/setup.exe", c.verify), c.verdict) << c.name;
    EXPECT_EQ(ui.questions, static_cast<int>(c.answers.size())) << c.name;
    EXPECT_EQ(http.requests.size(), 1u + std::count(c.answers.begin(), c.answers.end(), kRetry))
        << c.name;
    EXPECT_EQ(locked.IsOpen(), c.verdict == FetchVerdict::Fetched) << c.name;
    ExpectNothingLeftOpen();
    locked.Reset();
  }
}

TEST_F(FetchAndVerifyTest, WithoutVerificationAnyCompleteResponseIsAcceptedAndHeld) {
  http.Serve("/list.txt", FakeResponse::Body("garbage \x01\x02"));
  trust.exists = false;
  EXPECT_EQ(Fetch("http://server.test/list.txt", false, "list.txt"), FetchVerdict::Fetched);
  EXPECT_TRUE(trust.calls.empty());
  EXPECT_TRUE(locked.IsOpen());
  EXPECT_FALSE(files.CanReplace("C:\\T\\\\list.txt"));
  EXPECT_EQ(files.Content("C:\\T\\\\list.txt"), "garbage \x01\x02");
  ExpectNothingLeftOpen();
}

TEST_F(FetchAndVerifyTest, RetryAsksAgainUntilCancelThenGivesUp) {
  ui.answers = {kRetry, kRetry, kCancel};
  EXPECT_EQ(Fetch("http://server.test/missing.exe"), FetchVerdict::GaveUp);
  EXPECT_EQ(ui.questions, 3);
  ASSERT_EQ(http.requests.size(), 3u);
  for (const auto& request : http.requests) EXPECT_EQ(request.path, "/missing.exe");
  EXPECT_EQ(threads.creates, 3);
  EXPECT_TRUE(trust.calls.empty());
  ExpectNothingLeftOpen();
}

TEST_F(FetchAndVerifyTest, RetrySucceedsOnceTheServerAnswers) {
  FakeResponse broken = FakeResponse::Body("");
  broken.status = 503;
  http.Serve("/late.exe", broken);
  ui.answers = {kRetry};
  ui.onQuestion = [&] { http.Serve("/late.exe", FakeResponse::Body("MZ")); };
  EXPECT_EQ(Fetch("http://server.test/late.exe", false, "late.exe"), FetchVerdict::Fetched);
  EXPECT_EQ(ui.questions, 1);
  EXPECT_EQ(files.Content("C:\\T\\\\late.exe"), "MZ");
  // Each attempt is reported before its question: the failure's code, then the held file.
  ASSERT_EQ(ui.reports.size(), 2u);
  EXPECT_NE(ui.reports[0].attempt.code, 0);
  EXPECT_EQ(ui.reports[1].attempt.code, 0);
  EXPECT_EQ(ui.reports[1].attempt.bytes, 2u);
  EXPECT_EQ(ui.reports[1].hold.outcome, HoldOutcome::Held);
  // Each attempt starts its bar at 0.
  EXPECT_EQ(ui.progress, (std::vector<int>{0, 0, 0, 100}));
}

TEST_F(FetchAndVerifyTest, ProgressIsPolledEvery100msAndTheEndWaitsForNoFurtherPoll) {
  threads.runOnCreate = false;
  // The transfer ends during the third pause between polls, however the step pauses: a
  // wait on the thread ends with it, one that times out lasts its time.
  int pauses = 0;
  const auto pause = [&] {
    if (threads.HasPendingThread() && ++pauses == 3) threads.RunThread();
  };
  clock.onSleep = pause;
  threads.onWait = [&](uint32_t milliseconds) {
    pause();
    if (threads.HasPendingThread()) clock.Advance(milliseconds);
  };
  const uint32_t start = clock.now.load();
  FakeResponse failing = FakeResponse::Body("oops");
  failing.status = 404;
  http.Serve("/setup.exe", failing);
  EXPECT_EQ(Fetch(), FetchVerdict::GaveUp);
  // The failure survives the polls, so the question comes.
  EXPECT_EQ(ui.questions, 1);
  EXPECT_EQ(ui.progress, (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_EQ(clock.now.load() - start, 200u);
}

// Transfers that never start bring the question at once: no thread, no poll, no wait.
struct NotStarted {
  const char* name;
  const char* url;
  std::string fileName;
  bool threadCreationFails;
  std::string folder;
};

const NotStarted kNotStarted[] = {
    {"Https", "https://server.test/setup.exe", "setup.exe", false, "C:\\T\\"},
    {"EmptyUrl", "", "setup.exe", false, "C:\\T\\"},
    {"UrlEndsWithSlash", "http://server.test/dir/", "", false, "C:\\T\\"},
    {"NoPathInUrl", "http://server.test", "setup.exe", false, "C:\\T\\"},
    {"PathOf260Bytes", "http://server.test/setup.exe", std::string(260 - 6, 'n'), false, "C:\\T\\"},
    {"NoFolder", "http://server.test/setup.exe", "setup.exe", false, ""},
    {"NoThread", "http://server.test/setup.exe", "setup.exe", true, "C:\\T\\"},
};

TEST_F(FetchAndVerifyTest, TransfersThatNeverStartAskAtOnce) {
  files.failCreate.insert("C:\\T\\\\");  // the folder itself
  for (const NotStarted& c : kNotStarted) {
    ui = FakeFetchUi();
    threads.failCreate = c.threadCreationFails;
    folder = c.folder;
    const int createsBefore = threads.creates;
    const size_t requestsBefore = http.requests.size();
    EXPECT_EQ(Fetch(c.url, true, c.fileName.c_str()), FetchVerdict::GaveUp) << c.name;
    EXPECT_EQ(ui.questions, 1) << c.name;
    EXPECT_EQ(ui.progress, std::vector<int>{0}) << c.name;
    EXPECT_EQ(clock.sleeps.load(), 0) << c.name;
    EXPECT_EQ(threads.creates - createsBefore, c.threadCreationFails ? 1 : 0) << c.name;
    EXPECT_EQ(http.requests.size(), requestsBefore) << c.name;
    EXPECT_TRUE(trust.calls.empty()) << c.name;
    ExpectNothingLeftOpen();
  }
  EXPECT_FALSE(files.Exists("C:\\T\\\\" + kNotStarted[4].fileName));
}

TEST_F(FetchAndVerifyTest, ASecondFetchOverwritesTheFirst) {
  http.Serve("/a.txt", FakeResponse::Body("first, longer"));
  EXPECT_EQ(Fetch("http://server.test/a.txt", false, "a.txt"), FetchVerdict::Fetched);
  http.Serve("/a.txt", FakeResponse::Body("second"));
  EXPECT_EQ(Fetch("http://server.test/a.txt", false, "a.txt"), FetchVerdict::Fetched);
  EXPECT_EQ(files.Content("C:\\T\\\\a.txt"), "second");
}

TEST_F(FetchAndVerifyTest, AnExceptionPassingThroughStillDestroysTheContext) {
  ui.throwOnProgress = true;
  EXPECT_THROW(Fetch(), std::runtime_error);
  EXPECT_EQ(http.OpenHandles(), 0);
  EXPECT_EQ(files.OpenCount(), 0);
}

}  // namespace
