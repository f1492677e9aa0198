#include "engine/OldSoftwareProbe.h"

#include "engine/HklmString.h"

std::string ReadOldSoftwareVersion(Registry& registry) {
  return ReadHklmString(registry, kOldSoftwareKey, kOldSoftwareVersionValueName);
}

bool IsOldSoftwareBlocking(const std::string& version) {
  return !version.empty() && version[0] == '1';
}
