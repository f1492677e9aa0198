#include "engine/SetupCommand.h"

std::string BuildSetupCommandLine(const std::string& tempPath, const std::string& setupName,
                                  const std::string& responseName) {
  return tempPath + setupName + kSetupSwitches + tempPath + responseName + "\"";
}

std::string SetupApplicationName(const std::string& tempPath, const std::string& setupName) {
  return tempPath + setupName;
}
