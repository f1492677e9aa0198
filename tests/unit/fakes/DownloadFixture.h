#pragma once
// A download context over fake platform services, for the client's suites.

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "fakes/FakeClock.h"
#include "fakes/FakeFiles.h"
#include "fakes/FakeHttp.h"
#include "fakes/FakeThreads.h"
#include "net/DownloadClient.h"

constexpr char kDestination[] = "C:\\T\\\\file.bin";

// The context's record, for the cases that put it in a state no call leads to, or look at
// what no call shows.
struct DownloadContextPeer {
  static std::atomic<int32_t>& State(DownloadContext& c) { return c.m_state; }
  static std::atomic<uint32_t>& ExpectedSize(DownloadContext& c) { return c.m_expectedSize; }
  static std::atomic<uint32_t>& ReceivedSize(DownloadContext& c) { return c.m_receivedSize; }
  static std::atomic<int32_t>& TransferResult(DownloadContext& c) { return c.m_transferResult; }
  static std::atomic<bool>& StopRequested(DownloadContext& c) { return c.m_stopRequested; }
  static HttpHandle& Request(DownloadContext& c) { return c.m_request; }
  static const char* Url(DownloadContext& c) { return c.m_url; }
  static const char* DestPath(DownloadContext& c) { return c.m_destPath; }
  static uint32_t ThreadProc(void* context) { return DownloadContext::ThreadProc(context); }
};
using Peer = DownloadContextPeer;

class DownloadFixture : public ::testing::Test {
 protected:
  std::string Url(const std::string& path) { return "http://server.test" + path; }

  // Start, launch, let the transfer thread run to its end, poll once.
  int32_t Transfer(const std::string& url, const char* destination = kDestination) {
    if (!ctx.Start(url.c_str(), destination)) return ctx.Code();
    ctx.Launch();
    threads.RunThread();
    EXPECT_EQ(ctx.Poll().state, DL_FINISHED);
    return ctx.Code();
  }

  FakeHttp http;
  FakeFiles files;
  ScriptedThreads threads;
  FakeClock clock;
  InstallPlatform platform{&http, &files, &threads, &clock};
  DownloadContext ctx{platform};
};
