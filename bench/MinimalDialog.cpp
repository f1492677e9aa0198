// The start-up benchmark's reference: the smallest program that shows a dialog, built as
// the product is (static runtime, the product's manifest, common controls initialised).
// It opens one modal dialog from its resources and ends when the dialog is closed.

#include <windows.h>

#include <commctrl.h>

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
  DialogBoxParamW(instance, MAKEINTRESOURCEW(100), nullptr, DialogProc, 0);
  return 0;
}
