#pragma once
// The install-mode page: complete or custom installation. It builds the rest of the
// wizard's page sequence and takes it down again whenever it becomes active.

#include "wizard/BasePage.h"

class CSelectPage : public CBasePage {
  DECLARE_MESSAGE_MAP()
 public:
  CSelectPage();
  BOOL OnSetActive() override;
  void OnBnClickedComplete();
  void OnBnClickedCustom();

 private:
  void AddPagesAndGoOn();
};
