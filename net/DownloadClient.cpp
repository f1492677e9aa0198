#include "net/DownloadClient.h"

#include <cstring>

#include "net/DestinationFile.h"

namespace {

constexpr auto kRelease = std::memory_order_release;
constexpr auto kAcquire = std::memory_order_acquire;

// Copies a NUL-terminated string into a buffer of capacity bytes; fails when it does
// not fit with its terminator.
bool CopyBounded(char* dest, size_t capacity, const char* source) {
  const size_t length = strnlen(source, capacity);
  if (length >= capacity) return false;
  std::memcpy(dest, source, length + 1);
  return true;
}

// Reset, then refuse with a primary code.
bool ResetAndRefuse(DownloadContext& ctx, int32_t primaryCode) {
  DownloadStop(ctx, StopMode::Graceful);
  ctx.primaryCode.store(primaryCode, kRelease);
  return false;
}

int32_t FailStop(DownloadContext& ctx, int32_t code, uint32_t error) {
  DownloadSetStepCode(ctx, code, error);
  return code;
}

// After a failed open: closes what was opened, newest first. A handle that will not
// close stays set, so that the next Stop tries again.
void CloseOpenedHandles(DownloadContext& ctx) {
  Http& http = *ctx.platform.http;
  for (HttpHandle* handle : {&ctx.hRequest, &ctx.hConnect, &ctx.hSession}) {
    if (*handle == HttpHandle::None) continue;
    if (http.Close(*handle)) {
      *handle = HttpHandle::None;
    } else {
      DownloadSetLastError(ctx, http.LastError());
    }
  }
}

}  // namespace

DownloadContext& DownloadInit(DownloadContext& ctx, const DownloadPlatform& platform) {
  ctx.platform = platform;
  ctx.lock = platform.threads->CreateLock();
  ctx.state.store(DL_IDLE, kRelease);
  ctx.expectedSize.store(0, kRelease);
  ctx.receivedSize.store(0, kRelease);
  ctx.transferResult.store(0, kRelease);
  ctx.lastError.store(0, kRelease);
  std::memset(ctx.url, 0, sizeof ctx.url);
  std::memset(ctx.destPath, 0, sizeof ctx.destPath);
  ctx.stopRequested.store(false, kRelease);
  ctx.hRequest = HttpHandle::None;
  ctx.hFile.store(kInvalidFile, kRelease);
  ctx.hThread = ThreadHandle::None;
  ctx.hSession = HttpHandle::None;
  ctx.hConnect = HttpHandle::None;
  ctx.primaryCode.store(0, kRelease);
  ctx.stepCode.store(0, kRelease);
  return ctx;
}

void DownloadSetPrimaryCode(DownloadContext& ctx, int32_t code, uint32_t error) {
  LockHolder hold(*ctx.lock);
  ctx.primaryCode.store(code, kRelease);
  ctx.lastError.store(error, kRelease);
}

void DownloadSetStepCode(DownloadContext& ctx, int32_t code, uint32_t error) {
  LockHolder hold(*ctx.lock);
  ctx.stepCode.store(code, kRelease);
  ctx.lastError.store(error, kRelease);
}

void DownloadSetTransferResult(DownloadContext& ctx, int32_t code, uint32_t error) {
  LockHolder hold(*ctx.lock);
  ctx.transferResult.store(code, kRelease);
  ctx.lastError.store(error, kRelease);
}

void DownloadSetLastError(DownloadContext& ctx, uint32_t error) {
  LockHolder hold(*ctx.lock);
  ctx.lastError.store(error, kRelease);
}

bool DownloadStart(DownloadContext& ctx, const char* url, const char* destPath) {
  ctx.primaryCode.store(0, kRelease);
  const int32_t state = ctx.state.load(kAcquire);
  if (state == DL_RUNNING || state == DL_BROKEN) {
    ctx.primaryCode.store(PrimaryStartRefused, kRelease);
    return false;
  }
  if (url == nullptr) return ResetAndRefuse(ctx, PrimaryNoUrl);
  if (strnlen(url, kUrlCapacity) >= kUrlCapacity) return ResetAndRefuse(ctx, PrimaryUrlTooLong);
  if (destPath == nullptr) return ResetAndRefuse(ctx, PrimaryNoDestination);
  if (strnlen(destPath, kPathCapacity) >= kPathCapacity) {
    return ResetAndRefuse(ctx, PrimaryDestinationTooLong);
  }
  if (DownloadStop(ctx, StopMode::Graceful) != 0) {
    ctx.primaryCode.store(PrimaryResetFailed, kRelease);
    return false;
  }
  if (DownloadCreateFile(ctx, destPath) != 0) return ResetAndRefuse(ctx, PrimaryCreateFileFailed);
  if (!CopyBounded(ctx.url, sizeof ctx.url, url)) {
    ResetAndRefuse(ctx, PrimaryUrlNotStored);
    ctx.state.store(DL_BROKEN, kRelease);
    return false;
  }
  if (!CopyBounded(ctx.destPath, sizeof ctx.destPath, destPath)) {
    ResetAndRefuse(ctx, PrimaryDestinationNotStored);
    ctx.state.store(DL_BROKEN, kRelease);
    return false;
  }
  int32_t scheme = 0;
  char host[kUrlPartSize];
  char path[kUrlPartSize];
  uint16_t port = 0;
  if (DownloadCrackUrl(ctx, ctx.url, &scheme, host, path, &port) != 0) {
    return ResetAndRefuse(ctx, PrimaryCrackFailed);
  }
  if (scheme != kSchemeHttp) return ResetAndRefuse(ctx, PrimaryNotHttp);
  if (DownloadOpenRequest(ctx, host, path, port) != 0)
    return ResetAndRefuse(ctx, PrimaryOpenFailed);
  ctx.state.store(DL_READY, kRelease);
  return true;
}

