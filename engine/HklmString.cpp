#include "engine/HklmString.h"

#include "platform/Registry.h"

std::string ReadHklmString(Registry& registry, const std::string& subKey,
                           const std::string& valueName) {
  std::string data;
  if (!registry.ReadHklmValue(subKey, valueName, kHklmStringCapacity, data)) return std::string();
  if (data.size() > kHklmStringCapacity) return std::string();
  const std::string::size_type end = data.find('\0');
  if (end != std::string::npos) data.resize(end);
  return data;
}

std::string ReadUrlListOverride(Registry& registry) {
  return ReadHklmString(registry, kPelloryKey, kUrlListValueName);
}
