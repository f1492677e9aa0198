#pragma once
// Every platform service the installation runs on, faked, and the bundle over them: a test
// fixture derives from it and scripts the fakes by name.

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

struct FakeInstallPlatform {
  InstallPlatform Platform() {
    return {registry, system, launcher, http, files, threads, clock, trust, folders};
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
};
