#include "afx/AfxPropertyPage.h"

CPropertyPage::CPropertyPage(UINT templateId) : m_psp() {
  m_psp.dwSize = sizeof(m_psp);
  m_psp.dwFlags = PSP_DEFAULT;
  m_psp.hInstance = ::GetModuleHandleW(nullptr);
  m_psp.pszTemplate = MAKEINTRESOURCEW(templateId);
  m_psp.pfnDlgProc = &CPropertyPage::DialogProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

BOOL CPropertyPage::OnInitDialog() {
  CDataExchange dx(this);
  DoDataExchange(&dx);
  return TRUE;
}

INT_PTR CPropertyPage::OnNotify(HWND hwnd, const NMHDR* header) {
  LRESULT result = 0;
  switch (header->code) {
    case PSN_SETACTIVE:
      result = OnSetActive() ? 0 : -1;
      break;
    case PSN_WIZNEXT:
      result = OnWizardNext();
      break;
    case PSN_WIZBACK:  // 0: back to the previous page
      break;
    case PSN_WIZFINISH:
      result = OnWizardFinish() ? FALSE : TRUE;
      break;
    case PSN_QUERYCANCEL:
      // The page answers "may cancel"; the notification wants "prevent the cancel".
      result = OnQueryCancel() ? FALSE : TRUE;
      break;
    default:
      return FALSE;
  }
  ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK CPropertyPage::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    if (msg == WM_INITDIALOG) {
      auto* psp = reinterpret_cast<PROPSHEETPAGEW*>(lp);
      auto* page = reinterpret_cast<CPropertyPage*>(psp->lParam);
      ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
      page->m_hWnd = hwnd;
      return page->OnInitDialog();
    }
    auto* page = reinterpret_cast<CPropertyPage*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (page == nullptr) return FALSE;
    switch (msg) {
      case WM_NOTIFY:
        return page->OnNotify(hwnd, reinterpret_cast<const NMHDR*>(lp));
      case WM_COMMAND:
        return page->DispatchCommand(LOWORD(wp), HIWORD(wp)) ? TRUE : FALSE;
      case WM_NCDESTROY:
        // The sheet destroys a removed page's window; the page object lives on and starts
        // from its template again when it is added back.
        page->m_hWnd = nullptr;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        return FALSE;
      default:
        return FALSE;
    }
  } catch (...) {
    return FALSE;  // nothing escapes into Windows
  }
}

void CSheetWindow::SetWizardButtons(DWORD flags) const {
  ::PostMessageA(m_hWnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

void CSheetWindow::PressNext() const { ::SendMessageA(m_hWnd, PSM_PRESSBUTTON, PSBTN_NEXT, 0); }

void CSheetWindow::PostPressNext() const { ::PostMessageA(m_hWnd, PSM_PRESSBUTTON, PSBTN_NEXT, 0); }

void CSheetWindow::ShowButton(int id, int show) const {
  ::ShowWindow(::GetDlgItem(m_hWnd, id), show);
}

void CSheetWindow::PlaceFinishOverCancel() const {
  HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL);
  RECT rect;
  ::GetWindowRect(cancel, &rect);
  POINT topLeft = {rect.left, rect.top};
  ::ScreenToClient(m_hWnd, &topLeft);
  ::ShowWindow(cancel, SW_HIDE);
  ::MoveWindow(::GetDlgItem(m_hWnd, ID_WIZFINISH), topLeft.x, topLeft.y, rect.right - rect.left,
               rect.bottom - rect.top, TRUE);
}

void CSheetWindow::DisableCancel() const {
  ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), FALSE);
  ::EnableMenuItem(::GetSystemMenu(m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_DISABLED);
}
