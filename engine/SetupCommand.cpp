#include "engine/SetupCommand.h"

#include <algorithm>

#include "net/LocalNames.h"
#include "platform/Files.h"

namespace {

// The name of an entry, upper-cased: Windows compares environment names without case.
// Entries such as "=C:=C:\\" (a drive's current folder) start with their "=".
std::string UpperName(const std::string& entry) {
  return UpperAscii(entry.substr(0, entry.find('=', 1)));
}

}  // namespace

std::string BuildSetupCommandLine(const std::string& folder, const std::string& setupName,
                                  const std::string& responseName) {
  return FolderFilePath(folder, setupName) + kSetupSwitches + FolderFilePath(folder, responseName) +
         "\"";
}

std::string SetupApplicationName(const std::string& folder, const std::string& setupName) {
  return FolderFilePath(folder, setupName);
}

Environment SetupEnvironment(Environment environment, const std::string& folder) {
  const std::string value =
      folder.size() > 1 && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
  for (const char* name : {"TEMP", "TMP"}) {
    const auto same = std::find_if(environment.begin(), environment.end(),
                                   [name](const std::string& e) { return UpperName(e) == name; });
    if (same != environment.end()) {
      *same = same->substr(0, same->find('=', 1)) + "=" + value;
      continue;
    }
    const auto after = std::find_if(environment.begin(), environment.end(),
                                    [name](const std::string& e) { return UpperName(e) > name; });
    environment.insert(after, std::string(name) + "=" + value);
  }
  return environment;
}
