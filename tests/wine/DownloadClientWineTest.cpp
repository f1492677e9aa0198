// The download client over the real WinINet, files and threads, against the fault server:
// the code each kind of misbehaviour ends in, the file it leaves, and what it costs.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>
#include <winsock2.h>

#include <string>

#include "FetchTestServer.h"
#include "net/DownloadClient.h"
#include "platform/SystemInfo.h"

namespace {

struct Outcome {
  int32_t code = -1;
  uint32_t lastError = 0;
  double seconds = 0;     // from Start to DL_FINISHED
  double cpuSeconds = 0;  // used by this process during the transfer
  std::string content;
};

double Seconds(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 1e7;
}

// Wine reports no times for single threads, so the whole process is measured.
double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  return Seconds(kernel) + Seconds(user);
}

class DownloadClientWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_TEST_SERVER();
    m_destination = RunningSystem().TempPath() + "\\" + UniqueTestName() + ".bin";
    Publish("f.bin", Body());
  }
  void TearDown() override { DeleteFileA(m_destination.c_str()); }

  static std::string Body() {
    std::string body(20000, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + i % 23);
    return body;
  }

  // One transfer, polled the way the fetch step polls it: a wait of up to 100 ms on the
  // transfer's end between polls.
  Outcome Download(const std::string& url) {
    Outcome outcome;
    {
      DownloadContext download({&SystemHttp(), &SystemFiles(), &SystemThreads(), &SystemClock()});
      const DWORD start = GetTickCount();
      const double cpuAtStart = ProcessCpuSeconds();
      if (download.Start(url.c_str(), m_destination.c_str()) && download.Launch()) {
        while (download.Poll().state != DL_FINISHED) download.AwaitEnd(100);
      }
      outcome.cpuSeconds = ProcessCpuSeconds() - cpuAtStart;
      outcome.seconds = (GetTickCount() - start) / 1000.0;
      outcome.code = download.Code();
      outcome.lastError = download.LastError();
    }
    outcome.content = ReadWholeFile(m_destination);
    return outcome;
  }

  std::string m_destination;
};

struct WireCase {
  const char* name;
  const char* kind;  // fault on /f.bin; "" serves the file
  const char* arg;
  int32_t expected;
  bool complete;  // the file holds the whole body; otherwise it is empty
};
void PrintTo(const WireCase& c, std::ostream* os) { *os << c.name; }

class DownloadClientWireTest : public DownloadClientWineTest,
                               public ::testing::WithParamInterface<WireCase> {};

TEST_P(DownloadClientWireTest, EndsInItsCode) {
  const WireCase& c = GetParam();
  Publish("g.bin", "redirected " + Body());
  if (*c.kind) SetFault("/f.bin", c.kind, c.arg);
  const Outcome outcome = Download(ServerUrl("/f.bin"));
  EXPECT_EQ(outcome.code, c.expected) << "last error " << outcome.lastError;
  if (std::string(c.kind) == "redirect") {
    EXPECT_EQ(outcome.content, "redirected " + Body());
  } else {
    EXPECT_EQ(outcome.content, c.complete ? Body() : "");
  }
  EXPECT_LT(outcome.seconds, 10);
}

