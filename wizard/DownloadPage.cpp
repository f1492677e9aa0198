#include "wizard/DownloadPage.h"

#include "afx/AfxMessageBox.h"
#include "engine/InstallWorker.h"
#include "engine/InstallWorkerServices.h"
#include "res/resource.h"
#include "wizard/DownloadPageWindow.h"
#include "wizard/InstallerSheet.h"

namespace {

// What the worker thread takes with it: shared state only, never the page itself.
// The platform services and the session belong to the sheet, which outlives the worker:
// the process ends with the wizard's modal run.
struct WorkerStart {
  std::shared_ptr<CancelGate> gate;
  std::shared_ptr<DetachablePageView> view;
  InstallPlatform platform;
  InstallSession* session;
};

uint32_t InstallWorkerThreadProc(void* parameter) {
  std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
  try {
    const InstallPlatform& platform = start->platform;
    InstallWorkerServices host(platform, start->view);
    InstallWorker worker(host, start->gate, start->view, *start->session);
    worker.Run();
  } catch (...) {
    // Nothing escapes the thread; the worker itself ends a failing run on the last page.
  }
  return 0;
}

}  // namespace

CDownloadPage::CDownloadPage()
    : CBasePage(IDD_DOWNLOAD, IDS_DOWNLOAD_TITLE, IDS_DOWNLOAD_SUBTITLE),
      m_lock(std::make_shared<CancelGate>()),
      m_view(std::make_shared<DetachablePageView>(nullptr)) {}

CDownloadPage::~CDownloadPage() { m_view->Detach(); }

BOOL CDownloadPage::OnSetActive() {
  PostWizardButtons(0);
  m_view->Detach();  // a worker of an earlier activation must not reach this page any more
  m_view = std::make_shared<DetachablePageView>(
      std::make_unique<DownloadPageWindow>(GetSheetWindow().m_hWnd, m_hWnd));
  Threads& threads = GetPlatform().threads;
  auto* start = new WorkerStart{m_lock, m_view, GetPlatform(), &GetInstallSession()};
  const ThreadHandle thread = threads.Create(&InstallWorkerThreadProc, start);
  if (thread == ThreadHandle::None) {
    delete start;
  } else {
    threads.Close(thread);  // nobody waits for the worker
  }
  return TRUE;
}

BOOL CDownloadPage::OnQueryCancel() {
  const CSheetWindow sheet = GetSheetWindow();
  bool cancel =
      m_lock->OnQueryCancel([] { return AfxMessageBox(IDS_CONFIRM_EXIT, MB_YESNO) != IDNO; },
                            [sheet] { sheet.DisableCancel(); });
  // The wizard closes at once: from here on the worker must not touch the page.
  if (cancel) m_view->Detach();
  return cancel ? TRUE : FALSE;
}
