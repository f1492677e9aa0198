#include "engine/SetupCommand.h"

#include "platform/SystemInfo.h"

std::string BuildSetupCommandLine(const std::string& tempPath, const std::string& setupName,
                                  const std::string& responseName) {
  return TempFilePath(tempPath, setupName) + kSetupSwitches + TempFilePath(tempPath, responseName) +
         "\"";
}

std::string SetupApplicationName(const std::string& tempPath, const std::string& setupName) {
  return TempFilePath(tempPath, setupName);
}
