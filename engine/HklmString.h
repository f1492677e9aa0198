#pragma once
// Text values under HKEY_LOCAL_MACHINE, read-only.

#include <cstddef>
#include <string>

class Registry;

// Values longer than this many bytes count as absent.
constexpr std::size_t kHklmStringCapacity = 1024;

constexpr char kPelloryKey[] = "SOFTWARE\\Morvane Corporation\\Pellory";
constexpr char kUrlListValueName[] = "URL List";

// The value's data up to its first zero byte (all of it when it holds none), whatever
// the value's type. Empty on every failure: no key, no value, no access, too long.
std::string ReadHklmString(Registry& registry, const std::string& subKey,
                           const std::string& valueName);

// The administrator's URL-list location; empty when none is set.
std::string ReadUrlListOverride(Registry& registry);
