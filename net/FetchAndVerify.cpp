#include "net/FetchAndVerify.h"

#include <string>

#include "net/DestinationFile.h"
#include "net/DownloadAttempt.h"
#include "net/SignatureCheck.h"

std::string FetchDestination(const std::string& tempPath, const std::string& fileName) {
  if (tempPath.empty() || fileName.empty()) return std::string();
  return TempFilePath(tempPath, "\\" + fileName);
}

FetchVerdict FetchAndVerify(const char* fileName, FetchUi& ui, const char* url, bool verify,
                            const FetchPlatform& platform, ReadLockedFile& verifiedFile) {
  verifiedFile.Reset();
  // Without a destination every attempt is a transfer that did not start: nothing is
  // created or requested.
  const std::string destination =
      FetchDestination(platform.system->TempPath(), fileName != nullptr ? fileName : "");
  const char* destinationPath = destination.empty() ? nullptr : destination.c_str();

  for (;;) {
    // One attempt's context, destroyed on every way out, an exception passing through included.
    DownloadContext download(platform.download);
    const auto progress = [&ui](int percent) { ui.SetProgress(percent); };
    if (RunDownloadAttempt(download, url, destinationPath, progress).code == 0) {
      break;
    }
    if (ui.AskRetry() == kAnswerCancel) return FetchVerdict::GaveUp;
  }
  if (!verify) return FetchVerdict::Fetched;

  // Lock the file before it is checked, so that what was checked is what will run, and
  // make sure that what is locked is the plain file that was downloaded, not a link
  // planted since.
  Files& files = *platform.download.files;
  ReadLockedFile locked = OwnFile(files, files.OpenReadLocked(destinationPath));
  if (!locked.IsOpen() ||
      !IsPlainFileIn(files, locked.Get(), files.FolderFinalPath(FolderOf(destination).c_str())) ||
      VerifyDownloadedFile(destinationPath, *platform.trust) != 0) {
    return FetchVerdict::Rejected;
  }
  verifiedFile = std::move(locked);
  return FetchVerdict::Fetched;
}
