// The transfer thread of the download client, and its launch by the owner.

#include <cstring>

#include "net/DownloadClient.h"

namespace {

constexpr auto kRelease = std::memory_order_release;
constexpr auto kAcquire = std::memory_order_acquire;

int32_t CloseCompletedFile(DownloadContext& ctx, uint32_t& error) {
  Files& files = *ctx.platform.files;
  if (!files.Close(ctx.hFile.load(kAcquire))) {
    error = files.LastError();
    return TransferCloseFailed;
  }
  ctx.hFile.store(kInvalidFile, kRelease);
  return TransferComplete;
}

int32_t ReceiveBody(DownloadContext& ctx, HttpHandle request, uint32_t expected, uint32_t& error) {
  Http& http = *ctx.platform.http;
  Files& files = *ctx.platform.files;
  Clock& clock = *ctx.platform.clock;
  char buffer[kReadSize + 1];
  uint64_t total = 0;
  // Tick 0 is the system's start, not the transfer's: a body that ends before any
  // data arrived stalls at once on a system that has run for 30 s.
  uint32_t lastDataTick = 0;
  for (;;) {
    std::memset(buffer, 0, sizeof buffer);
    uint32_t read = 0;
    if (!http.ReadBody(request, buffer, kReadSize, read)) {
      error = http.LastError();
      return TransferReadFailed;
    }
    if (read == 0) {
      // The body has ended. With everything announced already written (only possible
      // for a Content-Length of 0) the file is complete, not stalled.
      if (total >= expected) return CloseCompletedFile(ctx, error);
      if (clock.GetTickCount() - lastDataTick > kStallLimitMs) return TransferStalled;
      // The platform keeps answering at once with nothing: pause rather than spin.
      clock.Sleep(kEmptyReadPauseMs);
    } else {
      if (!files.Write(ctx.hFile.load(kAcquire), buffer, read)) {
        error = files.LastError();
        return TransferWriteFailed;
      }
      lastDataTick = clock.GetTickCount();
      total += read;
      ctx.receivedSize.store(total > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(total),
                             kRelease);
      if (total >= expected) return CloseCompletedFile(ctx, error);
    }
    if (ctx.stopRequested.load(kAcquire)) return TransferStopped;
  }
}

int32_t Transfer(DownloadContext& ctx, uint32_t& error) {
  Http& http = *ctx.platform.http;
  const HttpHandle request = ctx.hRequest;
  if (request == HttpHandle::None || ctx.hFile.load(kAcquire) == kInvalidFile) {
    return TransferNotReady;
  }
  if (!http.SendRequest(request)) {
    error = http.LastError();
    return TransferSendFailed;
  }
  uint32_t status = 0;
  if (!http.QueryNumber(request, HttpNumber::StatusCode, status)) {
    error = http.LastError();
    return TransferStatusUnreadable;
  }
  if (status >= 400) return TransferHttpError;
  uint32_t length = 0;
  if (!http.QueryNumber(request, HttpNumber::ContentLength, length)) {
    error = http.LastError();
    return TransferNoContentLength;
  }
  ctx.expectedSize.store(length, kRelease);
  if (ctx.stopRequested.load(kAcquire)) return TransferStopped;
  return ReceiveBody(ctx, request, length, error);
}

}  // namespace

uint32_t DownloadThreadProc(void* context) {
  if (context == nullptr) return TransferNoContext;
  DownloadContext& ctx = *static_cast<DownloadContext*>(context);
  uint32_t error = 0;
  int32_t result = Transfer(ctx, error);
  const FileHandle file = ctx.hFile.load(kAcquire);
  if (file != kInvalidFile) {
    Files& files = *ctx.platform.files;
    if (files.Close(file)) {
      ctx.hFile.store(kInvalidFile, kRelease);
    } else {
      result = TransferCleanupCloseFailed;
      error = files.LastError();
    }
  }
  DownloadSetTransferResult(ctx, result, error);
  // Last touch of the context: the owner may destroy it as soon as it sees this.
  ctx.state.store(DL_FINISHED, kRelease);
  return static_cast<uint32_t>(result);
}

bool DownloadLaunch(DownloadContext& ctx) {
  // DL_RUNNING must be in place before the thread can store its DL_FINISHED.
  ctx.state.store(DL_RUNNING, kRelease);
  Threads& threads = *ctx.platform.threads;
  ctx.hThread = threads.Create(DownloadThreadProc, &ctx);
  if (ctx.hThread == ThreadHandle::None) {
    const uint32_t error = threads.LastError();
    ctx.state.store(DL_FINISHED, kRelease);
    DownloadSetPrimaryCode(ctx, PrimaryThreadNotCreated, error);
    return false;
  }
  DownloadSetPrimaryCode(ctx, PrimarySucceeded, 0);
  return true;
}
