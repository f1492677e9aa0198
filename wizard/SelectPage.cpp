#include "wizard/SelectPage.h"

#include "engine/InstallChoices.h"
#include "platform/SystemInfo.h"
#include "res/resource.h"
#include "wizard/InstallerSheet.h"

// clang-format off
BEGIN_MESSAGE_MAP(CSelectPage, CBasePage)
ON_BN_CLICKED(IDC_COMPLETE, OnBnClickedComplete)
ON_BN_CLICKED(IDC_CUSTOM, OnBnClickedCustom)
END_MESSAGE_MAP()
// clang-format on

CSelectPage::CSelectPage() : CBasePage(IDD_SELECT, IDS_SELECT_TITLE, IDS_SELECT_SUBTITLE) {}

BOOL CSelectPage::OnSetActive() {
  CPropertySheet* sheet = GetSheet();
  while (sheet->GetPageCount() != 1) sheet->RemovePage(1);
  ShowBackAndNext(SW_HIDE);
  SetControlText(IDC_COMPLETE, IDS_COMPLETE_BUTTON);
  SetControlText(IDC_CUSTOM, IDS_CUSTOM_BUTTON);
  SetControlText(IDC_COMPLETE_TEXT, IDS_COMPLETE_TEXT);
  SetControlText(IDC_CUSTOM_TEXT, IDS_CUSTOM_TEXT);
  return TRUE;
}

void CSelectPage::OnBnClickedComplete() {
  RecordCompleteChoice(GetInstallSession(), GetPlatform().system->SystemDefaultLangId());
  AddPagesAndGoOn();
}

void CSelectPage::OnBnClickedCustom() {
  RecordCustomChoice(GetInstallSession());
  AddPagesAndGoOn();
}

void CSelectPage::AddPagesAndGoOn() {
  auto* sheet = static_cast<CInstallerSheet*>(GetSheet());
  for (WizardPage page : PagesAfterSelect(GetInstallSession().installMode)) {
    sheet->AddPage(sheet->GetWizardPage(page));
  }
  PressNext();
}
