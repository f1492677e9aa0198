#pragma once
// Brings one file from an HTTP URL into the run's folder for the install worker:
// drives one transfer at a time with progress, asks Retry or Cancel when a transfer
// fails, and has setup programs checked before they are accepted.

#include <cstdint>
#include <string>

#include "net/DownloadClient.h"
#include "platform/Files.h"
#include "platform/Trust.h"

// The download page as the fetch step sees it. Called on the install worker's thread.
class FetchUi {
 public:
  virtual ~FetchUi() = default;
  // Shows position (0 to 100) on the progress bar before returning.
  virtual void SetProgress(int position) = 0;
  // Shows string 153 with MB_RETRYCANCEL and returns the answer: IDRETRY or IDCANCEL.
  virtual int AskRetry() = 0;
};

constexpr int kAnswerCancel = 2;  // IDCANCEL

// What the step works through and where it stores the files; the services must outlive
// the call.
struct FetchPlatform {
  DownloadPlatform download;
  Trust* trust = nullptr;
  std::string folder;  // the run's working folder, backslash included; empty: none
};

// Where the step stores fileName: the folder (which ends with a backslash), one more
// backslash (a doubled separator, which the file system reads as one) and the name.
// Empty without a folder or without a name: never the folder itself, nor a device.
std::string FetchDestination(const std::string& folder, const std::string& fileName);

// The step's verdict; the caller records the outcome.
enum class FetchVerdict {
  Fetched,   // the file is in place (and verified when asked)
  GaveUp,    // a transfer failed and the user answered Cancel
  Rejected,  // the completed program failed its check or could not be locked for it
};

// Fetches url into the folder as fileName; with verify, the completed file must pass
// VerifyDownloadedFile. An empty fileName is a name the caller refused: every attempt is
// a transfer that did not start, and the retry question comes at once.
//
// When the verdict is Fetched, heldFile holds the completed file open so that others may
// read it but nobody can change, rename or delete it: the checked bytes are the bytes that
// will run, and a response file's answers are the ones its setup reads. It is held before
// the check and must be the plain file that was downloaded; a file that cannot be held so
// is Rejected. Otherwise heldFile is left empty.
FetchVerdict FetchAndVerify(const char* fileName, FetchUi& ui, const char* url, bool verify,
                            const FetchPlatform& platform, ReadLockedFile& heldFile);
