#pragma once
// Folders that only administrators and SYSTEM may write: made with a given security
// descriptor, held open while in use, and their descriptor read back (advapi32 and
// kernel32 on Windows).

#include <cstdint>
#include <string>
#include <vector>

// A folder handle; kInvalidFolder (all bits set) is "not open".
enum class FolderHandle : uintptr_t {};
constexpr FolderHandle kInvalidFolder = FolderHandle(~uintptr_t{0});

struct AccessEntry {
  bool allow = false;  // an allow entry; anything else (deny, audit, object) counts as not
  std::string sid;     // "S-1-5-18"
  uint32_t mask = 0;
  uint8_t flags = 0;  // inheritance flags
};

// A folder's owner and access list as the system keeps them.
struct FolderSecurity {
  std::string owner;           // the owner's SID, "S-1-5-32-544"
  bool hasAccessList = false;  // false: no DACL at all, which grants everyone everything
  bool protectedList = false;  // nothing inherited from the parent
  std::vector<AccessEntry> entries;
};

class PrivateFolders {
 public:
  virtual ~PrivateFolders() = default;

  // The Windows folder (GetWindowsDirectory, never the environment), without a trailing
  // backslash; empty when it cannot be determined.
  virtual std::string WindowsFolder() = 0;
  // 32 bits from the system's random number generator; false when it has none to give.
  virtual bool Random(uint32_t& value) = 0;
  // Creates a new folder with the descriptor `sddl` (SDDL text), or with what its parent
  // passes on when sddl is null. Fails when anything, a link included, already stands at
  // the path.
  virtual bool Create(const char* path, const char* sddl) = 0;
  // Opens the folder itself, not a link standing at its name, for reading its descriptor;
  // shared for reading and writing but not for deleting, so that it cannot be renamed
  // or removed while the handle is open.
  virtual FolderHandle Hold(const char* path) = 0;
  // Whether the handle is a folder itself: no file, no link.
  virtual bool IsFolder(FolderHandle folder) = 0;
  virtual bool ReadSecurity(FolderHandle folder, FolderSecurity& security) = 0;
  virtual void Close(FolderHandle folder) = 0;
  // Whether this system keeps the descriptors it is given. Wine (8.0) accepts every
  // descriptor and keeps none: it always reads back its own default.
  virtual bool KeepsDescriptors() = 0;
  virtual uint32_t LastError() = 0;
};

PrivateFolders& SystemPrivateFolders();
