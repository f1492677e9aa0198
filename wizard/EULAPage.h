#pragma once

#include "wizard/BasePage.h"

class CEULAPage : public CBasePage {
  DECLARE_DYNAMIC(CEULAPage)
 public:
  CEULAPage();
};
