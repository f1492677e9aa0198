#include "wizard/DownloadPage.h"

#include "engine/InstallWorkerServices.h"
#include "res/resource.h"
#include "wizard/DownloadPageWindow.h"
#include "wizard/InstallerSheet.h"

CDownloadPage::CDownloadPage()
    : CBasePage(IDD_DOWNLOAD, IDS_DOWNLOAD_TITLE, IDS_DOWNLOAD_SUBTITLE),
      m_gate(std::make_shared<CancelGate>()),
      m_view(std::make_shared<DetachablePageView>(nullptr)) {}

CDownloadPage::~CDownloadPage() { m_view->Detach(); }

BOOL CDownloadPage::OnSetActive() {
  PostWizardButtons(0);
  m_view->Detach();  // a worker of an earlier activation must not reach this page any more
  m_view = std::make_shared<DetachablePageView>(
      std::make_unique<DownloadPageWindow>(GetSheetWindow().m_hWnd, m_hWnd));
  // The platform and the session belong to the sheet, which outlives the worker: the
  // process ends with the wizard's modal run.
  if (!StartInstallWorker(GetPlatform(), m_gate, m_view, GetInstallSession())) {
    // No worker, no outcome: the completion page reports a failed installation.
    GetSheetWindow().PostPressNext();
  }
  return TRUE;
}

BOOL CDownloadPage::OnQueryCancel() {
  const CSheetWindow sheet = GetSheetWindow();
  return QueryCancelDownloads(*m_gate, *m_view, ConfirmExit, [sheet] { sheet.DisableCancel(); })
             ? TRUE
             : FALSE;
}
