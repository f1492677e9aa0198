#pragma once
// Two stand-ins for the platform's threads:
//  - ScriptedThreads runs no thread of its own: the test decides when the thread's code
//    runs (on the test's thread), and how waits, terminations and closes turn out;
//  - StdThreads runs the code on a real std::thread, for the suites under TSan.
// Both hand out a lock that fails the test when a thread re-enters it.

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "fakes/FakeLastError.h"
#include "platform/Threads.h"

class CheckedLock : public Lock {
 public:
  void lock() override {
    if (m_owner.load() == std::this_thread::get_id()) {
      ADD_FAILURE() << "the lock was entered again by the thread that holds it";
      return;
    }
    m_mutex.lock();
    m_owner.store(std::this_thread::get_id());
  }
  void unlock() override {
    m_owner.store(std::thread::id());
    m_mutex.unlock();
  }

 private:
  std::mutex m_mutex;
  std::atomic<std::thread::id> m_owner{};
};

class ScriptedThreads : public Threads {
 public:
  bool failCreate = false;
  bool runOnCreate = false;  // the thread's code runs to its end inside Create
  WaitOutcome waitOutcome = WaitOutcome::Ended;
  bool failTerminate = false;
  bool failClose = false;
  // Called at the start of every wait with its timeout: the test's hook to end the
  // thread's code there, or to let the waited time pass.
  std::function<void(uint32_t milliseconds)> onWait;

  ThreadHandle Create(ThreadProc proc, void* argument) override {
    ++creates;
    if (failCreate) {
      g_fakeLastError = 8;  // not enough memory
      return ThreadHandle::None;
    }
    m_proc = proc;
    m_argument = argument;
    if (runOnCreate) RunThread();
    return kThread;
  }

  // Runs the thread's code now, on the calling thread; returns its exit code.
  uint32_t RunThread() {
    ThreadProc proc = m_proc;
    m_proc = nullptr;
    return exitCode = proc(m_argument);
  }
  bool HasPendingThread() const { return m_proc != nullptr; }

  WaitOutcome Wait(ThreadHandle thread, uint32_t milliseconds) override {
    EXPECT_EQ(thread, kThread);
    waits.push_back(milliseconds);
    if (onWait) onWait(milliseconds);
    if (waitOutcome != WaitOutcome::Ended) g_fakeLastError = 258;  // WAIT_TIMEOUT
    return waitOutcome;
  }
  bool Terminate(ThreadHandle thread, uint32_t code) override {
    EXPECT_EQ(thread, kThread);
    ++terminations;
    if (failTerminate) {
      g_fakeLastError = 5;
      return false;
    }
    m_proc = nullptr;
    exitCode = code;
    return true;
  }
  bool Close(ThreadHandle thread) override {
    EXPECT_EQ(thread, kThread);
    ++closes;
    if (failClose) {
      g_fakeLastError = 6;
      return false;
    }
    return true;
  }
  std::unique_ptr<Lock> CreateLock() override { return std::make_unique<CheckedLock>(); }
  uint32_t LastError() override { return g_fakeLastError; }

  static constexpr ThreadHandle kThread = static_cast<ThreadHandle>(0x7001);
  int creates = 0;
  int terminations = 0;
  int closes = 0;
  uint32_t exitCode = 0;
  std::vector<uint32_t> waits;

 private:
  ThreadProc m_proc = nullptr;
  void* m_argument = nullptr;
};

class StdThreads : public Threads {
 public:
  ~StdThreads() override {
    for (auto& entry : m_threads) {
      if (entry.second->thread.joinable()) entry.second->thread.join();
    }
  }

  ThreadHandle Create(ThreadProc proc, void* argument) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    auto state = std::make_unique<Running>();
    Running* running = state.get();
    running->thread = std::thread([running, proc, argument] {
      const uint32_t code = proc(argument);
      std::lock_guard<std::mutex> done(running->mutex);
      running->exitCode = code;
      running->ended = true;
      running->changed.notify_all();
    });
    const ThreadHandle handle = static_cast<ThreadHandle>(++m_next);
    m_threads[handle] = std::move(state);
    return handle;
  }

  // Waits on the thread's end, never on the clock; the platform's timeout is not modelled
  // because the code under test always ends by itself here.
  WaitOutcome Wait(ThreadHandle thread, uint32_t) override {
    Running& running = Find(thread);
    std::unique_lock<std::mutex> lock(running.mutex);
    running.changed.wait(lock, [&] { return running.ended; });
    return WaitOutcome::Ended;
  }
  // A std::thread cannot be ended from outside: wait until it has stopped running.
  bool Terminate(ThreadHandle thread, uint32_t) override {
    Wait(thread, 0);
    return true;
  }
  bool Close(ThreadHandle thread) override {
    std::unique_ptr<Running> running;
    {
      std::lock_guard<std::mutex> guard(m_mutex);
      running = std::move(m_threads.at(thread));
      m_threads.erase(thread);
    }
    running->thread.join();
    lastExitCode = running->exitCode;
    return true;
  }
  std::unique_ptr<Lock> CreateLock() override { return std::make_unique<CheckedLock>(); }
  uint32_t LastError() override { return g_fakeLastError; }

  uint32_t lastExitCode = 0;

 private:
  struct Running {
    std::thread thread;
    std::mutex mutex;
    std::condition_variable changed;
    bool ended = false;
    uint32_t exitCode = 0;
  };
  Running& Find(ThreadHandle thread) {
    std::lock_guard<std::mutex> guard(m_mutex);
    return *m_threads.at(thread);
  }

  std::mutex m_mutex;
  std::map<ThreadHandle, std::unique_ptr<Running>> m_threads;
  uintptr_t m_next = 0;
};
