#include "platform/win32/InstallWorkerServices.h"

#include <clocale>
#include <utility>

#include "engine/HklmString.h"
#include "engine/OldSoftwareProbe.h"
#include "engine/SetupRunner.h"
#include "net/FetchAndVerify.h"
#include "platform/ProcessLauncher.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "res/resource.h"

namespace {

// The fetch step's view of the page: its progress bar and the retry question.
class PageFetchUi final : public FetchUi {
 public:
  explicit PageFetchUi(DownloadPageView& view) : m_view(view) {}
  void SetProgress(int position) override { m_view.SetProgress(position); }
  int AskRetry() override { return m_view.ShowMessageBox(IDS_DOWNLOAD_RETRY, kMbRetryCancel); }

 private:
  DownloadPageView& m_view;
};

}  // namespace

InstallWorkerServices::InstallWorkerServices(std::shared_ptr<DetachablePageView> view, HWND page)
    : m_view(std::move(view)), m_page(page) {}

std::string InstallWorkerServices::ReadUrlListOverride() { return ::ReadUrlListOverride(SystemRegistry()); }

uint16_t InstallWorkerServices::SystemDefaultLangId() { return RunningSystem().SystemDefaultLangId(); }

bool InstallWorkerServices::FetchAndVerify(const std::string& fileName, const std::string& url, bool verify) {
  PageFetchUi ui(*m_view);
  ReadLockedFile verified;
  bool ok = ::FetchAndVerify(fileName.c_str(), ui, url.c_str(), verify, SystemFetchPlatform(), verified);
  if (ok && verified.IsOpen()) m_verified[fileName] = std::move(verified);
  return ok;
}

void InstallWorkerServices::OpenUrlList(const std::string& fileName) {
  std::setlocale(LC_ALL, "");
  m_urlList = UrlListCopy(RunningSystem().TempPath() + fileName);
}

std::string InstallWorkerServices::LookupUrlListValue(const std::string& key) { return m_urlList.Lookup(key); }

void InstallWorkerServices::CloseUrlList() { m_urlList = UrlListCopy(); }

std::string InstallWorkerServices::ReadOldSoftwareVersion() { return ::ReadOldSoftwareVersion(SystemRegistry()); }

bool InstallWorkerServices::RunSetup(const std::string& setupName, const std::string& responseName) {
  HWND page = m_page;
  auto verified = m_verified.find(setupName);
  bool started = StartSetupAndWait(SystemProcessLauncher(), RunningSystem(), setupName, responseName, [&] {
    // Started: the lock on the checked bytes has done its work.
    if (verified != m_verified.end()) verified->second.Reset();
    ::ShowWindow(page, SW_SHOW);
  });
  return started;
}

void InstallWorkerServices::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }
