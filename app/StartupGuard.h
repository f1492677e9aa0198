#pragma once
// What every program of the product does before any library, window or box: it restricts
// its library search, then refuses to run where a "<its own path>.local" name stands.
// Windows takes such a folder as the redirection of the side-by-side libraries that the
// manifest asks for (the common controls, version 6), so a program elevated from a
// Downloads folder would load them from whatever the folder holds. A file or a link of
// that name is refused as well: nobody needs one there, and what it leads to is unknown.
// A program refused so ends at once with exit status 1: no window, no box.

#include "platform/ProgramGround.h"

enum class StartupGround {
  Sound,
  OwnPathUnknown,  // the redirection cannot be ruled out
  DotLocalBeside,
};

StartupGround GuardProgramStart(ProgramGround& ground);

// The guard for a console program: false, with one line on standard error that names
// `program`, when it must not run.
bool GuardConsoleProgramStart(ProgramGround& ground, const char* program);
