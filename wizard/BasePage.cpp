#include "wizard/BasePage.h"

#include "afx/AfxMessageBox.h"
#include "afx/AfxStrings.h"
#include "res/resource.h"
#include "wizard/InstallerSheet.h"

CBasePage::CBasePage(UINT templateId, UINT headerTitleId, UINT headerSubtitleId)
    : CPropertyPage(templateId) {
  m_psp.dwFlags |= PSP_USEHEADERTITLE | PSP_USEHEADERSUBTITLE;
  m_psp.pszHeaderTitle = MAKEINTRESOURCEW(headerTitleId);
  m_psp.pszHeaderSubTitle = MAKEINTRESOURCEW(headerSubtitleId);
}

InstallSession& CBasePage::GetInstallSession() const {
  return static_cast<CInstallerSheet*>(GetSheet())->GetInstallSession();
}

const InstallPlatform& CBasePage::GetPlatform() const {
  return static_cast<CInstallerSheet*>(GetSheet())->GetPlatform();
}

bool CBasePage::ConfirmExit() { return AfxMessageBox(IDS_CONFIRM_EXIT, MB_YESNO) != IDNO; }

BOOL CBasePage::OnQueryCancel() { return ConfirmExit() ? TRUE : FALSE; }

void CBasePage::ShowBackAndNext(int show) const {
  const CSheetWindow sheet = GetSheetWindow();
  sheet.ShowButton(ID_WIZBACK, show);
  sheet.ShowButton(ID_WIZNEXT, show);
}

void CBasePage::SetControlText(int controlId, UINT stringId) {
  CString text;
  AfxLoadString(stringId, text);
  SetDlgItemText(controlId, text);
}
