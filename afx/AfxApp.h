#pragma once
// The application object and the program's entry point.

#include "afx/AfxCore.h"

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp() = default;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Before any library beyond the KnownDLLs and before any window: FALSE ends the
  // program at once with exit status 1, so it must show nothing.
  virtual BOOL InitApplication() { return TRUE; }
  // Start-up; FALSE ends the program without a message loop of its own.
  virtual BOOL InitInstance() { return TRUE; }

  // The wizard while it runs; message boxes on the main thread are modal to it.
  CWnd* m_pMainWnd = nullptr;
};

CWnd* AfxGetMainWnd();
// The thread that runs start-up and the wizard.
bool AfxIsMainThread();
