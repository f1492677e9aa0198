// kernel32 files: the download client's destination and the fetch step's read lock.

#include "platform/Files.h"

#include <windows.h>

namespace {

HANDLE ToNative(FileHandle file) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(file)); }

FileHandle FromNative(HANDLE file) {
  return static_cast<FileHandle>(reinterpret_cast<uintptr_t>(file));
}

class Win32Files final : public Files {
 public:
  FileHandle CreateForWriting(const char* path) override {
    return FromNative(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  }

  bool Write(FileHandle file, const void* data, uint32_t size) override {
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
      DWORD written = 0;
      if (!WriteFile(ToNative(file), next, size, &written, nullptr)) return false;
      if (written == 0) {
        SetLastError(ERROR_WRITE_FAULT);
        return false;
      }
      next += written;
      size -= written;
    }
    return true;
  }

  bool Close(FileHandle file) override { return CloseHandle(ToNative(file)) != FALSE; }

  FileHandle OpenReadLocked(const char* path) override {
    if (path == nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return kInvalidFile;
    }
    // Sharing read only: no writer, and without FILE_SHARE_DELETE no rename or delete.
    return FromNative(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  }

  uint32_t LastError() override { return GetLastError(); }
};

}  // namespace

Files& SystemFiles() {
  static Win32Files files;
  return files;
}
