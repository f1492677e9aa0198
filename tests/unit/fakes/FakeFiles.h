#pragma once
// A file system in memory with Windows' sharing rules for the two kinds of open the
// code uses (a writer that shares with nobody, a reader that shares reading only), and
// names that a test can make links: a symbolic link or junction (opened itself, resolving
// elsewhere) or a second name of a file (a hard link).

#include <algorithm>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "fakes/FakeDigest.h"
#include "fakes/FakeLastError.h"
#include "platform/Files.h"

constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorFileExists = 80;
constexpr uint32_t kErrorDiskFull = 112;

class FakeFiles : public Files {
 public:
  std::set<std::string> failCreate;  // destinations that cannot be replaced (a folder, say)
  bool failWrite = false;
  int failCloses = 0;  // how many of the next closes fail (of files not just created fresh)
  std::map<std::string, std::string> symlinks;  // name -> where it resolves to
  std::set<std::string> hardLinks;              // names whose file has another name too
  std::function<void()> afterReplace;           // another program, right after a rename
  bool failDigest = false;

  FileHandle CreateNew(const char* path) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (contents.count(path) != 0 || symlinks.count(path) != 0) return FailHandle(kErrorFileExists);
    contents[path].clear();
    ++creates;
    const FileHandle file = NewHandle(path, true);
    m_open[file].fresh = true;
    return file;
  }

  bool Replace(const char* from, const char* to) override {
    {
      std::lock_guard<std::mutex> guard(m_mutex);
      if (failCreate.count(to) != 0) return Fail(kErrorAccessDenied);
      if (IsInUse(to) || IsInUse(from)) return Fail(kErrorAccessDenied);
      if (contents.count(from) == 0) return Fail(kErrorFileNotFound);
      // The entry at `to` goes, whatever it was; what it led to stays as it is.
      contents[to] = contents[from];
      contents.erase(from);
      symlinks.erase(to);
      hardLinks.erase(to);
    }
    if (afterReplace) afterReplace();
    return true;
  }

  FileHandle OpenForWriting(const char* path) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (contents.count(path) == 0 && symlinks.count(path) == 0)
      return FailHandle(kErrorFileNotFound);
    if (IsInUse(path)) return FailHandle(kErrorSharingViolation);
    return NewHandle(path, true);
  }

  bool Describe(FileHandle file, FileFacts& facts) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    auto found = m_open.find(file);
    if (found == m_open.end()) return Fail(6);
    const std::string& path = found->second.path;
    const auto link = symlinks.find(path);
    facts.regular = true;
    facts.reparsePoint = link != symlinks.end();
    facts.links = hardLinks.count(path) != 0 ? 2 : 1;
    facts.size = contents.count(path) != 0 ? contents.at(path).size() : 0;
    facts.finalPath = Resolved(link != symlinks.end() ? link->second : path);
    return true;
  }

  bool DigestSha256(FileHandle file, Sha256Digest& digest) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    auto found = m_open.find(file);
    if (failDigest || found == m_open.end()) return Fail(kErrorAccessDenied);
    digest = FakeSha256(contents[found->second.path]);
    ++digests;
    return true;
  }

  std::string FolderFinalPath(const char* folder) override {
    std::string resolved = Resolved(folder);
    while (!resolved.empty() && resolved.back() == '\\') resolved.pop_back();
    return resolved;
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
    const auto found = m_open.find(file);
    if (failCloses > 0 && !(found != m_open.end() && found->second.fresh)) {
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
  int creates = 0;
  int digests = 0;

 private:
  struct OpenFile {
    std::string path;
    bool writing;
    bool fresh = false;
  };
  bool IsInUse(const std::string& path) const {
    return std::any_of(m_open.begin(), m_open.end(),
                       [&](const auto& entry) { return entry.second.path == path; });
  }
  // "\\?\" and the path with doubled separators read as one, as the system reports it.
  static std::string Resolved(const std::string& path) {
    std::string out = "\\\\?\\";
    for (char c : path)
      if (!(c == '\\' && !out.empty() && out.back() == '\\' && out.size() > 4)) out.push_back(c);
    return out;
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