int32_t DownloadCreateFile(DownloadContext& ctx, const char* destPath) {
  Files& files = *ctx.platform.files;
  uint32_t error = 0;
  const FileHandle file = CreateDestination(files, *ctx.platform.clock, destPath, error);
  if (file == kInvalidFile) {
    DownloadSetStepCode(ctx, StepCreateFileFailed, error);
    return StepCreateFileFailed;
  }
  ctx.hFile.store(file, kRelease);
  DownloadSetStepCode(ctx, StepSucceeded, 0);
  return StepSucceeded;
}

int32_t DownloadCrackUrl(DownloadContext& ctx, const char* url, int32_t* scheme, char* host,
                         char* path, uint16_t* port) {
  if (url == nullptr || scheme == nullptr || host == nullptr || path == nullptr ||
      port == nullptr) {
    ctx.stepCode.store(StepCrackArgumentMissing, kRelease);
    return StepCrackArgumentMissing;
  }
  Http& http = *ctx.platform.http;
  UrlParts parts;
  if (!http.CrackUrl(url, parts)) {
    DownloadSetStepCode(ctx, StepCrackFailed, http.LastError());
    return StepCrackFailed;
  }
  *scheme = parts.scheme;
  if (!CopyBounded(host, kUrlPartSize, parts.host)) {
    DownloadSetStepCode(ctx, StepCrackHostTooLong, 0);
    return StepCrackHostTooLong;
  }
  if (!CopyBounded(path, kUrlPartSize, parts.path)) {
    DownloadSetStepCode(ctx, StepCrackPathTooLong, 0);
    return StepCrackPathTooLong;
  }
  *port = parts.port;
  DownloadSetStepCode(ctx, StepSucceeded, 0);
  return StepSucceeded;
}

int32_t DownloadOpenRequest(DownloadContext& ctx, const char* host, const char* path,
                            uint16_t port) {
  if (ctx.hSession != HttpHandle::None || ctx.hConnect != HttpHandle::None ||
      ctx.hRequest != HttpHandle::None || ctx.url[0] == '\0') {
    ctx.stepCode.store(StepOpenAlreadyOpen, kRelease);
    return StepOpenAlreadyOpen;
  }
  if (host == nullptr || path == nullptr) {
    ctx.stepCode.store(StepOpenHostOrPathMissing, kRelease);
    return StepOpenHostOrPathMissing;
  }
  if (host[0] == '\0' || path[0] == '\0') {
    ctx.stepCode.store(StepOpenHostOrPathEmpty, kRelease);
    return StepOpenHostOrPathEmpty;
  }
  Http& http = *ctx.platform.http;
  int32_t code = StepSucceeded;
  uint32_t error = 0;
  if ((ctx.hSession = http.Open()) == HttpHandle::None) {
    code = StepInternetOpenFailed;
    error = http.LastError();
  } else if (DownloadSetTimeouts(ctx, ctx.hSession) != 0) {
    code = StepSessionTimeoutsFailed;
  } else if ((ctx.hConnect = http.Connect(ctx.hSession, host, port)) == HttpHandle::None) {
    code = StepConnectFailed;
    error = http.LastError();
  } else if (DownloadSetTimeouts(ctx, ctx.hConnect) != 0) {
    code = StepConnectionTimeoutsFailed;
  } else if ((ctx.hRequest = http.OpenRequest(ctx.hConnect, path)) == HttpHandle::None) {
    code = StepOpenRequestFailed;
    error = http.LastError();
  } else if (DownloadSetTimeouts(ctx, ctx.hRequest) != 0) {
    code = StepRequestTimeoutsFailed;
  }
  if (code != StepSucceeded) {
    DownloadSetStepCode(ctx, code, error);
    CloseOpenedHandles(ctx);
    return code;
  }
  DownloadSetStepCode(ctx, StepSucceeded, 0);
  return StepSucceeded;
}

