#pragma once
// The install worker's steps (InstallWorkerHost) over the platform. Lives on the worker thread
// for one run, and holds the folder open for all of it.

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "engine/CancelGate.h"
#include "engine/DetachablePageView.h"
#include "engine/DownloadPageView.h"
#include "engine/InstallSession.h"
#include "engine/InstallWorkerHost.h"
#include "engine/UrlList.h"
#include "engine/WorkFolder.h"
#include "platform/InstallPlatform.h"

// Starts one run on a thread of its own (platform.threads), with services over `platform`;
// the thread's handle is not kept. The gate, the view and the session must outlive the
// thread, or be shared with it. False when no thread could be started: the run then has
// no outcome, and the caller moves the wizard on to report it.
bool StartInstallWorker(const InstallPlatform& platform, std::shared_ptr<CancelGate> gate,
                        std::shared_ptr<DetachablePageView> view, InstallSession& session);

class InstallWorkerServices : public InstallWorkerHost {
 public:
  // The fetch step reports to fetchUi, which outlives the services; without one, to the
  // page: its progress bar and its retry question.
  InstallWorkerServices(const InstallPlatform& platform, std::shared_ptr<DownloadPageView> view,
                        FetchUi* fetchUi = nullptr,
                        std::function<void()> useUserLocale = UseUserLocale);

  // The run's working folder, backslash included; empty before MakeWorkFolder or without one.
  const std::string& FolderPath() const { return m_folder.Path(); }
  const InstallPlatform& Platform() const { return m_platform; }
  uint32_t LastSetupExitCode() const { return m_lastExitCode; }

  void MakeWorkFolder() override;
  FetchVerdict FetchAndVerify(const std::string& fileName, const std::string& url, bool verify,
                              const FilePin& pin = {}) override;
  void OpenUrlList(const std::string& fileName) override;
  std::string LookupUrlListValue(const std::string& key) override;
  void CloseUrlList() override;
  bool RunSetup(const std::string& setupName, const std::string& responseName) override;

 private:
  const InstallPlatform m_platform;
  const std::shared_ptr<DownloadPageView> m_view;
  const std::unique_ptr<FetchUi> m_pageUi;  // when the page is the fetch step's view
  FetchUi& m_fetchUi;
  const std::function<void()> m_useUserLocale;
  WorkFolder m_folder;
  UrlListCopy m_urlList;
  std::string m_listName;
  // Fetched component files by local name, held open read-only: a verified program until
  // it has started, so that the bytes that were checked are the bytes that run; a
  // response file until its setup has ended, so that nobody rewrites its answers.
  std::map<std::string, ReadLockedFile> m_held;
  uint32_t m_lastExitCode = 0;
};
