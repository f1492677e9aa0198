#pragma once
// The component page (custom installation only): component 1 is forced on, component 3
// is offered on Japanese systems, component 2 is never offered. Next records the choice.

#include "wizard/BasePage.h"

class CCustomInstPage : public CBasePage {
 public:
  CCustomInstPage();
  ~CCustomInstPage() override = default;

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnSetActive() override;
  LRESULT OnWizardNext() override;

  CButton m_chkCorvane;    // box 1011: a plain check box, so a click cannot clear it
  CButton m_chkTessaline;  // box 1013: automatic, the user's choice
};
