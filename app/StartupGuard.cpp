#include "app/StartupGuard.h"

StartupGround GuardProgramStart(ProgramGround& ground) {
  ground.RestrictLibrarySearch();
  const std::wstring own = ground.OwnPath();
  if (own.empty()) return StartupGround::OwnPathUnknown;
  return ground.MayExist(own + L".local") ? StartupGround::DotLocalBeside : StartupGround::Sound;
}
