#include "net/FetchAndVerify.h"

#include <string>

#include "net/DestinationFile.h"
#include "net/DownloadAttempt.h"
#include "net/SignatureCheck.h"

std::string FetchDestination(const std::string& folder, const std::string& fileName) {
  if (folder.empty() || fileName.empty()) return std::string();
  return FolderFilePath(folder, "\\" + fileName);
}

FetchVerdict FetchAndVerify(const char* fileName, FetchUi& ui, const char* url, bool verify,
                            const FetchPlatform& platform, ReadLockedFile& heldFile) {
  heldFile.Reset();
  // Without a destination every attempt is a transfer that did not start: nothing is
  // created or requested.
  const std::string destination =
      FetchDestination(platform.folder, fileName != nullptr ? fileName : "");
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

  // Lock the file before it is checked, so that what was checked is what will run, and
  // make sure that what is locked is the plain file that was downloaded, not a link
  // planted since.
  Files& files = *platform.download.files;
  ReadLockedFile locked = OwnFile(files, files.OpenReadLocked(destinationPath));
  if (!locked.IsOpen() ||
      !IsPlainFileIn(files, locked.Get(), files.FolderFinalPath(FolderOf(destination).c_str())) ||
      (verify && VerifyDownloadedFile(destinationPath, *platform.trust) != 0)) {
    return FetchVerdict::Rejected;
  }
  heldFile = std::move(locked);
  return FetchVerdict::Fetched;
}
