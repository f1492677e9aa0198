#pragma once
// Fetches one HTTP resource into one local file on a thread of its own while the owner
// polls. All state lives in one DownloadContext that the owner provides. Outcomes are
// layered numeric codes: the owner reads stepCode + primaryCode, 0 meaning complete.

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Http.h"
#include "platform/Threads.h"

enum DownloadState : int32_t {
  DL_IDLE = 0,
  DL_READY = 1,
  DL_RUNNING = 2,
  DL_FINISHED = 3,
  DL_BROKEN = 4,
};

// Hundreds: the platform step that failed.
enum DownloadStepCode : int32_t {
  StepSucceeded = 0,
  StepStopWaitFailed = 100,
  StepStopCloseThreadFailed = 101,
  StepTerminateFailed = 102,
  StepTerminateCloseThreadFailed = 103,
  StepCloseRequestFailed = 104,
  StepCloseConnectionFailed = 105,
  StepCloseSessionFailed = 106,
  StepCloseFileFailed = 107,
  StepTimeoutsNoHandle = 200,
  StepConnectTimeoutFailed = 201,
  StepSendTimeoutFailed = 202,
  StepReceiveTimeoutFailed = 203,
  StepOpenAlreadyOpen = 300,
  StepOpenHostOrPathMissing = 301,
  StepOpenHostOrPathEmpty = 302,
  StepInternetOpenFailed = 303,
  StepSessionTimeoutsFailed = 304,
  StepConnectFailed = 305,
  StepConnectionTimeoutsFailed = 306,
  StepOpenRequestFailed = 307,
  StepRequestTimeoutsFailed = 308,
  StepCrackArgumentMissing = 400,
  StepCrackFailed = 401,
  StepCrackHostTooLong = 402,
  StepCrackPathTooLong = 403,
  StepCreateFileFailed = 500,
};

// Thousands: the operation that failed.
enum DownloadPrimaryCode : int32_t {
  PrimarySucceeded = 0,
  PrimaryStartRefused = 100000,
  PrimaryNoUrl = 101000,
  PrimaryUrlTooLong = 102000,
  PrimaryNoDestination = 103000,
  PrimaryDestinationTooLong = 104000,
  PrimaryResetFailed = 105000,
  PrimaryCreateFileFailed = 106000,
  PrimaryUrlNotStored = 107000,
  PrimaryDestinationNotStored = 108000,
  PrimaryCrackFailed = 109000,
  PrimaryNotHttp = 110000,
  PrimaryOpenFailed = 111000,
  PrimaryNotStarted = 200000,
  PrimaryThreadNotCreated = 201000,
  PrimaryOverrun = 500000,
};

// The transfer thread's result, also its exit code.
enum TransferResult : int32_t {
  TransferComplete = 0,
  TransferNoContext = 300000,
  TransferNotReady = 301000,
  TransferSendFailed = 302000,
  TransferStatusUnreadable = 303000,
  TransferHttpError = 304000,
  TransferNoContentLength = 305000,
  TransferStopped = 307000,
  TransferReadFailed = 308000,
  TransferStalled = 309000,
  TransferWriteFailed = 310000,
  TransferCloseFailed = 311000,
  TransferTerminated = 313000,
  TransferCleanupCloseFailed = 999000,
};

constexpr uint32_t kUrlCapacity = 512;
constexpr uint32_t kNetworkTimeoutMs = 30000;  // connect, send and receive
constexpr uint32_t kStallLimitMs = 30000;      // no data for this long after the last data
constexpr uint32_t kEmptyReadPauseMs = 100;    // pause between reads that return nothing
constexpr uint32_t kStopWaitMs = 40000;        // longer than the receive timeout
constexpr uint32_t kReadSize = 10239;

// The platform services a context works through; they must outlive it.
struct DownloadPlatform {
  Http* http = nullptr;
  Files* files = nullptr;
  Threads* threads = nullptr;
  Clock* clock = nullptr;
};

// One transfer's record. Fields that the owner and the transfer thread share without
// the lock are atomics: stores release, loads acquire, so that a DL_FINISHED the owner
// sees always comes with the final result and sizes.
struct DownloadContext {
  std::unique_ptr<Lock> lock;  // guards the code setters and DownloadGetError
  std::atomic<int32_t> state{DL_IDLE};
  std::atomic<uint32_t> expectedSize{0};
  std::atomic<uint32_t> receivedSize{0};
  std::atomic<int32_t> transferResult{0};
  std::atomic<uint32_t> lastError{0};  // diagnostic only
  char url[kUrlCapacity] = {};
  char destPath[kPathCapacity] = {};
  std::atomic<bool> stopRequested{false};
  HttpHandle hRequest = HttpHandle::None;
  std::atomic<FileHandle> hFile{kInvalidFile};
  ThreadHandle hThread = ThreadHandle::None;
  HttpHandle hSession = HttpHandle::None;
  HttpHandle hConnect = HttpHandle::None;
  std::atomic<int32_t> primaryCode{0};
  std::atomic<int32_t> stepCode{0};
  DownloadPlatform platform;
};

DownloadContext& DownloadInit(DownloadContext& ctx, const DownloadPlatform& platform);
bool DownloadStart(DownloadContext& ctx, const char* url, const char* destPath);
// The launch: DL_RUNNING, then the transfer thread; DL_FINISHED and 201000 when the
// thread cannot be created. Returns whether the thread runs.
bool DownloadLaunch(DownloadContext& ctx);
uint32_t DownloadThreadProc(void* context);
int DownloadGetProgress(DownloadContext& ctx);
int32_t DownloadGetState(DownloadContext& ctx);
int32_t DownloadGetError(DownloadContext& ctx);
enum class StopMode { Graceful, Forced };
int32_t DownloadStop(DownloadContext& ctx, StopMode mode);
void DownloadDestroy(DownloadContext& ctx);

void DownloadSetPrimaryCode(DownloadContext& ctx, int32_t code, uint32_t error);
void DownloadSetStepCode(DownloadContext& ctx, int32_t code, uint32_t error);
void DownloadSetTransferResult(DownloadContext& ctx, int32_t code, uint32_t error);
void DownloadSetLastError(DownloadContext& ctx, uint32_t error);

// Internal steps, each returning 0 or its step code.
int32_t DownloadCreateFile(DownloadContext& ctx, const char* destPath);
int32_t DownloadCrackUrl(DownloadContext& ctx, const char* url, int32_t* scheme, char* host,
                         char* path, uint16_t* port);
int32_t DownloadOpenRequest(DownloadContext& ctx, const char* host, const char* path,
                            uint16_t port);
int32_t DownloadSetTimeouts(DownloadContext& ctx, HttpHandle handle);
