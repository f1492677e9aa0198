#include "net/DownloadClient.h"

#include <cstring>
#include <mutex>

#include "net/DestinationFile.h"

namespace {

// Fails, copying nothing, when source does not fit in capacity bytes with its NUL.
bool CopyBounded(char* dest, size_t capacity, const char* source) {
  const size_t length = strnlen(source, capacity);
  if (length >= capacity) return false;
  std::memcpy(dest, source, length + 1);
  return true;
}

}  // namespace

int32_t RefuseUrl(const char* url) {
  if (url == nullptr) return PrimaryNoUrl;
  return strnlen(url, kUrlCapacity) >= kUrlCapacity ? PrimaryUrlTooLong : 0;
}

int32_t RefuseDestination(const char* destPath) {
  if (destPath == nullptr) return PrimaryNoDestination;
  return strnlen(destPath, kPathCapacity) >= kPathCapacity ? PrimaryDestinationTooLong : 0;
}

int32_t RefuseScheme(const UrlParts& parts) {
  return parts.scheme == kSchemeHttp ? 0 : PrimaryNotHttp;
}

int32_t RefuseFetchUrl(Http& http, const std::string& url, UrlParts& parts) {
  if (const int32_t refused = RefuseUrl(url.c_str())) return refused;
  return http.CrackUrl(url.c_str(), parts) ? RefuseScheme(parts) : PrimaryCrackFailed;
}

DownloadContext::DownloadContext(const InstallPlatform& platform)
    : m_platform(platform), m_lock(platform.threads->CreateLock()) {}

DownloadContext::~DownloadContext() {
  if (Stop(StopMode::Graceful) != 0) Stop(StopMode::Forced);
}

void DownloadContext::Record(std::atomic<int32_t>& code, int32_t value, uint32_t error) {
  const std::lock_guard<Lock> hold(*m_lock);
  code.store(value, kRelease);
  m_lastError.store(error, kRelease);
}

void DownloadContext::RecordError(uint32_t error) {
  const std::lock_guard<Lock> hold(*m_lock);
  m_lastError.store(error, kRelease);
}

int32_t DownloadContext::Step(int32_t code, uint32_t error) {
  Record(m_stepCode, code, error);
  return code;
}

int32_t DownloadContext::StepKeepingError(int32_t code) {
  m_stepCode.store(code, kRelease);
  return code;
}

bool DownloadContext::ResetAndRefuse(int32_t primaryCode, bool broken) {
  Stop(StopMode::Graceful);
  m_primaryCode.store(primaryCode, kRelease);
  if (broken) m_state.store(DL_BROKEN, kRelease);
  return false;
}

bool DownloadContext::Start(const char* url, const char* destPath) {
  m_primaryCode.store(0, kRelease);
  const int32_t state = m_state.load(kAcquire);
  if (state == DL_RUNNING || state == DL_BROKEN) {
    m_primaryCode.store(PrimaryStartRefused, kRelease);
    return false;
  }
  if (const int32_t refused = RefuseUrl(url)) return ResetAndRefuse(refused);
  if (const int32_t refused = RefuseDestination(destPath)) return ResetAndRefuse(refused);
  if (Stop(StopMode::Graceful) != 0) {
    m_primaryCode.store(PrimaryResetFailed, kRelease);
    return false;
  }
  if (OpenDestination(destPath) != 0) return ResetAndRefuse(PrimaryCreateFileFailed);
  if (!CopyBounded(m_url, sizeof m_url, url)) return ResetAndRefuse(PrimaryUrlNotStored, true);
  if (!CopyBounded(m_destPath, sizeof m_destPath, destPath)) {
    return ResetAndRefuse(PrimaryDestinationNotStored, true);
  }
  UrlParts parts;
  if (CrackUrl(m_url, parts) != 0) return ResetAndRefuse(PrimaryCrackFailed);
  if (const int32_t refused = RefuseScheme(parts)) return ResetAndRefuse(refused);
  if (OpenRequest(parts.host, parts.path, parts.port) != 0) {
    return ResetAndRefuse(PrimaryOpenFailed);
  }
  m_state.store(DL_READY, kRelease);
  return true;
}

