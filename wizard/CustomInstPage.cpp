#include "wizard/CustomInstPage.h"

#include "afx/AfxStrings.h"
#include "engine/InstallSession.h"
#include "res/resource.h"

IMPLEMENT_DYNAMIC(CCustomInstPage, CBasePage)

CCustomInstPage::CCustomInstPage() : CBasePage(IDD_CUSTOM_INST, IDS_CUSTOM_TITLE, IDS_CUSTOM_SUBTITLE) {
  m_psp.dwFlags &= ~PSP_HASHELP;
}

void CCustomInstPage::DoDataExchange(CDataExchange* pDX) {
  CBasePage::DoDataExchange(pDX);
  // The boxes die with the page's window whenever the install-mode page removes this page;
  // a new window has new boxes, so never keep the handles of the old ones.
  m_chkCorvane.m_hWnd = nullptr;
  m_chkTessaline.m_hWnd = nullptr;
  DDX_Control(pDX, IDC_CHK_CORVANE, m_chkCorvane);
  DDX_Control(pDX, IDC_CHK_TESSALINE, m_chkTessaline);
}

BOOL CCustomInstPage::OnSetActive() {
  if (TheInstallSession().installMode != Custom) {
    PressNext();  // only a custom installation has this page
    return TRUE;
  }
  // Posted: the sheet enables Back and Next after this activation has finished.
  PostWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
  ::ShowWindow(SheetButton(kIdWizBack), SW_SHOWNORMAL);
  ::ShowWindow(SheetButton(kIdWizNext), SW_SHOWNORMAL);
  m_chkCorvane.SetCheck(BST_CHECKED);
  const UINT strings[] = {IDS_CUSTOM_INSTRUCTION, IDS_CHK_CORVANE, IDS_CHK_TESSALINE};
  const int controls[] = {IDC_CUSTOM_INSTRUCTION, IDC_CHK_CORVANE, IDC_CHK_TESSALINE};
  for (int i = 0; i < 3; ++i) {
    CString text;
    AfxLoadString(strings[i], text);
    SetDlgItemText(controls[i], text);
  }
  // Component 3 exists for Japanese systems only.
  if (::GetSystemDefaultLangID() != kLangJapanese) m_chkTessaline.ShowWindow(SW_HIDE);
  return TRUE;
}

LRESULT CCustomInstPage::OnWizardNext() {
  InstallSession& session = TheInstallSession();
  session.installCorvane = false;
  session.installTessaline = false;
  session.installPelmora = false;
  if (m_chkCorvane.GetCheck() == BST_CHECKED) session.installCorvane = true;
  if (m_chkTessaline.GetCheck() == BST_CHECKED) session.installTessaline = true;
  return 0;
}

LRESULT CCustomInstPage::OnWizardBack() { return 0; }
