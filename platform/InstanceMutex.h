#pragma once
// The named mutex by which a second instance of the program finds the first (kernel32).

enum class MutexOutcome { Created, AlreadyExists, Failed };

class InstanceMutex {
 public:
  virtual ~InstanceMutex() = default;

  // Creates the mutex `name`, owned by the calling thread, and holds it open for the life
  // of the process. AlreadyExists: another process holds one of that name.
  virtual MutexOutcome Create(const char* name) = 0;
};

InstanceMutex& SystemInstanceMutex();
