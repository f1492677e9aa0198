#include "net/DownloadAttempt.h"

AttemptResult RunDownloadAttempt(const InstallPlatform& platform, const char* url,
                                 const char* destination,
                                 const std::function<void(int percent)>& progress) {
  DownloadContext download(platform);
  AttemptResult result;
  if (!download.Start(url, destination)) result.startCode = download.Code();
  const bool running = download.Launch();
  progress(0);
  if (running) {
    DownloadPoll poll = download.Poll();
    progress(poll.percent);
    while (poll.state != DL_FINISHED) {
      // Ends with the transfer: its last bytes wait for no further poll.
      download.AwaitEnd(kAttemptPollMs);
      poll = download.Poll();
      progress(poll.percent);
    }
  }
  result.code = download.Code();
  result.bytes = download.ReceivedSize();
  result.lastError = download.LastError();
  return result;
}
