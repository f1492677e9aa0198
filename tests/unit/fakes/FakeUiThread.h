#pragma once
// A stand-in for the user-interface thread: it handles posted and sent tasks in order, like
// window messages, and can run a modal loop (as a message box does) that keeps handling
// them until the box is answered.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

#include "fakes/Signal.h"

class FakeUiThread {
 public:
  FakeUiThread()
      : m_thread([this] {
          RunModalLoop([this] { return m_bStopping; });
          m_ended.Set();
        }) {}
  // A thread still inside a modal loop that nothing answers never ends: the deadline turns
  // that into the same abort as every other wait, where join() would stall the run.
  ~FakeUiThread() {
    Post([this] { m_bStopping = true; });
    m_ended.Wait("the end of the user-interface thread");
    m_thread.join();
  }

  // Any other thread: queue a task and return at once (PostMessage).
  void Post(std::function<void()> task) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_tasks.push_back(std::move(task));
    m_wake.notify_all();
  }
  // Any other thread: queue a task and wait until it has been handled (SendMessage).
  void Send(const std::function<void()>& task) {
    Signal handled;
    Post([&] {
      task();
      handled.Set();
    });
    handled.Wait("a task sent to the user-interface thread");
  }
  // On this thread: handle tasks until done() holds. done() reads state that only tasks
  // on this thread change.
  void RunModalLoop(const std::function<bool()>& done) {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!done()) {
      m_wake.wait(lock, [this] { return !m_tasks.empty(); });
      std::function<void()> task = std::move(m_tasks.front());
      m_tasks.pop_front();
      lock.unlock();
      task();
      lock.lock();
    }
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<std::function<void()>> m_tasks;
  bool m_bStopping = false;  // only touched by tasks on this thread
  Signal m_ended;
  std::thread m_thread;      // last: starts once everything above exists
};
