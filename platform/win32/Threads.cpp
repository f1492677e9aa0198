// kernel32 threads and critical sections for the download client.

#include "platform/Threads.h"

#include <windows.h>

#include <new>

#include "platform/win32/UniqueHandle.h"

namespace {

// How long a terminated thread may take to be gone before Terminate gives up.
constexpr DWORD kTerminationWaitMs = 10000;

struct ThreadStart {
  ThreadProc proc;
  void* argument;
};

// Adapts the platform's calling convention; nothing may escape into the platform.
DWORD WINAPI RunThread(LPVOID parameter) {
  const ThreadStart start = *static_cast<ThreadStart*>(parameter);
  delete static_cast<ThreadStart*>(parameter);
  try {
    return start.proc(start.argument);
  } catch (...) {
    return ~DWORD{0};
  }
}

class CriticalSectionLock final : public Lock {
 public:
  CriticalSectionLock() { InitializeCriticalSection(&m_section); }
  ~CriticalSectionLock() override { DeleteCriticalSection(&m_section); }
  void lock() override { EnterCriticalSection(&m_section); }
  void unlock() override { LeaveCriticalSection(&m_section); }

 private:
  CRITICAL_SECTION m_section;
};

class Win32Threads final : public Threads {
 public:
  ThreadHandle Create(ThreadProc proc, void* argument) override {
    auto* start = new (std::nothrow) ThreadStart{proc, argument};
    if (start == nullptr) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return ThreadHandle::None;
    }
    HANDLE thread = CreateThread(nullptr, 0, RunThread, start, 0, nullptr);
    if (thread == nullptr) {
      const DWORD error = GetLastError();
      delete start;
      SetLastError(error);
      return ThreadHandle::None;
    }
    return FromNative<ThreadHandle>(thread);
  }

  WaitOutcome Wait(ThreadHandle thread, uint32_t milliseconds) override {
    switch (WaitForSingleObject(ToNative(thread), milliseconds)) {
      case WAIT_OBJECT_0:
        return WaitOutcome::Ended;
      case WAIT_TIMEOUT:
        return WaitOutcome::TimedOut;
      default:
        return WaitOutcome::Failed;
    }
  }

  bool Terminate(ThreadHandle thread, uint32_t exitCode) override {
    if (!TerminateThread(ToNative(thread), exitCode)) return false;
    // Termination completes asynchronously; the caller closes what the thread used.
    if (WaitForSingleObject(ToNative(thread), kTerminationWaitMs) != WAIT_OBJECT_0) {
      SetLastError(ERROR_TIMEOUT);
      return false;
    }
    return true;
  }

  bool Close(ThreadHandle thread) override { return CloseHandle(ToNative(thread)) != FALSE; }

  std::unique_ptr<Lock> CreateLock() override { return std::make_unique<CriticalSectionLock>(); }

  uint32_t LastError() override { return GetLastError(); }
};

}  // namespace

Threads& SystemThreads() {
  static Win32Threads threads;
  return threads;
}
