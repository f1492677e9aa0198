#include "app/StartupSequence.h"

#include "res/resource.h"


void RunStartupSequence(StartupPlatform& platform) {
  if (platform.CreateSingleInstanceMutex() == StartupPlatform::MutexOutcome::AlreadyExists) {
    platform.ShowMessage(IDS_ALREADY_RUNNING);
    return;
  }
  if (!platform.IsAdministrator()) {
    platform.ShowMessage(IDS_NOT_ADMINISTRATOR);
    return;
  }
  platform.RunWizard();
}
