#pragma once
// The record of the user's choices and of the installation's outcome. It is the only
// channel between the wizard pages and the install worker; the sheet owns the one record
// of the process and hands it to every page.

#include <atomic>
#include <cstdint>

enum class InstallMode : int32_t {
  Complete = 0,
  Custom = 1,
};

enum class InstallResult : int32_t {
  // No outcome yet: the worker replaces it. A run that ends without recording one can
  // never read as a success.
  Pending = -1,
  Succeeded = 0,
  DownloadFailed = 1,
  SetupFailed = 2,
  OldSoftwareBlocks = 3,
};

constexpr uint16_t kLangJapanese = 0x0411;

struct InstallSession {
  bool installCorvane = true;
  bool installPelmora = false;
  bool installTessaline = false;
  InstallMode installMode = InstallMode::Complete;
  // Written on the worker thread, read by the completion page on the user-interface
  // thread: atomic so that the write is visible there before the page changes.
  std::atomic<InstallResult> installResult{InstallResult::Pending};

  void RecordResult(InstallResult result) {
    installResult.store(result, std::memory_order_release);
  }
  InstallResult Result() const { return installResult.load(std::memory_order_acquire); }
};
