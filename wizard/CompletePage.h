#pragma once
// The last page: the outcome of the installation and, after a success, the restart choice.

#include "wizard/BasePage.h"

class CCompletePage : public CBasePage {
 public:
  CCompletePage();
  ~CCompletePage() override = default;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnSetActive() override;
  BOOL OnWizardFinish() override;

  CButton m_radioRestartNow;    // 1015, selected at each activation
  CButton m_radioRestartLater;  // 1016
};
