#pragma once
// The worker's world, scripted: its steps (a URL list held in memory, fetches and setup
// runs that succeed unless told otherwise, hooks that let a test hold the worker inside a
// fetch or a setup run) and the registry, system and clock the worker reads itself. Every step
// and the probe are recorded in the event log.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>

#include "engine/HklmString.h"
#include "engine/InstallSession.h"
#include "engine/InstallWorkerHost.h"
#include "engine/OldSoftwareProbe.h"
#include "fakes/EventLog.h"
#include "platform/Clock.h"
#include "platform/InstallPlatform.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

class FakeInstallWorkerHost : public InstallWorkerHost,
                              public Registry,
                              public SystemInfo,
                              public Clock {
 public:
  explicit FakeInstallWorkerHost(EventLog& log) : m_log(log) {}

  std::string urlListOverride;
  uint16_t langId = kLangJapanese;
  std::map<std::string, std::string> urlList = {
      {"CVN_ISS", "http://dl.test/c/cvn.iss"}, {"CVN_EXE", "http://dl.test/c/cvn.exe"},
      {"PM_ISS", "http://dl.test/p/pm.iss"},   {"PM_EXE", "http://dl.test/p/pm.exe"},
      {"TSL_ISS", "http://dl.test/t/tsl.iss"}, {"TSL_EXE", "http://dl.test/t/tsl.exe"},
  };
  std::set<std::string> failingFetches;    // local names whose fetch the user gives up
  std::set<std::string> rejectedPrograms;  // setup names that fail their check
  std::set<std::string> differingPins;     // local names whose digest is not their pin
  std::string oldSoftwareVersion;
  std::set<std::string> unstartableSetups;  // setup names that cannot be started
  // Called on the worker thread inside a fetch / a setup run, before it returns.
  std::function<void(const std::string& fileName)> onFetch;
  std::function<void(const std::string& setupName)> onSetup;
  int sleeps = 0;

  bool ReadHklmValue(const std::string& subKey, const std::string& valueName, std::size_t,
                     std::string& data) override {
    if (subKey == kPelloryKey && valueName == kUrlListValueName) {
      data = urlListOverride;
      return true;
    }
    if (subKey == kOldSoftwareKey && valueName == kOldSoftwareVersionValueName) {
      m_log.Add("probe");
      data = oldSoftwareVersion;
      return !data.empty();
    }
    return false;
  }
  uint16_t SystemDefaultLangId() override { return langId; }
  std::string TempPath() override { return "C:\\T\\"; }

  // The registry, system and clock the worker reads itself.
  InstallPlatform Platform() {
    InstallPlatform platform;
    platform.registry = this;
    platform.system = this;
    platform.clock = this;
    return platform;
  }
  void MakeWorkFolder() override { m_log.Add("make folder"); }
  uint32_t GetTickCount() override { return 0; }

  FetchVerdict FetchAndVerify(const std::string& fileName, const std::string& url, bool verify,
                              const FilePin& pin = {}) override {
    m_log.Add(std::string(verify ? "fetch+verify " : "fetch ") + url + " -> " + fileName +
              (pin.digest ? (pin.askAgain ? " pinned, asks again" : " pinned") : ""));
    if (onFetch) onFetch(fileName);
    // A refused (empty) name cannot start: the user gives up, as the real step lets them.
    if (fileName.empty() || failingFetches.count(fileName)) return FetchVerdict::GaveUp;
    if (verify && rejectedPrograms.count(fileName)) return FetchVerdict::Rejected;
    // The real step asks again about a list; the user here gives up.
    if (pin.digest && differingPins.count(fileName))
      return pin.askAgain ? FetchVerdict::GaveUp : FetchVerdict::Rejected;
    return FetchVerdict::Fetched;
  }
  void OpenUrlList(const std::string& fileName) override { m_log.Add("open " + fileName); }
  std::string LookupUrlListValue(const std::string& key) override {
    m_log.Add("lookup " + key);
    auto found = urlList.find(key);
    return found == urlList.end() ? std::string() : found->second;
  }
  void CloseUrlList() override { m_log.Add("close list"); }
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
};
