#pragma once
// The page adapter as the worker reaches it: records every call as "view: ...". With a
// FakeUiThread, each change of the page is sent to that thread and recorded there, as the
// real adapter's window messages are.

#include <functional>
#include <string>

#include "fakes/EventLog.h"
#include "fakes/FakeUiThread.h"
#include "engine/DownloadPageView.h"

class FakeDownloadPageView : public DownloadPageView {
 public:
  explicit FakeDownloadPageView(EventLog& log, FakeUiThread* ui = nullptr) : m_log(log), m_ui(ui) {}

  // Runs on the worker thread just before DisableCancel is sent to the user-interface thread.
  std::function<void()> beforeDisableCancel;
  int messageBoxAnswer = kIdOk;

  void SetStatusText(int stringId, int index, int total) override {
    OnUiThread("status " + std::to_string(stringId) + " " + std::to_string(index) + "/" +
               std::to_string(total));
  }
  void SetProgress(int percent) override { OnUiThread("progress " + std::to_string(percent)); }
  void StartMarquee() override { OnUiThread("marquee"); }
  void DisableCancel() override {
    if (beforeDisableCancel) beforeDisableCancel();
    OnUiThread("disable cancel");
  }
  void PressNext() override { OnUiThread("next"); }
  void ShowPage() override { OnUiThread("show page"); }
  int ShowMessageBox(int stringId, uint32_t type) override {
    // The worker's boxes have no owner window and run on the worker thread.
    m_log.Add("view: box " + std::to_string(stringId) + " type " + std::to_string(type));
    return messageBoxAnswer;
  }

 private:
  void OnUiThread(const std::string& what) {
    const std::string event = "view: " + what;
    if (m_ui)
      m_ui->Send([&] { m_log.Add(event); });
    else
      m_log.Add(event);
  }

  EventLog& m_log;
  FakeUiThread* const m_ui;
};
