#include "app/SystemPlatform.h"

InstallPlatform SystemInstallPlatform() {
  return {SystemRegistry(), RunningSystem(), SystemProcessLauncher(),
          SystemHttp(),     SystemFiles(),   SystemThreads(),
          SystemClock(),    SystemTrust(),   SystemPrivateFolders()};
}
