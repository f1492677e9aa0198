#include "afx/AfxMessageBox.h"

#include "afx/AfxApp.h"
#include "afx/AfxStrings.h"

namespace {

UINT AfxMessageBoxIcon(UINT type) {
  if ((type & MB_ICONMASK) != 0) return 0;
  switch (type & MB_TYPEMASK) {
    case MB_OK:
      return MB_ICONEXCLAMATION;
    case MB_YESNO:
      return MB_ICONQUESTION;
    default:
      return 0;
  }
}

}  // namespace

int AfxMessageBox(UINT id, UINT type) {
  CString text;
  AfxLoadString(id, text);
  HWND owner = nullptr;
  if (AfxIsMainThread()) {
    CWnd* main = AfxGetMainWnd();
    if (main != nullptr && main->m_hWnd != nullptr && ::IsWindow(main->m_hWnd))
      owner = main->m_hWnd;
  }
  return ::MessageBoxW(owner, text.c_str(), AfxGetAppName().c_str(),
                       type | AfxMessageBoxIcon(type));
}
