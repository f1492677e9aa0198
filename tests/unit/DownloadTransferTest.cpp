// The transfer thread: its results, its stall limit on the fake tick count, and a
// suite that runs it on a real thread against its owner (for TSan).

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "fakes/DownloadFixture.h"
#include "fakes/Signal.h"
#include "net/DownloadClient.h"

namespace {

struct TransferCase {
  const char* name;
  std::function<FakeResponse()> response;
  std::function<void(FakeFiles&)> script;
  int32_t expectedCode;
  std::string expectedContent;
  uint32_t lastError;
};
void PrintTo(const TransferCase& c, std::ostream* os) { *os << c.name; }

class DownloadTransferTest : public DownloadFixture,
                             public ::testing::WithParamInterface<TransferCase> {};

TEST_P(DownloadTransferTest, EndsWithItsResultAndClosesTheFile) {
  const TransferCase& c = GetParam();
  http.Serve("/f", c.response());
  c.script(files);
  EXPECT_EQ(Transfer(Url("/f")), c.expectedCode);
  EXPECT_EQ(static_cast<int32_t>(threads.exitCode), Peer::TransferResult(ctx).load());
  EXPECT_EQ(files.Content(kDestination), c.expectedContent);
  EXPECT_EQ(ctx.LastError(), c.lastError);
  // The thread closes the file on every way out, unless that close fails; then the
  // context still holds it, and Stop closes it (a second close would fail).
  const bool closed = c.expectedCode != 999000;
  EXPECT_EQ(files.OpenCount(), closed ? 0 : 1);
  EXPECT_EQ(ctx.Stop(StopMode::Graceful), 0);
  EXPECT_EQ(files.OpenCount(), 0);
  for (uint32_t size : http.readSizes) EXPECT_EQ(size, 10239u);
}

FakeResponse Status(uint32_t status) {
  FakeResponse r = FakeResponse::Body("error page");
  r.status = status;
  return r;
}
FakeResponse Chunks(std::vector<std::string> chunks, std::optional<uint32_t> length) {
  FakeResponse r;
  r.chunks = std::move(chunks);
  r.contentLength = length;
  return r;
}
void Intact(FakeFiles&) {}
const std::string kBig(25000, 'b');  // three reads

INSTANTIATE_TEST_SUITE_P(
    Results, DownloadTransferTest,
    ::testing::Values(
        TransferCase{"Complete",
                     [] {
                       return Chunks({"abc", "defg"}, 7);
                     },
                     Intact, 0, "abcdefg", 0},
        TransferCase{"SeveralReads", [] { return FakeResponse::Body(kBig); }, Intact, 0, kBig, 0},
        TransferCase{"EmptyBody", [] { return FakeResponse::Body(""); }, Intact, 0, "", 0},
        // Complete (result 0), and more arrived than announced: 500000.
        TransferCase{"LongerThanAnnounced",
                     [] {
                       return Chunks({"abc", "defgh", "ij"}, 5);
                     },
                     Intact, 500000, "abcdefgh", 0},
        TransferCase{"StatusBelow400GoesOn", [] { return Status(302); }, Intact, 0, "error page",
                     0},
        TransferCase{"Status404", [] { return Status(404); }, Intact, 304000, "", 0},
        TransferCase{"Status400", [] { return Status(400); }, Intact, 304000, "", 0},
        TransferCase{"Status500", [] { return Status(500); }, Intact, 304000, "", 0},
        TransferCase{"NoContentLength", [] { return Chunks({"abc"}, std::nullopt); }, Intact,
                     305000, "", kErrorHeaderNotFound},
        TransferCase{"SendFails",
                     [] {
                       FakeResponse r = FakeResponse::Body("x");
                       r.failSend = true;
                       return r;
                     },
                     Intact, 302000, "", kErrorCannotConnect},
        TransferCase{"StatusUnreadable",
                     [] {
                       FakeResponse r = FakeResponse::Body("x");
                       r.failStatus = true;
                       return r;
                     },
                     Intact, 303000, "", kErrorHeaderNotFound},
        TransferCase{"ReadFails",
                     [] {
                       FakeResponse r = Chunks({"abc"}, 10);
                       r.failReadAtEnd = true;
                       return r;
                     },
                     Intact, 308000, "abc", kErrorInternetTimeout},
        TransferCase{"ShortBody", [] { return Chunks({"abc"}, 10); }, Intact, 309000, "abc", 0},
        TransferCase{"WriteFails", [] { return FakeResponse::Body("abc"); },
                     [](FakeFiles& f) { f.failWrite = true; }, 310000, "", kErrorDiskFull},
        TransferCase{"CloseFailsOnce", [] { return FakeResponse::Body("abc"); },
                     [](FakeFiles& f) { f.failCloses = 1; }, 311000, "abc", kErrorAccessDenied},
        TransferCase{"CloseFailsTwice", [] { return FakeResponse::Body("abc"); },
                     [](FakeFiles& f) { f.failCloses = 2; }, 999000, "abc", kErrorAccessDenied},
        TransferCase{"CleanupCloseFails", [] { return Status(404); },
                     [](FakeFiles& f) { f.failCloses = 1; }, 999000, "", kErrorAccessDenied}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadFixture, ThreadWithoutAContextRecordsNothing) {
  EXPECT_EQ(Peer::ThreadProc(nullptr), 300000u);
}

TEST_F(DownloadFixture, ThreadWithoutAnOpenRequestEndsWith301000) {
  ASSERT_TRUE(ctx.Start(Url("/f").c_str(), kDestination));
  http.Close(std::exchange(Peer::Request(ctx), HttpHandle::None));
  ctx.Launch();
  threads.RunThread();
  EXPECT_EQ(ctx.Code(), 301000);
  EXPECT_EQ(files.OpenCount(), 0);
}

TEST_F(DownloadFixture, OverrunShowsInTheCombinedCodeOverAResultOf0) {
  http.Serve("/f", Chunks({"abcdefgh"}, 5));
  EXPECT_EQ(Transfer(Url("/f")), 500000);
  EXPECT_EQ(threads.exitCode, 0u);
  EXPECT_EQ(ctx.Poll().percent, 100);
  EXPECT_EQ(ctx.Code(), 500000);
}

TEST_F(DownloadFixture, StopRequestEndsTheTransferAfterTheCurrentRead) {
  FakeResponse response = Chunks({"aa", "bb", "cc"}, 6);
  response.onRead = [this](int read) {
    if (read == 1) Peer::StopRequested(ctx).store(true);
  };
  http.Serve("/f", response);
  EXPECT_EQ(Transfer(Url("/f")), 307000);
  EXPECT_EQ(files.Content(kDestination), "aabb");
  EXPECT_EQ(ctx.ReceivedSize(), 4u);
}

// ---- The stall limit, on the fake tick count ------------------------------------------

TEST_F(DownloadFixture, ShortBodyStallsJustAfter30000msAndPausesBetweenEmptyReads) {
  uint32_t lastDataTick = 0;
  FakeResponse response = Chunks({"abc"}, 10);
  response.onRead = [&](int read) {
    clock.Advance(7);  // every read takes a little time
    if (read == 0) lastDataTick = clock.now.load();
  };
  http.Serve("/f", response);
  EXPECT_EQ(Transfer(Url("/f")), 309000);
  const uint32_t stalledFor = clock.now.load() - lastDataTick;
  EXPECT_GT(stalledFor, 30000u);
  EXPECT_LE(stalledFor, 30000u + 100 + 7);
  // No spin: every empty read but the last is followed by a pause of 100 ms.
  const int emptyReads = http.ReadCount() - 1;
  EXPECT_EQ(clock.sleeps.load(), emptyReads - 1);
  EXPECT_LT(emptyReads, 300);
}

TEST_F(DownloadFixture, StallClockStartsAtSystemStartNotAtTheTransfer) {
  struct {
    uint32_t startTick;
    int expectedSleeps;
  } const cases[] = {
      {5'000'000, 0},  // running for a long time: a body without data stalls at once
      {10'000, 201},   // just started: not before tick 30001
  };
  for (const auto& c : cases) {
    clock.now.store(c.startTick);
    clock.sleeps.store(0);
    http.Serve("/f", Chunks({}, 10));
    EXPECT_EQ(Transfer(Url("/f")), 309000);
    EXPECT_EQ(clock.sleeps.load(), c.expectedSleeps) << c.startTick;
  }
}

TEST_F(DownloadFixture, StallLimitSurvivesTheTickCountWrapping) {
  clock.now.store(0xFFFFFFFFu - 1000);
  FakeResponse response = Chunks({"abc"}, 10);
  http.Serve("/f", response);
  EXPECT_EQ(Transfer(Url("/f")), 309000);
  EXPECT_GT(clock.sleeps.load(), 299);
}

// ---- The real thread against its owner ------------------------------------------------

class DownloadThreadTest : public ::testing::Test {
 protected:
  FakeHttp http;
  FakeFiles files;
  StdThreads threads;
  FakeClock clock;
  InstallPlatform platform{&http, &files, &threads, &clock};
  std::optional<DownloadContext> download{std::in_place, platform};
};

TEST_F(DownloadThreadTest, OwnerPollsUntilFinishedAndSeesTheFinalResult) {
  std::vector<std::string> chunks(50, std::string(1000, 'z'));
  http.Serve("/f", Chunks(chunks, 50000));
  ASSERT_TRUE(download->Start("http://server.test/f", kDestination));
  ASSERT_TRUE(download->Launch());
  int last = 0;
  for (DownloadPoll poll = download->Poll(); poll.state != DL_FINISHED; poll = download->Poll()) {
    EXPECT_GE(poll.percent, last);
    last = poll.percent;
    std::this_thread::yield();
  }
  EXPECT_EQ(download->ReceivedSize(), 50000u);
  EXPECT_EQ(download->Code(), 0);
  download.reset();
  EXPECT_EQ(files.Content(kDestination).size(), 50000u);
  EXPECT_EQ(http.OpenHandles(), 0);
  EXPECT_EQ(files.OpenCount(), 0);
}

TEST_F(DownloadThreadTest, GracefulStopEndsARunningTransferWith307000) {
  Signal reading;
  Signal release;
  FakeResponse response = Chunks({"aa", "bb", "cc"}, 6);
  response.onRead = [&](int read) {
    if (read != 1) return;
    reading.Set();
    release.Wait("the owner's stop request");
  };
  http.Serve("/f", response);
  ASSERT_TRUE(download->Start("http://server.test/f", kDestination));
  ASSERT_TRUE(download->Launch());
  reading.Wait("the second read");
  std::thread stopper([&] { EXPECT_EQ(download->Stop(StopMode::Graceful), 0); });
  WaitUntil([&] { return Peer::StopRequested(*download).load(); }, "the stop request");
  release.Set();
  stopper.join();
  EXPECT_EQ(threads.lastExitCode, 307000u);
  EXPECT_EQ(Peer::TransferResult(*download).load(), 307000);
  EXPECT_EQ(download->Poll().state, DL_IDLE);
  EXPECT_EQ(files.Content(kDestination), "aabb");
}

TEST_F(DownloadThreadTest, StalledBodyEndsOnTheFakeClockWithoutWallTime) {
  http.Serve("/f", Chunks({"abc"}, 10));
  ASSERT_TRUE(download->Start("http://server.test/f", kDestination));
  ASSERT_TRUE(download->Launch());
  while (download->Poll().state != DL_FINISHED) std::this_thread::yield();
  EXPECT_EQ(download->Code(), 309000);
}

}  // namespace
