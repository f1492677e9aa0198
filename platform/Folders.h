#pragma once
// Folders and whole-file copies for the checking tool's own folder and its mirror.

#include <cstdint>
#include <string>

class Folders {
 public:
  virtual ~Folders() = default;
  // Creates the folder and any missing parent; true when it exists afterwards.
  virtual bool CreateFolder(const std::string& path) = 0;
  // Copies a file, replacing an existing destination.
  virtual bool CopyWholeFile(const std::string& from, const std::string& to) = 0;
  // The error number of the calling thread's latest failed call.
  virtual uint32_t LastError() = 0;
};

// The real file system (Windows builds only).
Folders& SystemFolders();