int32_t DownloadContext::OpenDestination(const char* destPath) {
  uint32_t error = 0;
  const FileHandle file = CreateDestination(*m_platform.files, *m_platform.clock, destPath, error);
  if (file == kInvalidFile) return Step(StepCreateFileFailed, error);
  m_file.store(file, kRelease);
  return Step(StepSucceeded, 0);
}

int32_t DownloadContext::CrackUrl(const char* url, UrlParts& parts) {
  if (url == nullptr) return StepKeepingError(StepCrackArgumentMissing);
  Http& http = *m_platform.http;
  if (!http.CrackUrl(url, parts)) return Step(StepCrackFailed, http.LastError());
  // The parts go out as strings of at most 511 bytes.
  if (strnlen(parts.host, kUrlPartSize) >= kUrlPartSize) return Step(StepCrackHostTooLong, 0);
  if (strnlen(parts.path, kUrlPartSize) >= kUrlPartSize) return Step(StepCrackPathTooLong, 0);
  return Step(StepSucceeded, 0);
}

int32_t DownloadContext::OpenRequest(const char* host, const char* path, uint16_t port) {
  if (m_session != HttpHandle::None || m_connection != HttpHandle::None ||
      m_request != HttpHandle::None || m_url[0] == '\0') {
    return StepKeepingError(StepOpenAlreadyOpen);
  }
  if (host == nullptr || path == nullptr) return StepKeepingError(StepOpenHostOrPathMissing);
  if (host[0] == '\0' || path[0] == '\0') return StepKeepingError(StepOpenHostOrPathEmpty);
  Http& http = *m_platform.http;
  int32_t code = StepSucceeded;
  uint32_t error = 0;
  if ((m_session = http.Open()) == HttpHandle::None) {
    code = StepInternetOpenFailed;
    error = http.LastError();
  } else if (SetTimeouts(m_session) != 0) {
    code = StepSessionTimeoutsFailed;
  } else if ((m_connection = http.Connect(m_session, host, port)) == HttpHandle::None) {
    code = StepConnectFailed;
    error = http.LastError();
  } else if (SetTimeouts(m_connection) != 0) {
    code = StepConnectionTimeoutsFailed;
  } else if ((m_request = http.OpenRequest(m_connection, path)) == HttpHandle::None) {
    code = StepOpenRequestFailed;
    error = http.LastError();
  } else if (SetTimeouts(m_request) != 0) {
    code = StepRequestTimeoutsFailed;
  }
  Step(code, error);
  if (code != StepSucceeded) CloseOpenedHandles();
  return code;
}

int32_t DownloadContext::SetTimeouts(HttpHandle handle) {
  if (handle == HttpHandle::None) return StepKeepingError(StepTimeoutsNoHandle);
  struct {
    HttpTimeout which;
    int32_t failure;
  } const timeouts[] = {
      {HttpTimeout::Connect, StepConnectTimeoutFailed},
      {HttpTimeout::Send, StepSendTimeoutFailed},
      {HttpTimeout::Receive, StepReceiveTimeoutFailed},
  };
  Http& http = *m_platform.http;
  for (const auto& timeout : timeouts) {
    if (!http.SetTimeout(handle, timeout.which, kNetworkTimeoutMs)) {
      return Step(timeout.failure, http.LastError());
    }
  }
  return Step(StepSucceeded, 0);
}

// After a failed open, closes what was opened and goes on past a handle that will not close.
void DownloadContext::CloseOpenedHandles() {
  for (const HandleToClose& open : HandlesNewestFirst()) {
    if (!CloseHttp(*open.handle)) RecordError(m_platform.http->LastError());
  }
}

std::array<DownloadContext::HandleToClose, 3> DownloadContext::HandlesNewestFirst() {
  return {{{&m_request, StepCloseRequestFailed},
           {&m_connection, StepCloseConnectionFailed},
           {&m_session, StepCloseSessionFailed}}};
}

bool DownloadContext::CloseHttp(HttpHandle& handle) {
  if (handle == HttpHandle::None) return true;
  if (!m_platform.http->Close(handle)) return false;
  handle = HttpHandle::None;
  return true;
}

