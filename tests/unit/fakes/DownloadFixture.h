#pragma once
// A download context over fake platform services, for the client's suites.

#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeClock.h"
#include "fakes/FakeFiles.h"
#include "fakes/FakeHttp.h"
#include "fakes/FakeThreads.h"
#include "net/DownloadClient.h"

constexpr char kDestination[] = "C:\\T\\\\file.bin";

class DownloadFixture : public ::testing::Test {
 protected:
  void SetUp() override { DownloadInit(ctx, platform); }
  void TearDown() override {
    if (ctx.lock) DownloadDestroy(ctx);
  }

  std::string Url(const std::string& path) { return "http://server.test" + path; }

  // Start, launch, let the transfer thread run to its end, poll the state once.
  int32_t Transfer(const std::string& url, const char* destination = kDestination) {
    if (!DownloadStart(ctx, url.c_str(), destination)) return DownloadGetError(ctx);
    DownloadLaunch(ctx);
    threads.RunThread();
    EXPECT_EQ(DownloadGetState(ctx), DL_FINISHED);
    return DownloadGetError(ctx);
  }

  FakeHttp http;
  FakeFiles files;
  ScriptedThreads threads;
  FakeClock clock;
  DownloadPlatform platform{&http, &files, &threads, &clock};
  DownloadContext ctx;
};
