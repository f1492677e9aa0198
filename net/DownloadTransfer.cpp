// The transfer thread of the download client.

#include <cstring>

#include "net/DownloadClient.h"

int32_t DownloadContext::FinishFile(uint32_t& error) {
  if (CloseFile()) return TransferComplete;
  error = m_platform.files->LastError();
  return TransferCloseFailed;
}

int32_t DownloadContext::ReceiveBody(HttpHandle request, uint32_t expected, uint32_t& error) {
  Http& http = *m_platform.http;
  Files& files = *m_platform.files;
  Clock& clock = *m_platform.clock;
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
      if (total >= expected) return FinishFile(error);
      if (clock.GetTickCount() - lastDataTick > kStallLimitMs) return TransferStalled;
      // The platform keeps answering at once with nothing: pause rather than spin.
      clock.Sleep(kEmptyReadPauseMs);
    } else {
      if (!files.Write(m_file.load(kAcquire), buffer, read)) {
        error = files.LastError();
        return TransferWriteFailed;
      }
      lastDataTick = clock.GetTickCount();
      total += read;
      m_receivedSize.store(total > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(total),
                           kRelease);
      if (total >= expected) return FinishFile(error);
    }
    if (m_stopRequested.load(kAcquire)) return TransferStopped;
  }
}

int32_t DownloadContext::Transfer(uint32_t& error) {
  Http& http = *m_platform.http;
  const HttpHandle request = m_request;
  if (request == HttpHandle::None || m_file.load(kAcquire) == kInvalidFile) {
    return TransferNotReady;
  }
  const auto failed = [&http, &error](int32_t result) {
    error = http.LastError();
    return result;
  };
  if (!http.SendRequest(request)) return failed(TransferSendFailed);
  uint32_t status = 0;
  if (!http.QueryNumber(request, HttpNumber::StatusCode, status))
    return failed(TransferStatusUnreadable);
  if (status >= 400) return TransferHttpError;
  uint32_t length = 0;
  if (!http.QueryNumber(request, HttpNumber::ContentLength, length))
    return failed(TransferNoContentLength);
  m_expectedSize.store(length, kRelease);
  if (m_stopRequested.load(kAcquire)) return TransferStopped;
  return ReceiveBody(request, length, error);
}

uint32_t DownloadContext::ThreadProc(void* context) {
  if (context == nullptr) return TransferNoContext;
  DownloadContext& self = *static_cast<DownloadContext*>(context);
  uint32_t error = 0;
  int32_t result = self.Transfer(error);
  if (!self.CloseFile()) {
    result = TransferCleanupCloseFailed;
    error = self.m_platform.files->LastError();
  }
  self.Record(self.m_transferResult, result, error);
  // Last touch of the context: the owner may destroy it as soon as it sees this.
  self.m_state.store(DL_FINISHED, kRelease);
  return static_cast<uint32_t>(result);
}
