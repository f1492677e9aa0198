#include "platform/Folders.h"

#include <windows.h>

#include <cstring>

namespace {

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

class Win32Folders final : public Folders {
 public:
  bool CreateFolder(const std::string& path) override {
    if (path.empty()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    if (IsFolder(path)) return true;
    const std::string::size_type separator = path.find_last_of("\\/", path.size() - 2);
    if (separator != std::string::npos && separator > 0 && path[separator - 1] != ':') {
      CreateFolder(path.substr(0, separator));  // a parent that fails shows below
    }
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE || IsFolder(path);
  }

  bool NothingMatches(const std::string& pattern) override {
    WIN32_FIND_DATAA found;
    const HANDLE find = FindFirstFileA(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool nothing = true;
    do {
      nothing = std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0;
    } while (nothing && FindNextFileA(find, &found));
    FindClose(find);
    return nothing;
  }

  uint32_t LastError() override { return GetLastError(); }
};

}  // namespace

Folders& SystemFolders() {
  static Win32Folders folders;
  return folders;
}
