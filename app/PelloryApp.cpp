#include "app/PelloryApp.h"

#include "afx/AfxMessageBox.h"
#include "app/StartupGuard.h"
#include "app/StartupSequence.h"
#include "app/SystemPlatform.h"
#include "wizard/InstallerSheet.h"

CPelloryApp theApp;

namespace {

class Win32StartupPlatform : public StartupPlatform {
 public:
  explicit Win32StartupPlatform(CWinApp& app) : m_app(app) {}

  MutexOutcome CreateSingleInstanceMutex() override {
    return m_platform.mutex->Create(kPelloryMutexName);
  }
  bool IsAdministrator() override { return m_platform.user->IsAdministrator(); }
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
  const InstallPlatform m_platform = SystemInstallPlatform();
};

}  // namespace

BOOL CPelloryApp::InitApplication() {
  return GuardProgramStart(SystemProgramGround()) == StartupGround::Sound;
}

BOOL CPelloryApp::InitInstance() {
  Win32StartupPlatform platform(*this);
  RunStartupSequence(platform);
  return FALSE;
}
