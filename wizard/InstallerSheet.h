#pragma once
// The wizard frame. It owns all five pages for its whole life; its page list starts with
// the install-mode page alone, and that page builds the rest.

#include "afx/AfxPropertySheet.h"
#include "wizard/CompletePage.h"
#include "wizard/CustomInstPage.h"
#include "wizard/DownloadPage.h"
#include "wizard/EULAPage.h"
#include "wizard/SelectPage.h"

class CInstallerSheet : public CPropertySheet {
  DECLARE_DYNAMIC(CInstallerSheet)
 public:
  CInstallerSheet();
  ~CInstallerSheet() override = default;

  // From now on neither the Cancel button nor the window's Close command can end the wizard.
  void DisableCancel();

  CSelectPage m_SelectPage;
  CDownloadPage m_DownloadPage;
  CCustomInstPage m_CustomInstPage;
  CCompletePage m_CompletePage;
  CEULAPage m_EULAPage;
};

// The same on the sheet's window alone.
inline void DisableSheetCancel(HWND sheet) { CSheetWindow(sheet).DisableCancel(); }
