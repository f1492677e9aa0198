#include "app/PelloryApp.h"

#include "afx/AfxMessageBox.h"
#include "app/StartupGuard.h"
#include "app/StartupSequence.h"
#include "app/SystemPlatform.h"
#include "wizard/InstallerSheet.h"

CPelloryApp theApp;

namespace {

class WizardShell : public StartupShell {
 public:
  WizardShell(CWinApp& app, const InstallPlatform& platform) : m_app(app), m_platform(platform) {}

  void ShowMessage(uint32_t stringId) override { AfxMessageBox(stringId, MB_OK); }
  void RunWizard() override {
    CInstallerSheet sheet(m_platform);
    sheet.m_psh.dwFlags |= PSH_WIZARD;
    m_app.m_pMainWnd = &sheet;
    sheet.DoModal();
    m_app.m_pMainWnd = nullptr;
  }

 private:
  CWinApp& m_app;
  const InstallPlatform& m_platform;
};

}  // namespace

BOOL CPelloryApp::InitApplication() {
  return GuardProgramStart(SystemProgramGround()) == StartupGround::Sound;
}

BOOL CPelloryApp::InitInstance() {
  const InstallPlatform platform = SystemInstallPlatform();
  WizardShell shell(*this, platform);
  RunStartupSequence(platform, shell);
  return FALSE;
}
