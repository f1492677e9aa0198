#include "app/PelloryApp.h"

#include "afx/AfxMessageBox.h"
#include "app/StartupSequence.h"
#include "app/SystemPlatform.h"
#include "wizard/InstallerSheet.h"

CPelloryApp theApp;

namespace {

class Win32StartupPlatform : public StartupPlatform {
 public:
  explicit Win32StartupPlatform(CWinApp& app) : m_app(app) {}

  MutexOutcome CreateSingleInstanceMutex() override {
    // The handle is never closed: the mutex lives as long as the process.
    HANDLE mutex = ::CreateMutexA(nullptr, TRUE, "Pellory Single Execution Mutex");
    if (mutex == nullptr) return MutexOutcome::Failed;
    return ::GetLastError() == ERROR_ALREADY_EXISTS ? MutexOutcome::AlreadyExists : MutexOutcome::Created;
  }
  bool IsAdministrator() override { return ::IsAdministrator() != FALSE; }
  void ShowMessage(uint32_t stringId) override { AfxMessageBox(stringId, MB_OK); }
  void RunWizard() override {
    CInstallerSheet sheet(SystemInstallPlatform());
    sheet.m_psh.dwFlags |= PSH_WIZARD;
    m_app.m_pMainWnd = &sheet;
    sheet.DoModal();
    m_app.m_pMainWnd = nullptr;
  }

 private:
  CWinApp& m_app;
};

}  // namespace

BOOL IsAdministrator() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS,
                                  0, 0, 0, 0, 0, 0, &administrators)) {
    return FALSE;
  }
  BOOL member = FALSE;
  if (!::CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
  ::FreeSid(administrators);
  return member;
}

BOOL CPelloryApp::InitInstance() {
  CWinAppEx::InitInstance();
  Win32StartupPlatform platform(*this);
  RunStartupSequence(platform);
  return FALSE;
}
