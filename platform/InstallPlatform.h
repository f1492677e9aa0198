#pragma once
// Every platform service the programs run on, chosen once: app/SystemPlatform.cpp makes
// the real ones (the Win32 adapters' System factories) for every shell, a test its fakes.
// They outlive every user. An interface's LastError() is the error number of the calling
// thread's latest failed call. The download client needs only the first four, the fetch
// step the trust as well, so a test of those fills in no more. Apart from it: the start-up
// guard's ground, which is asked before anything here is made, and the console and the
// resources of the console programs.

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Http.h"
#include "platform/HttpProxy.h"
#include "platform/InstanceMutex.h"
#include "platform/PrivateFolders.h"
#include "platform/ProcessLauncher.h"
#include "platform/Registry.h"
#include "platform/Restart.h"
#include "platform/SystemInfo.h"
#include "platform/Threads.h"
#include "platform/Trust.h"
#include "platform/UserAccount.h"

struct InstallPlatform {
  Http* http = nullptr;
  Files* files = nullptr;
  Threads* threads = nullptr;
  Clock* clock = nullptr;
  Trust* trust = nullptr;
  Registry* registry = nullptr;
  SystemInfo* system = nullptr;
  ProcessLauncher* launcher = nullptr;
  PrivateFolders* folders = nullptr;  // the run's working folder, and PelloryCheck's own
  HttpProxy* proxy = nullptr;
  Folders* mirrorFolders = nullptr;
  UserAccount* user = nullptr;
  InstanceMutex* mutex = nullptr;
  Restart* restart = nullptr;
};