INSTANTIATE_TEST_SUITE_P(Faults, DownloadClientWireTest,
                         ::testing::Values(WireCase{"Served", "", "", 0, true},
                                           WireCase{"Status404", "status", "404", 304000, false},
                                           WireCase{"Status500", "status", "500", 304000, false},
                                           WireCase{"Chunked", "chunked", "", 305000, false},
                                           WireCase{"Redirect", "redirect", "/g.bin", 0, true},
                                           WireCase{"LongerThanAnnounced", "long", "5000", 0, true},
                                           WireCase{"StallBeforeHeaders", "stall", "2", 0, true},
                                           WireCase{"Drip", "drip", "40000", 0, true},
                                           // WinINet takes bytes without a status line for an
                                           // HTTP/0.9 answer, which has no Content-Length.
                                           WireCase{"Garbage", "garbage", "", 305000, false},
                                           WireCase{"ClosedWithoutAnswer", "close", "", 305000,
                                                    false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadClientWineTest, RefusalsBeforeAnyTransfer) {
  struct {
    std::string url;
    int32_t expected;
    bool fileLeft;
  } const cases[] = {
      {"https://" + TestVariable("PELLORY_TEST_SERVER") + "/f.bin", 110000, true},
      {"", 109401, true},
      {ServerUrl(""), 111302, true},
      {ServerUrl("/" + std::string(511 - ServerUrl("/").size(), 'u') + "x"), 102000, false},
      {"http://127.0.0.1:9/f.bin", 302000, true},  // nothing listens there
  };
  for (const auto& c : cases) {
    DeleteFileA(m_destination.c_str());
    const Outcome outcome = Download(c.url);
    EXPECT_EQ(outcome.code, c.expected) << c.url;
    EXPECT_EQ(GetFileAttributesA(m_destination.c_str()) != INVALID_FILE_ATTRIBUTES, c.fileLeft)
        << c.url;
    EXPECT_EQ(outcome.content, "") << c.url;
  }
}

TEST_F(DownloadClientWineTest, EmptyBodyCompletes) {
  Publish("empty.bin", "");
  EXPECT_EQ(Download(ServerUrl("/empty.bin")).code, 0);
}

TEST_F(DownloadClientWineTest, RequestCarriesNoQueryAndNothingIsCached) {
  const std::string url = ServerUrl("/f.bin?x=1#part");
  EXPECT_EQ(Download(url).code, 0);
  EXPECT_NE(ControlServer("log").find("GET /f.bin\n"), std::string::npos);
  // WinINet keeps no copy of the body in its cache.
  for (const std::string& entry : {url, ServerUrl("/f.bin")}) {
    DWORD size = 0;
    EXPECT_FALSE(GetUrlCacheEntryInfoA(entry.c_str(), nullptr, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << entry;
  }
}

// These two wait for the 30 s limits.
TEST_F(DownloadClientWineTest, ShortBodyStallsAfter30sWithoutBurningACore) {
  SetFault("/f.bin", "short-close", "7000");
  const Outcome outcome = Download(ServerUrl("/f.bin"));
  EXPECT_EQ(outcome.code, 309000);
  EXPECT_EQ(outcome.content, Body().substr(0, 7000));
  EXPECT_GT(outcome.seconds, 29.9);
  EXPECT_LT(outcome.seconds, 35);
  EXPECT_LT(outcome.cpuSeconds, 3) << "the empty reads spin";
  std::printf("short body: %.1f s, process CPU %.2f s\n", outcome.seconds, outcome.cpuSeconds);
}

TEST_F(DownloadClientWineTest, HeldConnectionEndsByTheReceiveTimeout) {
  SetFault("/f.bin", "short-hold", "7000");
  const Outcome outcome = Download(ServerUrl("/f.bin"));
  std::printf("held connection: code %d, last error %u, %.1f s, CPU %.2f s\n", outcome.code,
              outcome.lastError, outcome.seconds, outcome.cpuSeconds);
  // Wine honours the receive timeout: the blocked read fails after 30 s (with WSAETIMEDOUT
  // where Windows gives ERROR_INTERNET_TIMEOUT).
  EXPECT_EQ(outcome.code, 308000);
  EXPECT_TRUE(outcome.lastError == ERROR_INTERNET_TIMEOUT || outcome.lastError == WSAETIMEDOUT)
      << outcome.lastError;
  EXPECT_GT(outcome.seconds, 29.9);
  EXPECT_LT(outcome.seconds, 45);
  // A read waits to fill its buffer, so the bytes of the read that timed out are lost.
  EXPECT_LE(outcome.content.size(), 7000u);
  EXPECT_EQ(Body().compare(0, outcome.content.size(), outcome.content), 0);
}

}  // namespace
