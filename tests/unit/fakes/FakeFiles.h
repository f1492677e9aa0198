#pragma once
// A file system in memory with Windows' sharing rules for the two kinds of open the
// code uses: a writer that shares with nobody, and a reader that shares reading only.

#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "fakes/FakeLastError.h"
#include "platform/Files.h"

constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorDiskFull = 112;

class FakeFiles : public Files {
 public:
  std::set<std::string> failCreate;  // paths that cannot be created
  bool failWrite = false;
  int failCloses = 0;  // how many of the next closes fail

  FileHandle CreateForWriting(const char* path) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (failCreate.count(path) != 0) return FailHandle(kErrorAccessDenied);
    if (IsInUse(path)) return FailHandle(kErrorSharingViolation);
    contents[path].clear();
    return NewHandle(path, true);
  }

  bool Write(FileHandle file, const void* data, uint32_t size) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    auto found = m_open.find(file);
    if (failWrite || found == m_open.end() || !found->second.writing) return Fail(kErrorDiskFull);
    contents[found->second.path].append(static_cast<const char*>(data), size);
    return true;
  }

  bool Close(FileHandle file) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    ++closes;
    if (failCloses > 0) {
      --failCloses;
      return Fail(kErrorAccessDenied);
    }
    if (m_open.erase(file) == 0) return Fail(6);
    return true;
  }

  FileHandle OpenReadLocked(const char* path) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (path == nullptr || contents.count(path) == 0) return FailHandle(kErrorFileNotFound);
    for (const auto& entry : m_open) {
      if (entry.second.path == path && entry.second.writing) {
        return FailHandle(kErrorSharingViolation);
      }
    }
    return NewHandle(path, false);
  }

  uint32_t LastError() override { return g_fakeLastError; }

  // What another program of the user could do to the file now.
  bool CanReplace(const std::string& path) const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return !IsInUse(path);
  }
  int OpenCount() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return static_cast<int>(m_open.size());
  }
  bool IsOpen(FileHandle file) const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_open.count(file) != 0;
  }
  std::string Content(const std::string& path) const {
    std::lock_guard<std::mutex> guard(m_mutex);
    auto found = contents.find(path);
    return found == contents.end() ? std::string() : found->second;
  }
  bool Exists(const std::string& path) const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return contents.count(path) != 0;
  }

  std::map<std::string, std::string> contents;
  int closes = 0;

 private:
  struct OpenFile {
    std::string path;
    bool writing;
  };
  bool IsInUse(const std::string& path) const {
    return std::any_of(m_open.begin(), m_open.end(),
                       [&](const auto& entry) { return entry.second.path == path; });
  }
  static bool Fail(uint32_t error) {
    g_fakeLastError = error;
    return false;
  }
  static FileHandle FailHandle(uint32_t error) {
    g_fakeLastError = error;
    return kInvalidFile;
  }
  FileHandle NewHandle(const std::string& path, bool writing) {
    const FileHandle file = static_cast<FileHandle>(m_next += 4);
    m_open[file] = {path, writing};
    return file;
  }

  mutable std::mutex m_mutex;
  std::map<FileHandle, OpenFile> m_open;
  uintptr_t m_next = 0x100;
};
