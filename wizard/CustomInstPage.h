#pragma once

#include "wizard/BasePage.h"

class CCustomInstPage : public CBasePage {
  DECLARE_DYNAMIC(CCustomInstPage)
 public:
  CCustomInstPage();
};
