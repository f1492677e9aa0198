#pragma once
// Folders for the checking tool's mirror.

#include <cstdint>
#include <string>

class Folders {
 public:
  virtual ~Folders() = default;
  // Creates the folder and any missing parent; true when it exists afterwards.
  virtual bool CreateFolder(const std::string& path) = 0;
  // Whether nothing but "." and ".." matches `pattern` ("<folder>\*": the folder is
  // empty); false when it cannot be listed.
  virtual bool NothingMatches(const std::string& pattern) = 0;
  virtual uint32_t LastError() = 0;
};

Folders& SystemFolders();
