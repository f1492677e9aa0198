#include "wizard/InstallerSheet.h"

#include "res/resource.h"

CInstallerSheet::CInstallerSheet(const InstallPlatform& platform) : m_platform(platform) {
  m_psh.dwFlags |= PSH_WIZARD97 | PSH_HEADER | PSH_USEHICON;
  m_psh.pszbmHeader = MAKEINTRESOURCEW(IDB_HEADER);
  m_psh.hIcon = AfxLoadIcon(IDR_MAINFRAME);
  AddPage(&m_SelectPage);
}

CPropertyPage* CInstallerSheet::GetWizardPage(WizardPage page) {
  switch (page) {
    case WizardPage::CustomInst:
      return &m_CustomInstPage;
    case WizardPage::EULA:
      return &m_EULAPage;
    case WizardPage::Download:
      return &m_DownloadPage;
    case WizardPage::Complete:
      break;
  }
  return &m_CompletePage;
}
