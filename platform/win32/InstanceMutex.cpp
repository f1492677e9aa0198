#include "platform/InstanceMutex.h"

#include <windows.h>

#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace {

class Win32InstanceMutex final : public InstanceMutex {
 public:
  MutexOutcome Create(const char* name) override {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name);
    if (mutex == nullptr) return MutexOutcome::Failed;
    const DWORD error = GetLastError();
    // Held until the process ends, which is what ends the mutex; every one of them.
    m_mutexes.emplace_back().Reset(mutex);
    return error == ERROR_ALREADY_EXISTS ? MutexOutcome::AlreadyExists : MutexOutcome::Created;
  }

 private:
  std::vector<UniqueKernelHandle> m_mutexes;
};

}  // namespace

InstanceMutex& SystemInstanceMutex() {
  static Win32InstanceMutex mutex;
  return mutex;
}
