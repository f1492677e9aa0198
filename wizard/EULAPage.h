#pragma once
// The agreement page: the licence agreements of the chosen components, and the choice to
// accept them. The wizard goes on only while "agree" is selected.

#include "wizard/BasePage.h"

class CEULAPage : public CBasePage {
  DECLARE_MESSAGE_MAP()
 public:
  CEULAPage();
  ~CEULAPage() override = default;

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnSetActive() override;
  void OnBnClickedAgree();
  void OnBnClickedDisagree();

  CButton m_radioAgree;     // 1009
  CButton m_radioDisagree;  // 1010
};
