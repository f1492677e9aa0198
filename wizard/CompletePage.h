#pragma once

#include "wizard/BasePage.h"

class CCompletePage : public CBasePage {
  DECLARE_DYNAMIC(CCompletePage)
 public:
  CCompletePage();
};
