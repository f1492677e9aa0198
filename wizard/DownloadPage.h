#pragma once

#include "wizard/BasePage.h"

class CDownloadPage : public CBasePage {
  DECLARE_DYNAMIC(CDownloadPage)
 public:
  CDownloadPage();
};
