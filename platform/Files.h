#pragma once
// Files as the download client and the fetch step see them (kernel32 on Windows).

#include <cstdint>
#include <utility>

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

// Owns one open file handle and closes it when it goes away: move-only.
class ReadLockedFile {
 public:
  ReadLockedFile() = default;
  ReadLockedFile(Files& files, FileHandle handle) : m_files(&files), m_handle(handle) {}
  ReadLockedFile(ReadLockedFile&& other) noexcept
      : m_files(other.m_files), m_handle(std::exchange(other.m_handle, kInvalidFile)) {}
  ReadLockedFile& operator=(ReadLockedFile&& other) noexcept {
    if (this != &other) {
      Reset();
      m_files = other.m_files;
      m_handle = std::exchange(other.m_handle, kInvalidFile);
    }
    return *this;
  }
  ReadLockedFile(const ReadLockedFile&) = delete;
  ReadLockedFile& operator=(const ReadLockedFile&) = delete;
  ~ReadLockedFile() { Reset(); }

  bool IsOpen() const { return m_handle != kInvalidFile; }
  FileHandle Handle() const { return m_handle; }
  // Closes the file now; the lock on it ends.
  void Reset() {
    if (IsOpen()) m_files->Close(std::exchange(m_handle, kInvalidFile));
  }

 private:
  Files* m_files = nullptr;
  FileHandle m_handle = kInvalidFile;
};
