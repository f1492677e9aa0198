#pragma once
// The wizard frame. It owns the install session and all five pages for its whole life;
// its page list starts with the install-mode page alone, and that page builds the rest.

#include "afx/AfxPropertySheet.h"
#include "engine/InstallSession.h"
#include "engine/PageSequence.h"
#include "platform/InstallPlatform.h"
#include "wizard/CompletePage.h"
#include "wizard/CustomInstPage.h"
#include "wizard/DownloadPage.h"
#include "wizard/EULAPage.h"
#include "wizard/SelectPage.h"

class CInstallerSheet : public CPropertySheet {
 public:
  explicit CInstallerSheet(const InstallPlatform& platform);
  ~CInstallerSheet() override = default;

  InstallSession& GetInstallSession() { return m_session; }
  const InstallPlatform& GetPlatform() const { return m_platform; }
  CPropertyPage* GetWizardPage(WizardPage page);

  InstallSession m_session;
  const InstallPlatform m_platform;
  CSelectPage m_SelectPage;
  CDownloadPage m_DownloadPage;
  CCustomInstPage m_CustomInstPage;
  CCompletePage m_CompletePage;
  CEULAPage m_EULAPage;
};
