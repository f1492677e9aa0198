#include "net/DownloadAttempt.h"

AttemptResult RunDownloadAttempt(DownloadContext& ctx, const char* url, const char* destination,
                                 const std::function<void(int percent)>& progress) {
  AttemptResult result;
  DownloadStart(ctx, url, destination);  // the state tells the outcome
  bool running = false;
  if (DownloadGetState(ctx) != DL_READY) {
    result.startCode = DownloadGetError(ctx);
    ctx.primaryCode.store(PrimaryNotStarted, std::memory_order_release);
  } else {
    running = DownloadLaunch(ctx);
  }
  progress(0);
  if (running) {
    // No progress query after DL_FINISHED: it would clear the code the state poll copied.
    progress(DownloadGetProgress(ctx));
    while (DownloadGetState(ctx) != DL_FINISHED) {
      // Wait on the thread's end, not the clock, so that the last bytes wait for no
      // further poll; a wait that fails still paces the polls.
      if (ctx.platform.threads->Wait(ctx.hThread, kAttemptPollMs) == WaitOutcome::Failed) {
        ctx.platform.clock->Sleep(kAttemptPollMs);
      }
      progress(DownloadGetProgress(ctx));
    }
  }
  result.code = DownloadGetError(ctx);
  return result;
}
