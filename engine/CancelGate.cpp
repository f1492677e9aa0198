#include "engine/CancelGate.h"

#include "engine/DetachablePageView.h"

bool CancelGate::OnQueryCancel(const std::function<bool()>& askUser,
                               const std::function<void()>& disableCancel) {
  if (m_bSetupRunning.load(std::memory_order_acquire)) return false;

  std::lock_guard<std::recursive_mutex> guard(m_lock);
  if (m_bAbandoned.load(std::memory_order_relaxed)) return true;  // already confirmed
  // Once the phase is entered the worker is disabling Cancel, or has done so; and a second
  // request while our own confirmation is open must not stack another one on it.
  if (m_bInstallPhaseEntered || m_bCancelPrompt) return false;

  m_bCancelPrompt = true;
  const bool cancel = askUser();
  m_bCancelPrompt = false;

  if (cancel) {
    m_bAbandoned.store(true, std::memory_order_release);
  } else if (m_bInstallPhase.load(std::memory_order_acquire)) {
    // The worker announced the phase while the user was deciding; it cannot disable
    // Cancel itself before we leave the lock, so do it here, on our own thread.
    disableCancel();
  }
  return cancel;
}

bool CancelGate::IsAbandoned() const { return m_bAbandoned.load(std::memory_order_acquire); }

bool CancelGate::EnterInstallPhase(const std::function<void()>& pause) {
  m_bInstallPhase.store(true, std::memory_order_release);

  std::unique_lock<std::recursive_mutex> lock(m_lock);
  while (m_bCancelPrompt) {
    lock.unlock();
    pause();
    lock.lock();
  }
  if (m_bAbandoned.load(std::memory_order_relaxed)) return false;
  m_bInstallPhaseEntered = true;
  return true;
}

void CancelGate::SetSetupRunning(bool running) {
  m_bSetupRunning.store(running, std::memory_order_release);
}

bool CancelGate::IsInstallPhaseAnnounced() const {
  return m_bInstallPhase.load(std::memory_order_acquire);
}

bool QueryCancelDownloads(CancelGate& gate, DetachablePageView& view,
                          const std::function<bool()>& askUser,
                          const std::function<void()>& disableCancel) {
  const bool cancel = gate.OnQueryCancel(askUser, disableCancel);
  if (cancel) view.Detach();
  return cancel;
}
