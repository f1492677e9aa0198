#pragma once
// The download page's windows as the install worker sees them. Every call is a
// synchronous message to a window of the user-interface thread; the adapter holds window
// handles only, so a call that reaches a destroyed page fails harmlessly.

#include "afx/AfxPropertyPage.h"
#include "engine/DownloadPageView.h"

class DownloadPageWindow final : public DownloadPageView {
 public:
  DownloadPageWindow(HWND sheet, HWND page);
  void SetStatusText(int stringId, int index, int total) override;
  void SetProgress(int percent) override;
  void StartMarquee() override;
  void DisableCancel() override;
  void PressNext() override;
  void ShowPage() override;
  int ShowMessageBox(int stringId, uint32_t type) override;

 private:
  CProgressCtrl ProgressBar() const;

  CSheetWindow m_sheet;
  CWnd m_page;
};
