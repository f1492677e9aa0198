#pragma once
// Fetches one HTTP resource into one local file on a thread of its own while the owner
// polls. Outcomes are layered numeric codes: the owner reads one combined code, the step
// code plus the primary code, 0 meaning complete.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "net/Codes.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Http.h"
#include "platform/InstallPlatform.h"
#include "platform/Threads.h"

enum DownloadState : int32_t {
  DL_IDLE = 0,
  DL_READY = 1,
  DL_RUNNING = 2,
  DL_FINISHED = 3,
  DL_BROKEN = 4,
};

enum DownloadStepCode : int32_t { StepSucceeded = 0, DOWNLOAD_STEP_CODES(CODE_ENUMERATOR) };
enum DownloadPrimaryCode : int32_t { DOWNLOAD_PRIMARY_CODES(CODE_ENUMERATOR) };
enum TransferResult : int32_t { TransferComplete = 0, TRANSFER_RESULTS(CODE_ENUMERATOR) };

constexpr uint32_t kUrlCapacity = 512;
constexpr uint32_t kNetworkTimeoutMs = 30000;  // connect, send and receive
constexpr uint32_t kStallLimitMs = 30000;      // no data for this long after the last data
constexpr uint32_t kEmptyReadPauseMs = 100;    // pause between reads that return nothing
constexpr uint32_t kStopWaitMs = 40000;        // longer than the receive timeout
constexpr uint32_t kReadSize = 10239;

// Start's refusals that need neither the network nor the disk, as the primary code it
// records (0: none). A shell that tells why a fetch would not start asks these, not a copy.
int32_t RefuseUrl(const char* url);
int32_t RefuseDestination(const char* destPath);
int32_t RefuseScheme(const UrlParts& parts);
// All of the URL's, split as Start splits it: 0, PrimaryUrlTooLong, PrimaryCrackFailed or
// PrimaryNotHttp.
int32_t RefuseFetchUrl(Http& http, const std::string& url, UrlParts& parts);

enum class StopMode { Graceful, Forced };

struct DownloadPoll {
  int32_t state = DL_IDLE;
  int percent = 0;  // 0 until the Content-Length is known and in every state but running
                    // and finished; 100 once everything announced has arrived
};

// One transfer at a time, driven by its owner's thread and worked on by the transfer
// thread. What the two share without the lock is atomic: stores release, loads acquire,
// so that a DL_FINISHED the owner sees always comes with the final result and sizes.
class DownloadContext {
 public:
  // Works through the platform's http, files, threads and clock, which must outlive it.
  explicit DownloadContext(const InstallPlatform& platform);
  // Stops what is left, gracefully and then by force. A thread that survives both keeps
  // the handles it works on.
  ~DownloadContext();
  DownloadContext(const DownloadContext&) = delete;
  DownloadContext& operator=(const DownloadContext&) = delete;

  // Creates the destination file, splits the URL, opens the internet handle, connection
  // and request: true with DL_READY, or false with a primary code.
  bool Start(const char* url, const char* destPath);
  // DL_RUNNING, then the transfer thread: true. False with DL_FINISHED and 201000 when the thread
  // cannot be created, or with 200000 for a context that Start did not leave ready.
  bool Launch();
  // Reads the state and sizes only: no lock, no platform call, nothing written.
  DownloadPoll Poll() const;
  // Waits up to milliseconds for the transfer thread to end; returns as soon as it has.
  void AwaitEnd(uint32_t milliseconds);
  // The combined code. Its primary part is what Start or the launch recorded, else a finished
  // transfer's failure, else 500000 when more bytes arrived than the Content-Length announced.
  int32_t Code() const;
  // Resets the context for another Start: 0, or the step code of the first failure, which
  // leaves the rest as it was.
  int32_t Stop(StopMode mode);

  uint32_t ReceivedSize() const { return m_receivedSize.load(std::memory_order_acquire); }
  // The platform error recorded with the latest code; for diagnostics only.
  uint32_t LastError() const { return m_lastError.load(std::memory_order_acquire); }

 private:
  friend struct DownloadContextPeer;  // the unit suites arrange and inspect the record

  // The steps of Start, each returning 0 or its step code.
  int32_t OpenDestination(const char* destPath);
  int32_t CrackUrl(const char* url, UrlParts& parts);
  int32_t OpenRequest(const char* host, const char* path, uint16_t port);
  int32_t SetTimeouts(HttpHandle handle);
  void CloseOpenedHandles();
  // The HTTP handles newest first, as they are closed, each with the step of its failure.
  struct HandleToClose {
    HttpHandle* handle;
    int32_t failure;
  };
  std::array<HandleToClose, 3> HandlesNewestFirst();
  bool ResetAndRefuse(int32_t primaryCode, bool broken = false);

  // The transfer thread (DownloadTransfer.cpp).
  static uint32_t ThreadProc(void* context);
  int32_t Transfer(uint32_t& error);
  int32_t ReceiveBody(HttpHandle request, uint32_t expected, uint32_t& error);
  int32_t FinishFile(uint32_t& error);

  // Closing clears a handle; one that will not close stays set for the next Stop.
  bool CloseHttp(HttpHandle& handle);
  bool CloseFile();

  // The setters: each writes its code and the platform error together inside the lock.
  void Record(std::atomic<int32_t>& code, int32_t value, uint32_t error);
  void RecordError(uint32_t error);
  int32_t Step(int32_t code, uint32_t error);
  int32_t StepKeepingError(int32_t code);  // stored without the lock, lastError unchanged
  int32_t PrimaryCode() const;

  static constexpr auto kRelease = std::memory_order_release;
  static constexpr auto kAcquire = std::memory_order_acquire;

  const InstallPlatform m_platform;
  const std::unique_ptr<Lock> m_lock;  // guards the setters and Code()
  std::atomic<int32_t> m_state{DL_IDLE};
  std::atomic<uint32_t> m_expectedSize{0};
  std::atomic<uint32_t> m_receivedSize{0};
  std::atomic<int32_t> m_transferResult{0};
  std::atomic<uint32_t> m_lastError{0};
  char m_url[kUrlCapacity] = {};
  char m_destPath[kPathCapacity] = {};
  std::atomic<bool> m_stopRequested{false};
  HttpHandle m_session = HttpHandle::None;
  HttpHandle m_connection = HttpHandle::None;
  HttpHandle m_request = HttpHandle::None;
  std::atomic<FileHandle> m_file{kInvalidFile};
  ThreadHandle m_thread = ThreadHandle::None;
  std::atomic<int32_t> m_primaryCode{0};  // what Start and the launch recorded
  std::atomic<int32_t> m_stepCode{0};
};
