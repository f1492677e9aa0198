#pragma once
// The install worker's steps over the platform: the fetch step with the page's progress
// bar and retry question, the local copy of the URL list, and the setup runner. Lives on
// the worker thread for one run.

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "engine/InstallWorkerHost.h"
#include "engine/UrlList.h"
#include "platform/DownloadPageView.h"
#include "platform/InstallPlatform.h"

// The process locale for all categories becomes the user's default (setlocale with "").
void UseUserLocale();

class InstallWorkerServices final : public InstallWorkerHost {
 public:
  InstallWorkerServices(const InstallPlatform& platform, std::shared_ptr<DownloadPageView> view,
                        std::function<void()> useUserLocale = UseUserLocale);

  FetchVerdict FetchAndVerify(const std::string& fileName, const std::string& url,
                              bool verify) override;
  void OpenUrlList(const std::string& fileName) override;
  std::string LookupUrlListValue(const std::string& key) override;
  void CloseUrlList() override;
  bool RunSetup(const std::string& setupName, const std::string& responseName) override;

 private:
  const InstallPlatform m_platform;
  const std::shared_ptr<DownloadPageView> m_view;
  const std::function<void()> m_useUserLocale;
  UrlListCopy m_urlList;
  // Verified setup programs by local name, held open read-only until they have been
  // started, so that the bytes that were checked are the bytes that run.
  std::map<std::string, ReadLockedFile> m_verified;
};
