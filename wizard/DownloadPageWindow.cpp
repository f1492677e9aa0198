#include "wizard/DownloadPageWindow.h"

#include "afx/AfxMessageBox.h"
#include "afx/AfxStrings.h"
#include "net/FetchAndVerify.h"
#include "res/resource.h"

// The core asks for boxes and reads their answers in Windows' own values, which pass
// through here unchanged.
static_assert(kMbOk == MB_OK && kMbRetryCancel == MB_RETRYCANCEL, "box types");
static_assert(kIdOk == IDOK && kIdCancel == IDCANCEL && kIdRetry == IDRETRY, "answers");

DownloadPageWindow::DownloadPageWindow(HWND sheet, HWND page) : m_sheet(sheet) {
  m_page.m_hWnd = page;
}

CProgressCtrl DownloadPageWindow::ProgressBar() const {
  CProgressCtrl bar;
  bar.m_hWnd = m_page.GetDlgItem(IDC_PROGRESS);
  return bar;
}

void DownloadPageWindow::SetStatusText(int stringId, int index, int total) {
  m_page.SetDlgItemText(IDC_STATUS, AfxFormatString(static_cast<UINT>(stringId), {index, total}));
}

void DownloadPageWindow::SetProgress(int percent) { ProgressBar().SetPos(percent); }

void DownloadPageWindow::StartMarquee() { ProgressBar().SetMarquee(100); }

void DownloadPageWindow::DisableCancel() { m_sheet.DisableCancel(); }

void DownloadPageWindow::PressNext() { m_sheet.PressNext(); }

int DownloadPageWindow::ShowMessageBox(int stringId, uint32_t type) {
  return AfxMessageBox(static_cast<UINT>(stringId), type);
}

void DownloadPageWindow::ShowPage() { m_page.ShowWindow(SW_SHOW); }
