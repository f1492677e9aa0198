#pragma once
// Brings one file from an HTTP URL into the temporary directory for the install worker:
// drives one transfer at a time with progress, asks Retry or Cancel when a transfer
// fails, and has setup programs checked before they are accepted.

#include <cstdint>
#include <string>

#include "net/DownloadClient.h"
#include "platform/Files.h"
#include "platform/SystemInfo.h"
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

// The platform services the step works through; they must outlive the call.
struct FetchPlatform {
  DownloadPlatform download;
  Trust* trust = nullptr;
  SystemInfo* system = nullptr;  // the temporary directory
};

// Where the step stores fileName: the temporary directory (which ends with a backslash),
// one more backslash (a doubled separator, which the file system reads as one) and the
// name. Empty without a temporary directory or without a name: never the directory
// itself, nor a device.
std::string FetchDestination(const std::string& tempPath, const std::string& fileName);

// The step's verdict; the caller records the outcome.
enum class FetchVerdict {
  Fetched,   // the file is in place (and verified when asked)
  GaveUp,    // a transfer failed and the user answered Cancel
  Rejected,  // the completed program failed its check or could not be locked for it
};

// Fetches url into the temporary directory as fileName; with verify, the completed file
// must pass VerifyDownloadedFile. An empty fileName is a name the caller refused: every
// attempt is a transfer that did not start, and the retry question comes at once.
//
// When verify is set and the verdict is Fetched, verifiedFile holds the file open so that
// nobody can change, rename or delete it: the checked bytes are the bytes that will run.
// Keep it until the program has been started. Otherwise verifiedFile is left empty.
FetchVerdict FetchAndVerify(const char* fileName, FetchUi& ui, const char* url, bool verify,
                            const FetchPlatform& platform, ReadLockedFile& verifiedFile);
