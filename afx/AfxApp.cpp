#include "afx/AfxApp.h"

namespace {
CWinApp* g_app = nullptr;
DWORD g_mainThreadId = 0;
}  // namespace

CWinApp::CWinApp() { g_app = this; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }
bool AfxIsMainThread() { return ::GetCurrentThreadId() == g_mainThreadId; }

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The program's own checks of its ground come first: the common controls below are
  // the first library that is not a KnownDLL.
  if (g_app == nullptr || !g_app->InitApplication()) ::ExitProcess(1);
  g_mainThreadId = ::GetCurrentThreadId();
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&icc);
  try {
    g_app->InitInstance();
  } catch (...) {
    // Nothing escapes into Windows; the program simply ends.
  }
  // End the process here, together with any worker thread still running: the program's
  // life is the wizard's modal run.
  ::ExitProcess(0);
}
