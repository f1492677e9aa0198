#include "wizard/DownloadPageWindow.h"

#include <commctrl.h>

#include "afx/AfxMessageBox.h"
#include "afx/AfxStrings.h"
#include "res/resource.h"
#include "wizard/InstallerSheet.h"

void DownloadPageWindow::SetStatusText(int stringId, int index, int total) {
  CString text = AfxFormatString(static_cast<UINT>(stringId), {index, total});
  ::SetDlgItemTextW(m_page, IDC_STATUS, text.c_str());
}

void DownloadPageWindow::SetProgress(int percent) {
  ::SendMessageA(::GetDlgItem(m_page, IDC_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void DownloadPageWindow::StartMarquee() {
  HWND bar = ::GetDlgItem(m_page, IDC_PROGRESS);
  ::SetWindowLongA(bar, GWL_STYLE, ::GetWindowLongA(bar, GWL_STYLE) | PBS_MARQUEE);
  ::SendMessageA(bar, PBM_SETMARQUEE, TRUE, 100);
}

void DownloadPageWindow::DisableCancel() { DisableSheetCancel(m_sheet); }

void DownloadPageWindow::PressNext() { ::SendMessageA(m_sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0); }

void DownloadPageWindow::ShowPage() { ::ShowWindow(m_page, SW_SHOW); }

int DownloadPageWindow::ShowMessageBox(int stringId, uint32_t type) {
  return AfxMessageBox(static_cast<UINT>(stringId), type);
}
