#include "wizard/SelectPage.h"

#include "afx/AfxStrings.h"
#include "engine/InstallSession.h"
#include "res/resource.h"
#include "wizard/InstallerSheet.h"

IMPLEMENT_DYNAMIC(CSelectPage, CBasePage)

BEGIN_MESSAGE_MAP(CSelectPage, CBasePage)
  ON_BN_CLICKED(IDC_COMPLETE, OnBnClickedComplete)
  ON_BN_CLICKED(IDC_CUSTOM, OnBnClickedCustom)
END_MESSAGE_MAP()

CSelectPage::CSelectPage() : CBasePage(IDD_SELECT, IDS_SELECT_TITLE, IDS_SELECT_SUBTITLE) {
  m_psp.dwFlags &= ~PSP_HASHELP;
}

BOOL CSelectPage::OnSetActive() {
  CPropertySheet* sheet = GetSheet();
  while (sheet->GetPageCount() != 1) sheet->RemovePage(1);
  ::ShowWindow(SheetButton(kIdWizBack), SW_HIDE);
  ::ShowWindow(SheetButton(kIdWizNext), SW_HIDE);
  const UINT strings[] = {IDS_COMPLETE_BUTTON, IDS_CUSTOM_BUTTON, IDS_COMPLETE_TEXT, IDS_CUSTOM_TEXT};
  const int controls[] = {IDC_COMPLETE, IDC_CUSTOM, IDC_COMPLETE_TEXT, IDC_CUSTOM_TEXT};
  for (int i = 0; i < 4; ++i) {
    CString text;
    AfxLoadString(strings[i], text);
    SetDlgItemText(controls[i], text);
  }
  return TRUE;
}

void CSelectPage::OnBnClickedComplete() {
  InstallSession& session = TheInstallSession();
  session.installCorvane = true;
  session.installPelmora = false;
  session.installTessaline = false;
  if (::GetSystemDefaultLangID() == kLangJapanese) session.installTessaline = true;
  session.installMode = Complete;
  auto* sheet = static_cast<CInstallerSheet*>(GetSheet());
  sheet->AddPage(&sheet->m_EULAPage);
  sheet->AddPage(&sheet->m_DownloadPage);
  sheet->AddPage(&sheet->m_CompletePage);
  PressNext();
}

void CSelectPage::OnBnClickedCustom() {
  TheInstallSession().installMode = Custom;
  auto* sheet = static_cast<CInstallerSheet*>(GetSheet());
  sheet->AddPage(&sheet->m_CustomInstPage);
  sheet->AddPage(&sheet->m_EULAPage);
  sheet->AddPage(&sheet->m_DownloadPage);
  sheet->AddPage(&sheet->m_CompletePage);
  PressNext();
}
