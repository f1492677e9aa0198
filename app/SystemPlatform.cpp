#include "app/SystemPlatform.h"

InstallPlatform SystemInstallPlatform() {
  return {&SystemHttp(),           &SystemFiles(),     &SystemThreads(), &SystemClock(),
          &SystemTrust(),          &SystemRegistry(),  &RunningSystem(), &SystemProcessLauncher(),
          &SystemPrivateFolders(), &SystemHttpProxy(), &SystemFolders(), &SystemUserAccount(),
          &SystemInstanceMutex(),  &SystemRestart()};
}
