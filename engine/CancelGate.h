#pragma once
// Serialises the user's cancel confirmation (user-interface thread) with the install
// worker's entry into the install phase, after which the wizard can no longer be cancelled.
//
// Neither thread waits for the other while holding m_lock: the user-interface thread holds
// it only while the user answers the confirmation, and the worker holds it only to look at
// the flags. The worker disables Cancel and Close after leaving the lock, which needs the
// user-interface thread; a cancel request arriving at that moment finds the phase already
// entered and is refused without a question, so no confirmation can open in between.
//
// Shared by the page and the worker (the worker may outlive the page).

#include <atomic>
#include <functional>
#include <mutex>

class DetachablePageView;

class CancelGate {
 public:
  // User-interface thread, when the user asks to cancel the wizard. askUser shows the
  // confirmation and returns true for Yes; disableCancel disables the sheet's Cancel
  // button and Close command. Returns true when the wizard may be cancelled.
  bool OnQueryCancel(const std::function<bool()>& askUser,
                     const std::function<void()>& disableCancel);

  // Worker thread. True once the user has confirmed a cancel: the page is closing and the
  // run must stop.
  bool IsAbandoned() const;

  // Worker thread, after the last download. Announces the install phase, waits until no
  // confirmation is open (pause is called between looks, without the lock) and enters the
  // phase. Returns false, without entering, when the user confirmed a cancel.
  bool EnterInstallPhase(const std::function<void()>& pause);

  // Worker thread, around each setup run: while a setup runs, cancel requests are refused.
  void SetSetupRunning(bool running);

  // Whether the worker has finished its downloads and announced the install phase.
  bool IsInstallPhaseAnnounced() const;

 private:
  // The user-interface thread may come back in while its confirmation is open.
  std::recursive_mutex m_lock;
  bool m_bCancelPrompt = false;              // under m_lock: the confirmation is open
  bool m_bInstallPhaseEntered = false;       // under m_lock: no confirmation may open any more
  std::atomic<bool> m_bInstallPhase{false};  // written by the worker without the lock
  std::atomic<bool> m_bSetupRunning{false};  // read by the user-interface thread without the lock
  std::atomic<bool> m_bAbandoned{false};     // written under m_lock, read by the worker without it
};

// The download page's Cancel, on the user-interface thread: the gate decides, and a page
// that may close is detached first, so that from then on the worker never reaches it.
bool QueryCancelDownloads(CancelGate& gate, DetachablePageView& view,
                          const std::function<bool()>& askUser,
                          const std::function<void()>& disableCancel);
