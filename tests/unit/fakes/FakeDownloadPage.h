#pragma once
// The user-interface side of the download page: its cancel handler with the confirmation
// box "終了しますか？", run on a FakeUiThread. The test answers the box from its own thread.

#include <memory>
#include <utility>

#include "engine/CancelGate.h"
#include "engine/DetachablePageView.h"
#include "fakes/EventLog.h"
#include "fakes/FakeUiThread.h"
#include "fakes/Signal.h"

class FakeDownloadPage {
 public:
  FakeDownloadPage(FakeUiThread& ui, EventLog& log, std::shared_ptr<CancelGate> gate,
                   std::shared_ptr<DetachablePageView> view)
      : m_ui(ui), m_log(log), m_gate(std::move(gate)), m_view(std::move(view)) {}

  Signal boxOpened;      // the confirmation is up
  Signal cancelHandled;  // OnQueryCancel has returned

  // Test thread: the user presses Cancel.
  void RequestCancel() {
    m_ui.Post([this] { OnQueryCancel(); });
  }
  // Test thread: the user answers the open confirmation.
  void Answer(bool yes) {
    m_ui.Post([this, yes] {
      m_bYes = yes;
      m_bAnswered = true;
    });
  }

 private:
  // User-interface thread.
  void OnQueryCancel() {
    const bool cancel = QueryCancelDownloads(
        *m_gate, *m_view, [this] { return AskToCancel(); },
        [this] { m_log.Add("ui: disable cancel"); });
    if (cancel) m_log.Add(m_view->IsDetached() ? "ui: detached" : "ui: still attached");
    m_log.Add(cancel ? "ui: cancel allowed" : "ui: cancel refused");
    cancelHandled.Set();
  }
  bool AskToCancel() {
    m_log.Add("ui: box 169");
    boxOpened.Set();
    m_ui.RunModalLoop([this] { return m_bAnswered; });
    m_log.Add(m_bYes ? "ui: box 169 Yes" : "ui: box 169 No");
    return m_bYes;
  }

  FakeUiThread& m_ui;
  EventLog& m_log;
  const std::shared_ptr<CancelGate> m_gate;
  const std::shared_ptr<DetachablePageView> m_view;
  bool m_bAnswered = false;  // user-interface thread only
  bool m_bYes = false;
};
