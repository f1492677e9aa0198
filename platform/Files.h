#pragma once
// Files as the download client and the fetch step see them (kernel32 on Windows).

#include <array>
#include <cstdint>
#include <string>

#include "platform/Owner.h"

// A path buffer holds at most this many bytes (or UTF-16 units), its terminator included:
// a path is at most 259 long.
constexpr uint32_t kPathCapacity = 260;

// The error the core reports when what stands at a name is not a plain file of the folder
// (ERROR_CANT_ACCESS_FILE).
constexpr uint32_t kErrorNotAPlainFile = 1920;

using Sha256Digest = std::array<uint8_t, 32>;

// A file handle; kInvalidFile (all bits set) is "not open".
enum class FileHandle : uintptr_t {};
constexpr FileHandle kInvalidFile = FileHandle(~uintptr_t{0});

// What the system says of an open file, asked on its handle.
struct FileFacts {
  bool regular = false;       // a data file: no folder, device or pipe
  bool reparsePoint = false;  // a symbolic link, junction or mount point, opened itself
  uint32_t links = 0;         // how many names the file has (hard links)
  uint64_t size = 0;
  std::string finalPath;  // the path the system resolves it to, e.g. "\\?\C:\Temp\a.exe"
};

class Files {
 public:
  virtual ~Files() = default;

  // Creates a new file for writing, shared with nobody. Fails when anything already stands
  // at the path, a link included, which is never followed.
  virtual FileHandle CreateNew(const char* path) = 0;
  // Renames `from` to `to`, replacing the directory entry at `to` itself (a link, not the
  // file it leads to).
  virtual bool Replace(const char* from, const char* to) = 0;
  // Opens an existing file for writing without truncating it, shared with nobody; a link at
  // the path is opened itself where the platform allows, not followed.
  virtual FileHandle OpenForWriting(const char* path) = 0;
  // Writes all size bytes, synchronously.
  virtual bool Write(FileHandle file, const void* data, uint32_t size) = 0;
  virtual bool Close(FileHandle file) = 0;
  // Opens an existing file for reading so that, while the handle is open, others may
  // read it but can neither write, rename nor delete it; a link is opened as for writing.
  virtual FileHandle OpenReadLocked(const char* path) = 0;
  virtual bool Describe(FileHandle file, FileFacts& facts) = 0;
  // The SHA-256 digest of the open file's bytes, read through this handle from its first
  // byte to its end; false when it cannot be read.
  virtual bool DigestSha256(FileHandle file, Sha256Digest& digest) = 0;
  // The path the system resolves a folder to (links followed); empty on failure.
  virtual std::string FolderFinalPath(const char* folder) = 0;

  virtual uint32_t LastError() = 0;
};

Files& SystemFiles();

// A file held open by the core, closed through the same interface when the owner goes.
struct FileCloser {
  Files* files = nullptr;
  void operator()(FileHandle file) const { files->Close(file); }
};
using ReadLockedFile = Owner<FileHandle, FileCloser>;

// Owns `file` when it is open; an owner of nothing otherwise.
inline ReadLockedFile OwnFile(Files& files, FileHandle file) {
  return file == kInvalidFile ? ReadLockedFile() : ReadLockedFile(file, FileCloser{&files});
}
