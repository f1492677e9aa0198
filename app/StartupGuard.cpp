#include "app/StartupGuard.h"

#include <cstdio>

StartupGround GuardProgramStart(ProgramGround& ground) {
  ground.RestrictLibrarySearch();
  const std::wstring own = ground.OwnPath();
  if (own.empty()) return StartupGround::OwnPathUnknown;
  return ground.MayExist(own + L".local") ? StartupGround::DotLocalBeside : StartupGround::Sound;
}

bool GuardConsoleProgramStart(ProgramGround& ground, const char* program) {
  if (GuardProgramStart(ground) == StartupGround::Sound) return true;
  // Not printf, which would link the C library's whole formatter into every program.
  std::fputs(program, stderr);
  std::fputs(": not run: its name with \".local\" added may stand beside it\n", stderr);
  return false;
}
