#include "wizard/CompletePage.h"

#include "afx/AfxStrings.h"
#include "engine/CompletionText.h"
#include "engine/InstallSession.h"
#include "res/resource.h"

IMPLEMENT_DYNAMIC(CCompletePage, CBasePage)

CCompletePage::CCompletePage()
    : CBasePage(IDD_COMPLETE, IDS_COMPLETE_TITLE, IDS_COMPLETE_SUBTITLE) {}

BOOL CCompletePage::OnSetActive() {
  m_restartPending = IsRestartPending();
  PostWizardButtons(PSWIZB_FINISH);
  ShowBackAndNext(SW_HIDE);
  ::SendMessageA(GetDlgItem(IDC_RESTART_NOW), BM_SETCHECK, BST_CHECKED, 0);
  ::SendMessageA(GetDlgItem(IDC_RESTART_LATER), BM_SETCHECK, BST_UNCHECKED, 0);
  SetControlText(IDC_RESTART_NOW, IDS_RESTART_NOW);
  SetControlText(IDC_RESTART_LATER, IDS_RESTART_LATER);

  const InstallResult result = GetInstallSession().Result();
  CString message;
  for (uint32_t id : CompletionMessageIds(result)) {
    CString line;
    AfxLoadString(id, line);
    if (!message.empty()) message += L"\r\n";
    message += line;
  }
  if (OffersRestart(result)) {
    ::ShowWindow(GetDlgItem(IDC_RESTART_NOW), SW_SHOWNORMAL);
    ::ShowWindow(GetDlgItem(IDC_RESTART_LATER), SW_SHOWNORMAL);
  }
  SetDlgItemText(IDC_RESULT_TEXT, message);
  PlaceFinishOverCancel();
  return TRUE;
}

void CCompletePage::PlaceFinishOverCancel() {
  HWND sheet = SheetWindow();
  HWND cancel = SheetButton(IDCANCEL);
  RECT rect;
  ::GetWindowRect(cancel, &rect);
  POINT topLeft = {rect.left, rect.top};
  ::ScreenToClient(sheet, &topLeft);
  ::ShowWindow(cancel, SW_HIDE);
  ::MoveWindow(SheetButton(kIdWizFinish), topLeft.x, topLeft.y, rect.right - rect.left,
               rect.bottom - rect.top, TRUE);
}

BOOL CCompletePage::OnWizardFinish() {
  if (FinishRestarts(
          GetInstallSession().Result(),
          ::SendMessageA(GetDlgItem(IDC_RESTART_NOW), BM_GETCHECK, 0, 0) == BST_CHECKED)) {
    RestartSystem();
  }
  return TRUE;
}

bool CCompletePage::RestartSystem() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;
  TOKEN_PRIVILEGES privileges = {};
  if (!::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
    ::CloseHandle(token);
    return false;
  }
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  BOOL adjusted =
      ::AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(privileges), nullptr, nullptr);
  ::CloseHandle(token);
  if (!adjusted) return false;
  ::ExitWindowsEx(EWX_REBOOT, 0);
  return true;
}

int CCompletePage::IsRestartPending() {
  const char* keys[] = {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx"};
  for (const char* key : keys) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) continue;
    char name[128];
    BYTE data[128];
    DWORD nameSize = sizeof(name), dataSize = sizeof(data);
    LONG status = ::RegEnumValueA(handle, 0, name, &nameSize, nullptr, nullptr, data, &dataSize);
    ::RegCloseKey(handle);
    // A value that does not fit the buffers still counts: the key is not empty.
    if (status != ERROR_NO_MORE_ITEMS) return 1;
  }
  return 0;
}
