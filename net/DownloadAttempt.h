#pragma once
// One attempt of the download client as its owner drives it: start, launch when the
// context is ready, poll until the transfer thread has finished, read the combined code.
// The owner's own codes: 200000 when the transfer did not start, 201000 (from the
// launch) when its thread could not be created.

#include <cstdint>
#include <functional>

#include "net/DownloadClient.h"

constexpr uint32_t kAttemptPollMs = 100;  // the longest wait between progress queries

struct AttemptResult {
  int32_t code = 0;       // the combined code; 0 is a complete file
  int32_t startCode = 0;  // what Start gave before the owner's 200000 took its place
};

// Runs one attempt on an initialised context; progress(percent) is called once at the
// start and after every wait, which ends as soon as the transfer thread does. The
// context is left finished (or refused) for its owner to read and destroy.
AttemptResult RunDownloadAttempt(DownloadContext& ctx, const char* url, const char* destination,
                                 const std::function<void(int percent)>& progress);
