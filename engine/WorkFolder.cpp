#include "engine/WorkFolder.h"

#include <algorithm>

#include "net/AsciiText.h"

namespace {

constexpr int kFreshNameAttempts = 4;
constexpr char kPelloryPrefix[] = "Pellory.";
constexpr char kSystemSid[] = "S-1-5-18";
constexpr char kAdministratorsSid[] = "S-1-5-32-544";
constexpr uint32_t kFileAllAccess = 0x001F01FF;  // FILE_ALL_ACCESS
// Object and container inherit: what is made in the folder gets the same two entries.
constexpr uint8_t kInheritedByAll = 0x03;

bool IsFullControlFor(const AccessEntry& entry, const char* sid) {
  return entry.allow && entry.sid == sid && entry.mask == kFileAllAccess &&
         entry.flags == kInheritedByAll;
}

// "<parent><prefix><hexDigits>\"; empty without a parent.
std::string FreshFolderPath(const std::string& parent, const std::string& prefix,
                            const std::string& hexDigits) {
  return parent.empty() ? std::string() : parent + prefix + hexDigits + "\\";
}

// Whether a folder's descriptor is exactly what kWorkFolderSddl asks for.
bool IsAdministratorsOnly(const FolderSecurity& security) {
  if (security.owner != kAdministratorsSid || !security.hasAccessList || !security.protectedList ||
      security.entries.size() != 2) {
    return false;
  }
  const auto has = [&security](const char* sid) {
    return std::any_of(security.entries.begin(), security.entries.end(),
                       [sid](const AccessEntry& e) { return IsFullControlFor(e, sid); });
  };
  return has(kSystemSid) && has(kAdministratorsSid);
}

}  // namespace

std::string WorkFolderParent(const std::string& windowsFolder) {
  return windowsFolder.empty() ? std::string() : windowsFolder + "\\Temp\\";
}

std::string WorkFolderPath(const std::string& windowsFolder, const std::string& hexDigits) {
  return FreshFolderPath(WorkFolderParent(windowsFolder), kPelloryPrefix, hexDigits);
}

WorkFolder WorkFolder::Create(PrivateFolders& folders) {
  return Create(folders, WorkFolderParent(folders.WindowsFolder()), kPelloryPrefix, true);
}

WorkFolder WorkFolder::Create(PrivateFolders& folders, const std::string& parent,
                              const std::string& prefix, bool administratorsOnly) {
  WorkFolder made;
  for (int attempt = 0; attempt < kFreshNameAttempts && !parent.empty(); ++attempt) {
    uint32_t random = 0;
    if (!folders.Random(random)) break;
    const std::string path = FreshFolderPath(parent, prefix, HexDigits(random));
    if (!folders.Create(path.c_str(), administratorsOnly ? kWorkFolderSddl : nullptr)) continue;
    const FolderHandle held = folders.Hold(path.c_str());
    if (held == kInvalidFolder) break;
    made.m_held = Owner<FolderHandle, FolderCloser>(held, FolderCloser{&folders});
    // The read-back is skipped only where the system keeps no descriptor at all (Wine):
    // there it reads back its own default whatever was asked, and nothing is enforced.
    FolderSecurity security;
    const bool asAsked = !administratorsOnly || !folders.KeepsDescriptors() ||
                         (folders.ReadSecurity(held, security) && IsAdministratorsOnly(security));
    // And what is held must be the folder itself, not a link planted in its place.
    if (!asAsked || !folders.IsFolder(held)) {
      made.m_held.Reset();
      break;
    }
    made.m_path = path;
    break;
  }
  return made;
}