int32_t DownloadSetTimeouts(DownloadContext& ctx, HttpHandle handle) {
  if (handle == HttpHandle::None) {
    ctx.stepCode.store(StepTimeoutsNoHandle, kRelease);
    return StepTimeoutsNoHandle;
  }
  struct {
    HttpTimeout which;
    int32_t failure;
  } const timeouts[] = {
      {HttpTimeout::Connect, StepConnectTimeoutFailed},
      {HttpTimeout::Send, StepSendTimeoutFailed},
      {HttpTimeout::Receive, StepReceiveTimeoutFailed},
  };
  Http& http = *ctx.platform.http;
  for (const auto& timeout : timeouts) {
    if (!http.SetTimeout(handle, timeout.which, kNetworkTimeoutMs)) {
      DownloadSetStepCode(ctx, timeout.failure, http.LastError());
      return timeout.failure;
    }
  }
  DownloadSetStepCode(ctx, StepSucceeded, 0);
  return StepSucceeded;
}

int DownloadGetProgress(DownloadContext& ctx) {
  const int32_t state = ctx.state.load(kAcquire);
  if (state == DL_BROKEN) return 0;
  ctx.primaryCode.store(0, kRelease);
  if (state != DL_RUNNING && state != DL_FINISHED) return 0;
  const uint32_t expected = ctx.expectedSize.load(kAcquire);
  if (expected == 0) return 0;
  const uint32_t received = ctx.receivedSize.load(kAcquire);
  if (received == expected) return 100;
  if (received > expected) {
    ctx.primaryCode.store(PrimaryOverrun, kRelease);
    return 100;
  }
  return static_cast<int>(uint64_t{received} * 100 / expected);
}

int32_t DownloadGetState(DownloadContext& ctx) {
  const int32_t state = ctx.state.load(kAcquire);
  if (state == DL_FINISHED) {
    const int32_t result = ctx.transferResult.load(kAcquire);
    if (result != 0) ctx.primaryCode.store(result, kRelease);
  }
  return state;
}

int32_t DownloadGetError(DownloadContext& ctx) {
  LockHolder hold(*ctx.lock);
  return ctx.stepCode.load(kAcquire) + ctx.primaryCode.load(kAcquire);
}

int32_t DownloadStop(DownloadContext& ctx, StopMode mode) {
  const DownloadPlatform& platform = ctx.platform;
  if (ctx.hThread != ThreadHandle::None) {
    Threads& threads = *platform.threads;
    if (mode == StopMode::Graceful) {
      ctx.stopRequested.store(true, kRelease);
      if (threads.Wait(ctx.hThread, kStopWaitMs) != WaitOutcome::Ended) {
        return FailStop(ctx, StepStopWaitFailed, threads.LastError());
      }
      if (!threads.Close(ctx.hThread)) {
        return FailStop(ctx, StepStopCloseThreadFailed, threads.LastError());
      }
    } else {
      if (!threads.Terminate(ctx.hThread, TransferTerminated)) {
        return FailStop(ctx, StepTerminateFailed, threads.LastError());
      }
      if (!threads.Close(ctx.hThread)) {
        return FailStop(ctx, StepTerminateCloseThreadFailed, threads.LastError());
      }
    }
    ctx.hThread = ThreadHandle::None;
  }
  Http& http = *platform.http;
  struct {
    HttpHandle* handle;
    int32_t failure;
  } const handles[] = {
      {&ctx.hRequest, StepCloseRequestFailed},
      {&ctx.hConnect, StepCloseConnectionFailed},
      {&ctx.hSession, StepCloseSessionFailed},
  };
  for (const auto& entry : handles) {
    if (*entry.handle == HttpHandle::None) continue;
    if (!http.Close(*entry.handle)) return FailStop(ctx, entry.failure, http.LastError());
    *entry.handle = HttpHandle::None;
  }
  const FileHandle file = ctx.hFile.load(kAcquire);
  if (file != kInvalidFile) {
    Files& files = *platform.files;
    if (!files.Close(file)) return FailStop(ctx, StepCloseFileFailed, files.LastError());
    ctx.hFile.store(kInvalidFile, kRelease);
  }
  std::memset(ctx.url, 0, sizeof ctx.url);
  std::memset(ctx.destPath, 0, sizeof ctx.destPath);
  ctx.stopRequested.store(false, kRelease);
  ctx.expectedSize.store(0, kRelease);
  ctx.receivedSize.store(0, kRelease);
  ctx.state.store(DL_IDLE, kRelease);
  return 0;
}

void DownloadDestroy(DownloadContext& ctx) {
  if (DownloadStop(ctx, StopMode::Graceful) != 0 && DownloadStop(ctx, StopMode::Forced) != 0) {
    ctx.state.store(DL_BROKEN, kRelease);
  }
  ctx.lock.reset();
}
