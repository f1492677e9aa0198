#pragma once
// The install worker: on its own thread, fetches the URL list, stops over blocking older
// software, downloads every selected component's response file and setup program, and
// only then runs the setup programs one after another; whatever the outcome, it finally
// moves the wizard on to the completion page. It is the one writer of the outcome.

#include <memory>
#include <string>

#include "engine/CancelGate.h"
#include "engine/DetachablePageView.h"
#include "engine/InstallSession.h"
#include "engine/InstallWorkerHost.h"
#include "engine/UrlList.h"
#include "platform/InstallPlatform.h"

class InstallWorker {
 public:
  // What the worker reads itself comes from the platform's registry, system and clock. The
  // gate and the view are shared with the page, which may be destroyed first.
  InstallWorker(InstallWorkerHost& host, const InstallPlatform& platform,
                std::shared_ptr<CancelGate> gate, std::shared_ptr<DetachablePageView> view,
                InstallSession& session);

  // One whole run. Returns when the wizard has moved to the completion page, or at once
  // when the user has cancelled the wizard.
  void Run();

 private:
  void RunSteps();
  // One file through the fetch step; anything but Fetched ends the run as a failed download.
  bool Fetch(const std::string& fileName, const std::string& url, bool verify, const FilePin& pin);
  bool DownloadComponents(const UrlListEntries& files, bool listPinned);
  void InstallComponents(const UrlListEntries& files);

  InstallWorkerHost& m_host;
  const InstallPlatform m_platform;
  const std::shared_ptr<CancelGate> m_gate;
  const std::shared_ptr<DetachablePageView> m_view;
  InstallSession& m_session;
  // The user's choice, read once at the start of the run, in component order.
  ComponentSelection m_selected{};
  int m_total = 0;
};
