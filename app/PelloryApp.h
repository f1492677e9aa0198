#pragma once

#include "afx/AfxApp.h"

class CPelloryApp : public CWinApp {
 public:
  BOOL InitApplication() override;
  BOOL InitInstance() override;
};
