#pragma once
// Every platform service the installation runs on, chosen once by the application (the
// real ones) or by a test (fakes). They outlive every user.

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Http.h"
#include "platform/PrivateFolders.h"
#include "platform/ProcessLauncher.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/Threads.h"
#include "platform/Trust.h"

struct InstallPlatform {
  Registry& registry;
  SystemInfo& system;
  ProcessLauncher& launcher;
  Http& http;
  Files& files;
  Threads& threads;
  Clock& clock;
  Trust& trust;
  PrivateFolders& folders;
};
