#include "engine/SetupCommand.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "net/AsciiText.h"
#include "platform/Files.h"

namespace {

// The name of an entry, upper-cased: Windows compares environment names without case.
// Entries such as "=C:=C:\\" (a drive's current folder) start with their "=".
std::string UpperName(const std::string& entry) {
  return UpperAscii(entry.substr(0, entry.find('=', 1)));
}

// Read by the .NET runtimes (COR_ and COMPlus_ by .NET Framework, CORECLR_ and DOTNET_ by .NET),
// which take a profiler DLL, startup hooks, extra assemblies or the runtime itself from them.
constexpr const char* kCodeLoadingPrefixes[] = {"COR_", "CORECLR_", "COMPLUS_", "DOTNET_"};
// The compatibility shims applied to a program; the Java agents given to any JVM it starts.
constexpr const char* kCodeLoadingNames[] = {"__COMPAT_LAYER", "JAVA_TOOL_OPTIONS", "_JAVA_OPTIONS",
                                             "JDK_JAVA_OPTIONS"};
// The user's profile and identity: the machine's block holds a default profile's and, on
// Windows, SYSTEM's.
// clang-format off
constexpr const char* kUsersOwnNames[] = {
    "APPDATA", "CLIENTNAME", "HOMEDRIVE", "HOMEPATH", "HOMESHARE", "LOCALAPPDATA", "LOGONSERVER",
    "SESSIONNAME", "USERDNSDOMAIN", "USERDOMAIN", "USERDOMAIN_ROAMINGPROFILE", "USERNAME",
    "USERPROFILE"};
// clang-format on

template <std::size_t N>
bool IsOneOf(const std::string& name, const char* const (&names)[N]) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

bool LoadsCode(const std::string& name) {
  return IsOneOf(name, kCodeLoadingNames) ||
         std::any_of(std::begin(kCodeLoadingPrefixes), std::end(kCodeLoadingPrefixes),
                     [&](const char* prefix) { return name.rfind(prefix, 0) == 0; });
}

void SetVariable(Environment& environment, const std::string& name, const std::string& value) {
  const std::string upper = UpperAscii(name);
  const auto same = std::find_if(environment.begin(), environment.end(),
                                 [&](const std::string& e) { return UpperName(e) == upper; });
  if (same != environment.end()) {
    *same = same->substr(0, same->find('=', 1)) + "=" + value;
    return;
  }
  const auto after = std::find_if(environment.begin(), environment.end(),
                                  [&](const std::string& e) { return UpperName(e) > upper; });
  environment.insert(after, name + "=" + value);
}

}  // namespace

std::string BuildSetupCommandLine(const std::string& folder, const std::string& setupName,
                                  const std::string& responseName) {
  return folder + setupName + kSetupSwitches + folder + responseName + "\"";
}

Environment SetupEnvironment(const Environment& own, const Environment& machine,
                             const std::string& folder) {
  Environment environment;
  for (const std::string& entry : own) {
    const std::string name = UpperName(entry);
    if (!LoadsCode(name) && name != "PATH") environment.push_back(entry);
  }
  for (const std::string& entry : machine) {
    const std::size_t equals = entry.find('=', 1);
    const std::string name = UpperName(entry);
    if (equals == std::string::npos || LoadsCode(name) || IsOneOf(name, kUsersOwnNames)) continue;
    SetVariable(environment, entry.substr(0, equals), entry.substr(equals + 1));
  }
  const std::string value =
      folder.size() > 1 && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
  for (const char* name : {"TEMP", "TMP"}) SetVariable(environment, name, value);
  return environment;
}
