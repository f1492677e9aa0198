#pragma once
// One attempt of the download client as its owner drives it: start, launch, poll until
// the transfer thread has finished, read the combined code.

#include <cstdint>
#include <functional>

#include "net/DownloadClient.h"

constexpr uint32_t kAttemptPollMs = 100;  // the longest wait between progress updates

struct AttemptResult {
  int32_t code = 0;        // the combined code; 0 is a complete file
  int32_t startCode = 0;   // what Start gave before the launch's 200000 took its place
  uint32_t bytes = 0;      // received
  uint32_t lastError = 0;  // the platform's error number behind a failure, if any
};

// Runs one attempt on a context of its own, which is gone when this returns (an exception
// passing through included): the file is then closed and may be held. progress(percent) is
// called once at the start, then on every poll, the last one after the transfer has ended.
AttemptResult RunDownloadAttempt(const InstallPlatform& platform, const char* url,
                                 const char* destination,
                                 const std::function<void(int percent)>& progress);
