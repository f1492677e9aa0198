#pragma once
// The install worker's services on Windows: the registry, the URL list, the fetch step
// with its progress and retry question, the probe and the setup runner. Lives on the
// worker thread for one run.

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "engine/DetachablePageView.h"
#include "engine/UrlList.h"
#include "platform/Files.h"
#include "platform/InstallWorkerHost.h"

class InstallWorkerServices final : public InstallWorkerHost {
 public:
  InstallWorkerServices(std::shared_ptr<DetachablePageView> view, HWND page);
  std::string ReadUrlListOverride() override;
  uint16_t SystemDefaultLangId() override;
  bool FetchAndVerify(const std::string& fileName, const std::string& url, bool verify) override;
  void OpenUrlList(const std::string& fileName) override;
  std::string LookupUrlListValue(const std::string& key) override;
  void CloseUrlList() override;
  std::string ReadOldSoftwareVersion() override;
  bool RunSetup(const std::string& setupName, const std::string& responseName) override;
  void Sleep(uint32_t milliseconds) override;

 private:
  std::shared_ptr<DetachablePageView> m_view;
  HWND m_page;
  UrlListCopy m_urlList;
  // Verified setup programs, held open read-only until they have been started, so that
  // the bytes that were checked are the bytes that run.
  std::map<std::string, ReadLockedFile> m_verified;
};
