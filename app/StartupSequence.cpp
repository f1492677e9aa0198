#include "app/StartupSequence.h"

#include "res/resource.h"

void RunStartupSequence(const InstallPlatform& platform, StartupShell& shell) {
  if (platform.mutex->Create(kPelloryMutexName) == MutexOutcome::AlreadyExists) {
    shell.ShowMessage(IDS_ALREADY_RUNNING);
    return;
  }
  if (!platform.user->IsAdministrator()) {
    shell.ShowMessage(IDS_NOT_ADMINISTRATOR);
    return;
  }
  shell.RunWizard();
}
