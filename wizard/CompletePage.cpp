#include "wizard/CompletePage.h"

#include "afx/AfxStrings.h"
#include "engine/CompletionText.h"
#include "engine/InstallSession.h"
#include "res/resource.h"

CCompletePage::CCompletePage()
    : CBasePage(IDD_COMPLETE, IDS_COMPLETE_TITLE, IDS_COMPLETE_SUBTITLE) {}

void CCompletePage::DoDataExchange(CDataExchange* pDX) {
  CBasePage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_RESTART_NOW, m_radioRestartNow);
  DDX_Control(pDX, IDC_RESTART_LATER, m_radioRestartLater);
}

BOOL CCompletePage::OnSetActive() {
  PostWizardButtons(PSWIZB_FINISH);
  ShowBackAndNext(SW_HIDE);
  m_radioRestartNow.SetCheck(BST_CHECKED);
  m_radioRestartLater.SetCheck(BST_UNCHECKED);
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
    m_radioRestartNow.ShowWindow(SW_SHOWNORMAL);
    m_radioRestartLater.ShowWindow(SW_SHOWNORMAL);
  }
  SetDlgItemText(IDC_RESULT_TEXT, message);
  GetSheetWindow().PlaceFinishOverCancel();
  return TRUE;
}

BOOL CCompletePage::OnWizardFinish() {
  if (FinishRestarts(GetInstallSession().Result(), m_radioRestartNow.GetCheck() == BST_CHECKED)) {
    GetPlatform().restart->RestartSystem();
  }
  return TRUE;
}
