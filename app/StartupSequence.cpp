#include "app/StartupSequence.h"

namespace {
constexpr uint32_t kIdsAlreadyRunning = 179;
constexpr uint32_t kIdsNotAdministrator = 180;
}  // namespace

void RunStartupSequence(StartupPlatform& platform) {
  if (platform.CreateSingleInstanceMutex() == StartupPlatform::MutexOutcome::AlreadyExists) {
    platform.ShowMessage(kIdsAlreadyRunning);
    return;
  }
  if (!platform.IsAdministrator()) {
    platform.ShowMessage(kIdsNotAdministrator);
    return;
  }
  platform.RunWizard();
}
