#pragma once
// Brings one file from an HTTP URL into the run's folder for the install worker:
// drives one transfer at a time with progress, asks Retry or Cancel when a transfer
// fails, and has setup programs checked before they are accepted.

#include <cstdint>
#include <string>

#include "net/DownloadAttempt.h"
#include "net/DownloadClient.h"
#include "net/Pin.h"
#include "platform/Files.h"
#include "platform/Trust.h"

// Where the step stores fileName: the folder (which ends with a backslash), one more backslash
// and the name. The file system reads the doubled separator as one, so this is the file that
// folder and name alone name for the list and the setup command; the extra byte is kept because
// the step's destination limit (259 bytes) has always counted it. Empty without a folder or
// without a name: never the folder itself, nor a device.
std::string FetchDestination(const std::string& folder, const std::string& fileName);

// The step's verdict; the caller records the outcome.
enum class FetchVerdict {
  Fetched,   // the file is in place (and verified when asked)
  GaveUp,    // a transfer failed (or a list differed from its pin) and the user answered Cancel
  Rejected,  // the completed file failed its checks or could not be locked for them
};

enum class HoldOutcome {
  Held,        // held, the plain file of its folder, and verified when asked
  NotOpened,   // it could not be held open
  NotPlain,    // what is held is a link, or a file with another name, or outside the folder
  PinDiffers,  // held and plain, but its digest is not its pin (or cannot be taken)
  Unverified,  // held, plain and as pinned, but its signature check failed (signatureCode)
};
struct HoldResult {
  HoldOutcome outcome = HoldOutcome::NotOpened;
  int32_t signatureCode = 0;            // VerifyDownloadedFile's code, when it ran
  std::optional<std::string> signer{};  // the name it read, when it got so far
  bool pinMatches = false;              // a pin was given and the held bytes have its digest
};

// Holds the completed file at path open so that others may read it but nobody can write, rename
// or delete it, makes sure that what is held is the plain file that was downloaded (not a link
// planted since), digests the held bytes when pinned, and with verify has it checked while held,
// so that what was compared and checked is what will run. held gets the file only when Held.
HoldResult HoldCompletedFile(Files& files, Trust& trust, const std::string& path, bool verify,
                             const Pin& pin, ReadLockedFile& held);

// What one attempt came to, for a view that reports it.
struct AttemptReport {
  AttemptResult attempt;  // the client's code (0: the file is complete), bytes and error
  HoldResult hold;        // what holding the complete file found (attempt.code 0 only)
};

// The download page as the fetch step sees it. Called on the install worker's thread.
class FetchUi {
 public:
  virtual ~FetchUi() = default;
  // Shows position (0 to 100) on the progress bar before returning.
  virtual void SetProgress(int position) = 0;
  // After every attempt, before any question.
  virtual void AttemptEnded(const AttemptReport& report) = 0;
  // Shows string 153 with MB_RETRYCANCEL and returns the answer: kIdRetry or kIdCancel.
  virtual int AskRetry() = 0;
};

// A message box's answers (their Windows values), the retry question's among them.
enum MessageBoxAnswer : int { kIdOk = 1, kIdCancel = 2, kIdRetry = 4 };

// What the step does with a file's pin.
struct FilePin {
  Pin digest;             // none: nothing to compare
  bool askAgain = false;  // a differing digest gets the retry question (the list, which a
                          // mirror may be rewriting), rather than rejecting the file
};

// Fetches url into folder (the run's working folder, backslash included; empty: none) as
// fileName, through the platform's http, files, threads, clock and trust; with verify, the
// completed file must pass VerifyDownloadedFile. An empty fileName is a name the caller refused:
// every attempt is a transfer that did not start, and the retry question comes at once.
//
// Fetched leaves the completed file held in heldFile (HoldCompletedFile), so that a response
// file's answers are the ones its setup reads; otherwise heldFile is left empty. A file that
// cannot be held so, or whose digest is not its pin, is Rejected (unless the pin asks again).
FetchVerdict FetchAndVerify(const char* fileName, FetchUi& ui, const char* url, bool verify,
                            const InstallPlatform& platform, const std::string& folder,
                            ReadLockedFile& heldFile, const FilePin& pin = {});
