#pragma once
// Threads and locks as the download client sees them (kernel32 on Windows).

#include <cstdint>
#include <memory>

// A thread handle; None is "no thread".
enum class ThreadHandle : uintptr_t { None = 0 };

using ThreadProc = uint32_t (*)(void* argument);

enum class WaitOutcome { Ended, TimedOut, Failed };

// A non-recursive lock (a critical section on Windows); deleted with the object. Named as
// the standard's locks are, so that std::lock_guard holds it.
class Lock {
 public:
  virtual ~Lock() = default;
  virtual void lock() = 0;
  virtual void unlock() = 0;
};

class Threads {
 public:
  virtual ~Threads() = default;

  // Starts proc(argument) at once on a new thread with default security and stack size.
  virtual ThreadHandle Create(ThreadProc proc, void* argument) = 0;
  virtual WaitOutcome Wait(ThreadHandle thread, uint32_t milliseconds) = 0;
  // Ends the thread from outside. Where a platform cannot do that, it must at least
  // return only once the thread has stopped running.
  virtual bool Terminate(ThreadHandle thread, uint32_t exitCode) = 0;
  virtual bool Close(ThreadHandle thread) = 0;
  virtual std::unique_ptr<Lock> CreateLock() = 0;

  virtual uint32_t LastError() = 0;
};

Threads& SystemThreads();
