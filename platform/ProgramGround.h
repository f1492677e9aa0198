#pragma once
// The ground a program of the product stands on: where its libraries come from, and the
// names beside its own file that the loader would follow. Every exe asks this first.

#include <string>

class ProgramGround {
 public:
  virtual ~ProgramGround() = default;

  // Lets this process load libraries from the system folder only, delay-loaded ones too.
  virtual void RestrictLibrarySearch() = 0;
  // The full path of the program's own file (wide: a Downloads folder may be named in any
  // script); empty when the system cannot tell it.
  virtual std::wstring OwnPath() = 0;
  // False only when the system says that nothing at all stands at `path`; any other
  // answer, a failure to look included, counts as something there.
  virtual bool MayExist(const std::wstring& path) = 0;
};

ProgramGround& SystemProgramGround();
