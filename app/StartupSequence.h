#pragma once
// The order of start-up's checks, free of the platform so that every refusal can be tested:
// a second instance is refused before the administrator check, and a failure to create
// the mutex lets start-up go on.

#include <cstdint>

#include "platform/InstanceMutex.h"

// Pellory's single-instance mutex, of its session; the deploy tool refuses to run beside it.
constexpr char kPelloryMutexName[] = "Pellory Single Execution Mutex";

class StartupPlatform {
 public:
  using MutexOutcome = ::MutexOutcome;
  virtual ~StartupPlatform() = default;
  // Creates the single-instance mutex; its handle stays open for the life of the process.
  virtual MutexOutcome CreateSingleInstanceMutex() = 0;
  virtual bool IsAdministrator() = 0;
  virtual void ShowMessage(uint32_t stringId) = 0;  // MB_OK
  virtual void RunWizard() = 0;
};

// Runs start-up; the program ends when it returns.
void RunStartupSequence(StartupPlatform& platform);
