#pragma once

#include "afx/AfxApp.h"

class CPelloryApp : public CWinAppEx {
 public:
  CPelloryApp() : CWinAppEx(TRUE) {}
  BOOL InitInstance() override;
};

// TRUE when the calling thread's effective token is an enabled member of the local
// Administrators group; FALSE otherwise and on every failure.
BOOL IsAdministrator();
