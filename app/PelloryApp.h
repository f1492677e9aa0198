#pragma once

#include "afx/AfxApp.h"

class CPelloryApp : public CWinAppEx {
 public:
  CPelloryApp() : CWinAppEx(TRUE) {}
  BOOL InitInstance() override;
};
