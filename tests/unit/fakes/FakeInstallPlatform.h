#pragma once
// Every platform service the programs run on, faked, and the bundle over them: a test
// fixture derives from it and scripts the fakes by name.

#include <set>
#include <string>
#include <vector>

#include "fakes/FakeClock.h"
#include "fakes/FakeFiles.h"
#include "fakes/FakeHttp.h"
#include "fakes/FakePrivateFolders.h"
#include "fakes/FakeProcessLauncher.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystemInfo.h"
#include "fakes/FakeThreads.h"
#include "fakes/FakeTrust.h"
#include "platform/InstallPlatform.h"

class FakeProxy : public HttpProxy {
 public:
  bool QueryProxy(HttpHandle, ProxyInfo& info) override {
    info = proxy;
    return true;
  }
  ProxyInfo proxy;  // direct unless a test says otherwise
};

// "a\b" names one file in a scratch folder: folders are only names.
class FakeFolders : public Folders {
 public:
  bool CreateFolder(const std::string&) override { return true; }
  bool NothingMatches(const std::string&) override { return empty; }
  uint32_t LastError() override { return 0; }
  bool empty = true;
};

class FakeUserAccount : public UserAccount {
 public:
  bool IsAdministrator() override { return ++asked, administrator; }
  bool administrator = true;
  int asked = 0;
};

class FakeMutexes : public InstanceMutex {
 public:
  std::set<std::string> held;  // by other processes
  bool fails = false;
  std::vector<std::string> created;
  MutexOutcome Create(const char* name) override {
    created.push_back(name);
    if (fails) return MutexOutcome::Failed;
    return held.count(name) ? MutexOutcome::AlreadyExists : MutexOutcome::Created;
  }
};

class FakeRestart : public Restart {
 public:
  bool RestartSystem() override { return ++restarts, true; }
  int restarts = 0;
};

struct FakeInstallPlatform {
  InstallPlatform Platform() {
    return {&http,     &files,   &threads, &clock,         &trust, &registry, &system,
            &launcher, &folders, &proxy,   &mirrorFolders, &user,  &mutexes,  &restart};
  }

  FakeRegistry registry;
  FakeSystemInfo system;
  FakeProcessLauncher launcher;
  FakeHttp http;
  FakeFiles files;
  ScriptedThreads threads;
  FakeClock clock;
  FakeTrust trust;
  FakePrivateFolders folders;
  FakeProxy proxy;
  FakeFolders mirrorFolders;
  FakeUserAccount user;
  FakeMutexes mutexes;
  FakeRestart restart;
};
