#include "engine/InstallWorkerServices.h"

#include <utility>

#include "engine/InstallWorker.h"
#include "engine/SetupRunner.h"
#include "res/resource.h"

namespace {

class PageFetchUi final : public FetchUi {
 public:
  explicit PageFetchUi(DownloadPageView& view) : m_view(view) {}
  void SetProgress(int position) override { m_view.SetProgress(position); }
  void AttemptEnded(const AttemptReport&) override {}
  int AskRetry() override { return m_view.ShowMessageBox(IDS_DOWNLOAD_RETRY, kMbRetryCancel); }

 private:
  DownloadPageView& m_view;
};

// What the worker thread takes with it: shared state only, never the page itself.
struct WorkerStart {
  InstallPlatform platform;
  std::shared_ptr<CancelGate> gate;
  std::shared_ptr<DetachablePageView> view;
  InstallSession* session;
};

uint32_t InstallWorkerThreadProc(void* parameter) {
  const std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
  try {
    InstallWorkerServices host(start->platform, start->view);
    InstallWorker(host, start->platform, start->gate, start->view, *start->session).Run();
  } catch (...) {
    // Nothing escapes the thread; the worker itself ends a failing run on the last page.
  }
  return 0;
}

}  // namespace

bool StartInstallWorker(const InstallPlatform& platform, std::shared_ptr<CancelGate> gate,
                        std::shared_ptr<DetachablePageView> view, InstallSession& session) {
  auto start = std::make_unique<WorkerStart>(
      WorkerStart{platform, std::move(gate), std::move(view), &session});
  const ThreadHandle thread = platform.threads->Create(&InstallWorkerThreadProc, start.get());
  if (thread == ThreadHandle::None) return false;
  start.release();                  // the thread's now
  platform.threads->Close(thread);  // nobody waits for the worker
  return true;
}

InstallWorkerServices::InstallWorkerServices(const InstallPlatform& platform,
                                             std::shared_ptr<DownloadPageView> view,
                                             FetchUi* fetchUi, std::function<void()> useUserLocale)
    : m_platform(platform),
      m_view(std::move(view)),
      m_pageUi(fetchUi != nullptr ? nullptr : std::make_unique<PageFetchUi>(*m_view)),
      m_fetchUi(fetchUi != nullptr ? *fetchUi : *m_pageUi),
      m_useUserLocale(std::move(useUserLocale)) {}

void InstallWorkerServices::MakeWorkFolder() { m_folder = WorkFolder::Create(*m_platform.folders); }

FetchVerdict InstallWorkerServices::FetchAndVerify(const std::string& fileName,
                                                   const std::string& url, bool verify,
                                                   const FilePin& pin) {
  ReadLockedFile held;
  const FetchVerdict verdict = ::FetchAndVerify(fileName.c_str(), m_fetchUi, url.c_str(), verify,
                                                m_platform, m_folder.Path(), held, pin);
  if (held.IsOpen()) m_held[fileName] = std::move(held);
  return verdict;
}

void InstallWorkerServices::OpenUrlList(const std::string& fileName) {
  // Switched for good before the list is read; it is never switched back.
  m_useUserLocale();
  m_urlList = UrlListCopy(m_folder.Path() + fileName);
  m_listName = fileName;
}

std::string InstallWorkerServices::LookupUrlListValue(const std::string& key) {
  return m_urlList.Lookup(key);
}

void InstallWorkerServices::CloseUrlList() {
  m_urlList = UrlListCopy();
  // Read once: a component's file may take the list's name.
  m_held.erase(m_listName);
}

bool InstallWorkerServices::RunSetup(const std::string& setupName,
                                     const std::string& responseName) {
  const bool ran = StartSetupAndWait(
      *m_platform.launcher, m_folder.Path(), setupName, responseName,
      [&] {
        // Started: the lock on the checked bytes has done its work.
        m_held.erase(setupName);
        m_view->ShowPage();
      },
      &m_lastExitCode);
  m_held.erase(setupName);
  m_held.erase(responseName);
  return ran;
}
