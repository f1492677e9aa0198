#pragma once
// Facts about the running system that the install engine depends on.

#include <cstdint>
#include <string>

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  // GetSystemDefaultLangID: 0x0411 on a Japanese system.
  virtual uint16_t SystemDefaultLangId() = 0;

  // The temporary directory as GetTempPathA gives it, with its trailing backslash;
  // empty when it cannot be determined or does not fit in MAX_PATH.
  virtual std::string TempPath() = 0;
};

SystemInfo& RunningSystem();
