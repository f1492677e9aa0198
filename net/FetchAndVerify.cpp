#include "net/FetchAndVerify.h"

#include <string>

#include "net/SignatureCheck.h"

namespace {

// One attempt's context: initialised on construction, destroyed on every way out,
// an exception passing through included.
class AttemptContext {
 public:
  explicit AttemptContext(const DownloadPlatform& platform) { DownloadInit(m_ctx, platform); }
  ~AttemptContext() { DownloadDestroy(m_ctx); }
  AttemptContext(const AttemptContext&) = delete;
  AttemptContext& operator=(const AttemptContext&) = delete;

  DownloadContext& Context() { return m_ctx; }

 private:
  DownloadContext m_ctx;
};

// Starts, launches and follows one transfer; returns the combined code.
int32_t RunAttempt(DownloadContext& ctx, FetchUi& ui, const char* url, const char* destination,
                   Clock& clock) {
  DownloadStart(ctx, url, destination);  // the state tells the outcome
  bool running = false;
  if (DownloadGetState(ctx) != DL_READY) {
    ctx.primaryCode.store(PrimaryNotStarted, std::memory_order_release);
  } else {
    running = DownloadLaunch(ctx);
  }
  ui.SetProgress(0);
  if (running) {
    // No progress query after DL_FINISHED: it would clear the code the state poll copied.
    ui.SetProgress(DownloadGetProgress(ctx));
    while (DownloadGetState(ctx) != DL_FINISHED) {
      clock.Sleep(kPollPeriodMs);
      ui.SetProgress(DownloadGetProgress(ctx));
    }
  }
  return DownloadGetError(ctx);
}

}  // namespace

bool FetchAndVerify(const char* fileName, FetchUi& ui, const char* url, bool verify,
                    const FetchPlatform& platform, ReadLockedFile& verifiedFile,
                    InstallSession& session) {
  verifiedFile.Reset();
  // The temporary directory ends with a backslash; the added one makes a doubled
  // separator, which the file system reads as one. Without a temporary directory there
  // is no destination, and every attempt is a transfer that did not start.
  const std::string tempPath = platform.system->TempPath();
  const std::string destination =
      tempPath.empty() ? std::string() : tempPath + "\\" + (fileName ? fileName : "");
  const char* destinationPath = tempPath.empty() ? nullptr : destination.c_str();

  for (;;) {
    AttemptContext attempt(platform.download);
    if (RunAttempt(attempt.Context(), ui, url, destinationPath, *platform.download.clock) == 0) {
      break;
    }
    if (ui.AskRetry() == kAnswerCancel) {
      session.RecordResult(DownloadFailed);
      return false;
    }
  }
  if (!verify) return true;

  // Lock the file before it is checked, so that what was checked is what will run.
  Files& files = *platform.download.files;
  ReadLockedFile locked(files, files.OpenReadLocked(destinationPath));
  if (!locked.IsOpen() || VerifyDownloadedFile(destinationPath, *platform.trust) != 0) {
    session.RecordResult(DownloadFailed);
    return false;
  }
  verifiedFile = std::move(locked);
  return true;
}
