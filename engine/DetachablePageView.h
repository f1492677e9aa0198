#pragma once
// The download page's view, shared between the page and the install worker. The page
// detaches it when the user confirms the cancel and when the page is destroyed; from then
// on the worker's calls do nothing and its message boxes answer Cancel, so a worker that
// outlives the page never touches it.
//
// The adapter inside is owned here, not by the page, so that a call already under way when the page
// detaches still runs on live memory: the adapter must therefore reach the page only through window
// handles (a message to a destroyed window fails harmlessly), never through the page object.

#include <atomic>
#include <memory>

#include "engine/DownloadPageView.h"

class DetachablePageView final : public DownloadPageView {
 public:
  explicit DetachablePageView(std::unique_ptr<DownloadPageView> page);

  // Any thread; idempotent.
  void Detach();
  bool IsDetached() const;

  void SetStatusText(int stringId, int index, int total) override;
  void SetProgress(int percent) override;
  void StartMarquee() override;
  void DisableCancel() override;
  void PressNext() override;
  void ShowPage() override;
  int ShowMessageBox(int stringId, uint32_t type) override;

 private:
  // Null when no adapter was given: a view that was never attached.
  const std::unique_ptr<DownloadPageView> m_page;
  std::atomic<bool> m_bDetached;
};
