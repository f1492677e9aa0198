#pragma once
// The worker's services, scripted: a URL list held in memory, fetches and setup runs that
// succeed unless told otherwise, and hooks that let a test hold the worker inside a fetch
// or a setup run. Every call is recorded in the event log.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>

#include "engine/InstallSession.h"
#include "fakes/EventLog.h"
#include "platform/InstallWorkerHost.h"

class FakeInstallWorkerHost : public InstallWorkerHost {
 public:
  FakeInstallWorkerHost(EventLog& log, InstallSession& session) : m_log(log), m_session(session) {}

  std::string urlListOverride;
  uint16_t langId = kLangJapanese;
  std::map<std::string, std::string> urlList = {
      {"CVN_ISS", "http://dl.test/c/cvn.iss"}, {"CVN_EXE", "http://dl.test/c/cvn.exe"},
      {"PM_ISS", "http://dl.test/p/pm.iss"},   {"PM_EXE", "http://dl.test/p/pm.exe"},
      {"TSL_ISS", "http://dl.test/t/tsl.iss"}, {"TSL_EXE", "http://dl.test/t/tsl.exe"},
  };
  std::set<std::string> failingFetches;     // local names whose fetch the user gives up
  std::string oldSoftwareVersion;
  std::set<std::string> unstartableSetups;  // setup names that cannot be started
  // Called on the worker thread inside a fetch / a setup run, before it returns.
  std::function<void(const std::string& fileName)> onFetch;
  std::function<void(const std::string& setupName)> onSetup;
  int sleeps = 0;

  std::string ReadUrlListOverride() override { return urlListOverride; }
  uint16_t SystemDefaultLangId() override { return langId; }
  bool FetchAndVerify(const std::string& fileName, const std::string& url, bool verify) override {
    m_log.Add(std::string(verify ? "fetch+verify " : "fetch ") + url + " -> " + fileName);
    if (onFetch) onFetch(fileName);
    if (failingFetches.count(fileName)) {
      m_session.RecordResult(DownloadFailed);  // as the fetch step does when it gives up
      return false;
    }
    return true;
  }
  void OpenUrlList(const std::string& fileName) override { m_log.Add("open " + fileName); }
  std::string LookupUrlListValue(const std::string& key) override {
    m_log.Add("lookup " + key);
    auto found = urlList.find(key);
    return found == urlList.end() ? std::string() : found->second;
  }
  void CloseUrlList() override { m_log.Add("close list"); }
  std::string ReadOldSoftwareVersion() override {
    m_log.Add("probe");
    return oldSoftwareVersion;
  }
  bool RunSetup(const std::string& setupName, const std::string& responseName) override {
    m_log.Add("setup " + setupName + " " + responseName);
    if (onSetup) onSetup(setupName);
    return unstartableSetups.count(setupName) == 0;
  }
  void Sleep(uint32_t) override {
    ++sleeps;
    std::this_thread::yield();
  }

 private:
  EventLog& m_log;
  InstallSession& m_session;
};
