#include "wizard/InstallerSheet.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CInstallerSheet, CPropertySheet)

CInstallerSheet::CInstallerSheet() : CPropertySheet(L"", nullptr, 0) {
  m_psh.dwFlags &= ~PSH_HASHELP;
  m_psh.dwFlags |= PSH_WIZARD97 | PSH_HEADER | PSH_USEHICON;
  m_psh.pszbmHeader = MAKEINTRESOURCEW(IDB_HEADER);
  m_psh.hIcon = AfxLoadIcon(IDR_MAINFRAME);
  AddPage(&m_SelectPage);
}

void CInstallerSheet::DisableCancel() { CSheetWindow(m_hWnd).DisableCancel(); }
