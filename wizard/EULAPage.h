#pragma once
// The agreement page: the licence agreements of the chosen components, and the choice to
// accept them. The wizard goes on only while "agree" is selected.

#include <string>

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

  // The bytes of agreement text `id` (a type-23 resource of this program) as stored:
  // Shift-JIS or ASCII, up to the first NUL. Empty when there is no such resource.
  static std::string LoadAgreementText(WORD id);

  CButton m_radioAgree;     // 1009
  CButton m_radioDisagree;  // 1010
};
