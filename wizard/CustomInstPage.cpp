#include "wizard/CustomInstPage.h"

#include "engine/Components.h"
#include "engine/InstallChoices.h"
#include "platform/SystemInfo.h"
#include "res/resource.h"

CCustomInstPage::CCustomInstPage()
    : CBasePage(IDD_CUSTOM_INST, IDS_CUSTOM_TITLE, IDS_CUSTOM_SUBTITLE) {}

void CCustomInstPage::DoDataExchange(CDataExchange* pDX) {
  CBasePage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CHK_CORVANE, m_chkCorvane);
  DDX_Control(pDX, IDC_CHK_TESSALINE, m_chkTessaline);
}

BOOL CCustomInstPage::OnSetActive() {
  if (GetInstallSession().installMode != InstallMode::Custom) {
    PressNext();  // only a custom installation has this page
    return TRUE;
  }
  // Posted: the sheet enables Back and Next after this activation has finished.
  PostWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
  ShowBackAndNext(SW_SHOWNORMAL);
  m_chkCorvane.SetCheck(BST_CHECKED);
  SetControlText(IDC_CUSTOM_INSTRUCTION, IDS_CUSTOM_INSTRUCTION);
  SetControlText(IDC_CHK_CORVANE, IDS_CHK_CORVANE);
  SetControlText(IDC_CHK_TESSALINE, IDS_CHK_TESSALINE);
  if (!IsOffered(kComponents[kTessaline], GetPlatform().system->SystemDefaultLangId()))
    m_chkTessaline.ShowWindow(SW_HIDE);
  return TRUE;
}

LRESULT CCustomInstPage::OnWizardNext() {
  RecordComponentChoice(GetInstallSession(), m_chkCorvane.GetCheck() == BST_CHECKED,
                        m_chkTessaline.GetCheck() == BST_CHECKED);
  return 0;
}
