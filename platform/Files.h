#pragma once
// Files as the download client and the fetch step see them (kernel32 on Windows).

#include <cstdint>
#include <utility>

#include "platform/Owner.h"

// A path buffer holds at most this many bytes (or UTF-16 units), its terminator included:
// a path is at most 259 long.
constexpr uint32_t kPathCapacity = 260;

// A file handle; kInvalidFile (all bits set) is "not open".
enum class FileHandle : uintptr_t {};
constexpr FileHandle kInvalidFile = FileHandle(~uintptr_t{0});

class Files {
 public:
  virtual ~Files() = default;

  // Creates the file for writing, truncating an existing one, shared with nobody.
  virtual FileHandle CreateForWriting(const char* path) = 0;
  // Writes all size bytes, synchronously.
  virtual bool Write(FileHandle file, const void* data, uint32_t size) = 0;
  virtual bool Close(FileHandle file) = 0;
  // Opens an existing file for reading so that, while the handle is open, others may
  // read it but can neither write, rename nor delete it.
  virtual FileHandle OpenReadLocked(const char* path) = 0;

  // The error number of the calling thread's latest failed call.
  virtual uint32_t LastError() = 0;
};

// The real file system of this system (Windows builds only).
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
