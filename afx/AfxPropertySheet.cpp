#include "afx/AfxPropertySheet.h"

#include "platform/win32/UniqueHandle.h"

namespace {
// The sheet whose window is being created (one modal sheet at a time).
CPropertySheet* g_creatingSheet = nullptr;
}  // namespace

CPropertySheet::CPropertySheet() : m_psh() {
  m_psh.dwSize = sizeof(m_psh);
  m_psh.dwFlags = PSH_PROPSHEETPAGE;
  m_psh.hInstance = ::GetModuleHandleW(nullptr);
  m_psh.pszCaption = L"";
}

void CPropertySheet::AddPage(CPropertyPage* page) {
  page->m_pSheet = this;
  m_pages.push_back(page);
  if (m_hWnd != nullptr) {
    HPROPSHEETPAGE handle = ::CreatePropertySheetPageW(&page->m_psp);
    if (handle != nullptr) ::SendMessageW(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(handle));
  }
}

void CPropertySheet::RemovePage(int index) {
  if (index < 0 || index >= GetPageCount()) return;
  if (m_hWnd != nullptr) ::SendMessageW(m_hWnd, PSM_REMOVEPAGE, static_cast<WPARAM>(index), 0);
  m_pages.erase(m_pages.begin() + index);
}

namespace {

// The window's Close command becomes one click on Cancel. Some implementations (Wine)
// otherwise ask the page twice, once for WM_CLOSE and once more for the IDCANCEL command
// that follows; and a disabled Cancel must keep Close from ending the wizard.
LRESULT CALLBACK CloseAsCancel(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  try {
    if (msg == WM_CLOSE) {
      HWND cancel = ::GetDlgItem(hwnd, IDCANCEL);
      if (cancel != nullptr && ::IsWindowEnabled(cancel)) {
        ::PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(cancel));
      }
      return 0;
    }
    if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &CloseAsCancel, 0);
  } catch (...) {
    return 0;
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

int CALLBACK CPropertySheet::SheetCallback(HWND hwnd, UINT msg, LPARAM) {
  if (msg == PSCB_INITIALIZED) {
    if (g_creatingSheet != nullptr) g_creatingSheet->m_hWnd = hwnd;
    ::SetWindowSubclass(hwnd, &CloseAsCancel, 0, 0);
  }
  return 0;
}

INT_PTR CPropertySheet::DoModal() {
  std::vector<PROPSHEETPAGEW> pages;
  for (CPropertyPage* page : m_pages) pages.push_back(page->m_psp);
  m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_USECALLBACK;
  m_psh.nPages = static_cast<UINT>(pages.size());
  m_psh.ppsp = pages.data();
  m_psh.pfnCallback = &CPropertySheet::SheetCallback;
  // A header bitmap named by resource id is not painted everywhere (Wine); a loaded
  // bitmap handed over with PSH_USEHBMHEADER is painted by every implementation. It
  // lives as long as the sheet's window.
  UniqueBitmap headerBitmap;
  if ((m_psh.dwFlags & PSH_HEADER) && !(m_psh.dwFlags & PSH_USEHBMHEADER) &&
      IS_INTRESOURCE(m_psh.pszbmHeader)) {
    headerBitmap.Reset(static_cast<HBITMAP>(
        ::LoadImageW(m_psh.hInstance, m_psh.pszbmHeader, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (headerBitmap) {
      m_psh.dwFlags |= PSH_USEHBMHEADER;
      m_psh.hbmHeader = headerBitmap.Get();
    }
  }
  g_creatingSheet = this;
  INT_PTR result = ::PropertySheetW(&m_psh);
  g_creatingSheet = nullptr;
  m_hWnd = nullptr;
  return result;
}
