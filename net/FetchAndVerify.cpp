#include "net/FetchAndVerify.h"

#include <string>

#include "net/DestinationFile.h"
#include "net/DownloadAttempt.h"
#include "net/SignatureCheck.h"

std::string FetchDestination(const std::string& folder, const std::string& fileName) {
  if (folder.empty() || fileName.empty()) return std::string();
  return folder + "\\" + fileName;
}

HoldResult HoldCompletedFile(Files& files, Trust& trust, const std::string& path, bool verify,
                             const Pin& pin, ReadLockedFile& held) {
  HoldResult result;
  ReadLockedFile locked = OwnFile(files, files.OpenReadLocked(path.c_str()));
  if (!locked.IsOpen()) return result;
  result.outcome = HoldOutcome::NotPlain;
  if (!IsPlainFileIn(files, locked.Get(), files.FolderFinalPath(FolderOf(path).c_str())))
    return result;
  Sha256Digest digest{};
  result.pinMatches = pin && files.DigestSha256(locked.Get(), digest) && digest == *pin;
  result.outcome = HoldOutcome::PinDiffers;
  if (pin && !result.pinMatches) return result;
  result.signatureCode = verify ? VerifyDownloadedFile(path.c_str(), trust, &result.signer) : 0;
  result.outcome = result.signatureCode == 0 ? HoldOutcome::Held : HoldOutcome::Unverified;
  if (result.outcome == HoldOutcome::Held) held = std::move(locked);
  return result;
}

FetchVerdict FetchAndVerify(const char* fileName, FetchUi& ui, const char* url, bool verify,
                            const InstallPlatform& platform, const std::string& folder,
                            ReadLockedFile& heldFile, const FilePin& pin) {
  heldFile.Reset();
  // Without a destination nothing is created or requested.
  const std::string destination = FetchDestination(folder, fileName != nullptr ? fileName : "");
  const char* destinationPath = destination.empty() ? nullptr : destination.c_str();

  for (;;) {
    AttemptReport report;
    report.attempt = RunDownloadAttempt(platform, url, destinationPath,
                                        [&ui](int percent) { ui.SetProgress(percent); });
    if (report.attempt.code == 0) {
      ReadLockedFile held;
      report.hold = HoldCompletedFile(*platform.files, *platform.trust, destination, verify,
                                      pin.digest, held);
      ui.AttemptEnded(report);
      const HoldOutcome outcome = report.hold.outcome;
      if (outcome == HoldOutcome::Held) {
        heldFile = std::move(held);
        return FetchVerdict::Fetched;
      }
      if (outcome != HoldOutcome::PinDiffers || !pin.askAgain) return FetchVerdict::Rejected;
    } else {
      ui.AttemptEnded(report);
    }
    if (ui.AskRetry() == kIdCancel) return FetchVerdict::GaveUp;
  }
}
