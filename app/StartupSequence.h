#pragma once
// The order of start-up's checks, free of the platform so that every refusal can be tested:
// a second instance is refused before the administrator check, and a failure to create
// the mutex lets start-up go on.

#include <cstdint>

#include "platform/InstallPlatform.h"

// Pellory's single-instance mutex, of its session; the deploy tool refuses to run beside it.
constexpr char kPelloryMutexName[] = "Pellory Single Execution Mutex";

// What start-up shows and runs once the platform's mutex and account have been asked.
class StartupShell {
 public:
  virtual ~StartupShell() = default;
  virtual void ShowMessage(uint32_t stringId) = 0;  // MB_OK
  virtual void RunWizard() = 0;
};

// Runs start-up; the program ends when it returns.
void RunStartupSequence(const InstallPlatform& platform, StartupShell& shell);
