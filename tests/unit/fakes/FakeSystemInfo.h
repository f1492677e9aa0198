#pragma once

#include <string>

#include "platform/SystemInfo.h"

class FakeSystemInfo : public SystemInfo {
 public:
  uint16_t langId = 0x0409;
  std::string tempPath = "C:\\T\\";

  uint16_t SystemDefaultLangId() override { return langId; }
  std::string TempPath() override { return tempPath; }
};
