// kernel32 files: the download client's destination and the fetch step's read lock; the
// digest of a held file through CryptoAPI (advapi32, loaded already).

#include "platform/Files.h"

#include <windows.h>
// After windows.h:
#include <wincrypt.h>

#include <vector>

#include "platform/win32/UniqueHandle.h"

// The core sizes its path buffers and limits with its own copy of the system's.
static_assert(kPathCapacity == MAX_PATH, "path capacity");
static_assert(kErrorNotAPlainFile == ERROR_CANT_ACCESS_FILE, "the error of a planted file");

namespace {

std::string FinalPath(HANDLE handle) {
  char path[kPathCapacity * 2] = {};
  const DWORD length = GetFinalPathNameByHandleA(handle, path, sizeof path, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= sizeof path) return std::string();
  return std::string(path, length);
}

void ReleaseProvider(HCRYPTPROV provider) { CryptReleaseContext(provider, 0); }

// With FILE_FLAG_OPEN_REPARSE_POINT a link at the name is opened itself, or counts as
// taken: never followed.
FileHandle OpenAtName(const char* path, DWORD access, DWORD sharing, DWORD disposition) {
  return FromNative<FileHandle>(CreateFileA(path, access, sharing, nullptr, disposition,
                                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                            nullptr));
}

class Win32Files final : public Files {
 public:
  FileHandle CreateNew(const char* path) override {
    return OpenAtName(path, GENERIC_WRITE, 0, CREATE_NEW);
  }

  bool Replace(const char* from, const char* to) override {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != FALSE;
  }

  FileHandle OpenForWriting(const char* path) override {
    return OpenAtName(path, GENERIC_WRITE, 0, OPEN_EXISTING);
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
    return OpenAtName(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  }

  bool Describe(FileHandle file, FileFacts& facts) override {
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(ToNative(file), &info)) return false;
    facts.regular = GetFileType(ToNative(file)) == FILE_TYPE_DISK &&
                    (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    facts.reparsePoint = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    facts.links = info.nNumberOfLinks;
    facts.size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    facts.finalPath = FinalPath(ToNative(file));
    return !facts.finalPath.empty();
  }

  bool DigestSha256(FileHandle file, Sha256Digest& digest) override {
    // A provider that keeps no keys: enough to hash.
    UniqueHandle<HCRYPTPROV, ReleaseProvider> provider;
    if (!CryptAcquireContextA(provider.Put(), nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
      return false;
    UniqueHandle<HCRYPTHASH, CryptDestroyHash> hash;
    if (!CryptCreateHash(provider.Get(), CALG_SHA_256, 0, 0, hash.Put())) return false;
    // Each read names its offset, so the digest covers the file from its first byte
    // wherever the handle stood.
    std::vector<BYTE> buffer(64 * 1024);
    uint64_t offset = 0;
    for (;;) {
      OVERLAPPED at = {};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      DWORD read = 0;
      if (!ReadFile(ToNative(file), buffer.data(), static_cast<DWORD>(buffer.size()), &read, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        return false;
      }
      if (read == 0) break;
      if (!CryptHashData(hash.Get(), buffer.data(), read, 0)) return false;
      offset += read;
    }
    DWORD size = static_cast<DWORD>(digest.size());
    return CryptGetHashParam(hash.Get(), HP_HASHVAL, digest.data(), &size, 0) &&
           size == digest.size();
  }

  std::string FolderFinalPath(const char* folder) override {
    // A folder opens only with backup semantics; links on the way are the system's own
    // choice of folder and are followed.
    const HANDLE handle = CreateFileA(folder, FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::string();
    UniqueFile owned(handle);
    return FinalPath(handle);
  }

  uint32_t LastError() override { return GetLastError(); }
};

}  // namespace

Files& SystemFiles() {
  static Win32Files files;
  return files;
}