bool DownloadContext::CloseFile() {
  const FileHandle file = m_file.load(kAcquire);
  if (file == kInvalidFile) return true;
  if (!m_platform.files->Close(file)) return false;
  m_file.store(kInvalidFile, kRelease);
  return true;
}

bool DownloadContext::Launch() {
  if (m_state.load(kAcquire) != DL_READY) {
    m_primaryCode.store(PrimaryNotStarted, kRelease);
    return false;
  }
  // DL_RUNNING must be in place before the thread can store its DL_FINISHED.
  m_state.store(DL_RUNNING, kRelease);
  Threads& threads = *m_platform.threads;
  m_thread = threads.Create(&DownloadContext::ThreadProc, this);
  if (m_thread == ThreadHandle::None) {
    const uint32_t error = threads.LastError();
    m_state.store(DL_FINISHED, kRelease);
    Record(m_primaryCode, PrimaryThreadNotCreated, error);
    return false;
  }
  Record(m_primaryCode, PrimarySucceeded, 0);
  return true;
}

void DownloadContext::AwaitEnd(uint32_t milliseconds) {
  // A wait that fails still paces the owner's polls.
  if (m_platform.threads->Wait(m_thread, milliseconds) == WaitOutcome::Failed) {
    m_platform.clock->Sleep(milliseconds);
  }
}

DownloadPoll DownloadContext::Poll() const {
  const int32_t state = m_state.load(kAcquire);
  const uint32_t expected = m_expectedSize.load(kAcquire);
  const uint32_t received = m_receivedSize.load(kAcquire);
  if ((state != DL_RUNNING && state != DL_FINISHED) || expected == 0) return {state, 0};
  if (received >= expected) return {state, 100};
  return {state, static_cast<int>(uint64_t{received} * 100 / expected)};
}

int32_t DownloadContext::PrimaryCode() const {
  const int32_t recorded = m_primaryCode.load(kAcquire);
  if (recorded != 0) return recorded;
  const int32_t state = m_state.load(kAcquire);
  const int32_t result = m_transferResult.load(kAcquire);
  if (state == DL_FINISHED && result != 0) return result;
  const uint32_t expected = m_expectedSize.load(kAcquire);
  const bool overran = (state == DL_RUNNING || state == DL_FINISHED) && expected != 0 &&
                       m_receivedSize.load(kAcquire) > expected;
  return overran ? PrimaryOverrun : PrimarySucceeded;
}

int32_t DownloadContext::Code() const {
  const std::lock_guard<Lock> hold(*m_lock);
  return m_stepCode.load(kAcquire) + PrimaryCode();
}

int32_t DownloadContext::Stop(StopMode mode) {
  Threads& threads = *m_platform.threads;
  if (m_thread != ThreadHandle::None) {
    const bool graceful = mode == StopMode::Graceful;
    if (graceful) {
      m_stopRequested.store(true, kRelease);
      if (threads.Wait(m_thread, kStopWaitMs) != WaitOutcome::Ended) {
        return Step(StepStopWaitFailed, threads.LastError());
      }
    } else if (!threads.Terminate(m_thread, TransferTerminated)) {
      return Step(StepTerminateFailed, threads.LastError());
    }
    if (!threads.Close(m_thread)) {
      return Step(graceful ? StepStopCloseThreadFailed : StepTerminateCloseThreadFailed,
                  threads.LastError());
    }
    m_thread = ThreadHandle::None;
  }
  for (const HandleToClose& open : HandlesNewestFirst()) {
    if (!CloseHttp(*open.handle)) return Step(open.failure, m_platform.http->LastError());
  }
  if (!CloseFile()) return Step(StepCloseFileFailed, m_platform.files->LastError());
  std::memset(m_url, 0, sizeof m_url);
  std::memset(m_destPath, 0, sizeof m_destPath);
  m_stopRequested.store(false, kRelease);
  m_expectedSize.store(0, kRelease);
  m_receivedSize.store(0, kRelease);
  m_state.store(DL_IDLE, kRelease);
  return 0;
}
