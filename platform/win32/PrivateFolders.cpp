#include "platform/PrivateFolders.h"

#include <windows.h>
// After windows.h:
#include <aclapi.h>
#include <ntsecapi.h>
#include <sddl.h>

#include "platform/Files.h"
#include "platform/win32/FolderDescriptor.h"
#include "platform/win32/UniqueHandle.h"

namespace {

std::string SidText(PSID sid) {
  LPSTR text = nullptr;
  if (sid == nullptr || !ConvertSidToStringSidA(sid, &text)) return std::string();
  const UniqueLocalMemory owned(text);
  return text;
}

class Win32PrivateFolders final : public PrivateFolders {
 public:
  std::string WindowsFolder() override {
    // The system's own Windows folder: on a terminal server GetWindowsDirectory may give a
    // private one in the user's profile.
    char path[kPathCapacity] = {};
    const UINT length = GetSystemWindowsDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
    std::string folder(path, length);
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
  }

  bool Random(uint32_t& value) override { return RtlGenRandom(&value, sizeof value) != FALSE; }

  bool Create(const char* path, const char* sddl) override {
    if (sddl == nullptr) return CreateDirectoryA(path, nullptr) != FALSE;
    FolderDescriptor descriptor(sddl);
    if (descriptor.Attributes() == nullptr) return false;
    return CreateDirectoryA(path, descriptor.Attributes()) != FALSE;
  }

  FolderHandle Hold(const char* path) override {
    // No FILE_SHARE_DELETE: while this is open, nobody can rename or remove the folder.
    return FromNative<FolderHandle>(CreateFileA(
        path, READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  }

  bool IsFolder(FolderHandle folder) override {
    BY_HANDLE_FILE_INFORMATION info = {};
    return GetFileInformationByHandle(ToNative(folder), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
  }

  bool ReadSecurity(FolderHandle folder, FolderSecurity& security) override {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(ToNative(folder), SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                        &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
      return false;
    const UniqueLocalMemory owned(descriptor);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorControl(descriptor, &control, &revision)) return false;
    security.owner = SidText(owner);
    security.hasAccessList = dacl != nullptr;
    security.protectedList = (control & SE_DACL_PROTECTED) != 0;
    security.entries.clear();
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
      void* ace = nullptr;
      if (!GetAce(dacl, i, &ace)) return false;
      const auto* header = static_cast<const ACE_HEADER*>(ace);
      AccessEntry entry;
      entry.flags = header->AceFlags;
      if (header->AceType == ACCESS_ALLOWED_ACE_TYPE) {
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        entry.allow = true;
        entry.mask = allowed->Mask;
        entry.sid = SidText(&allowed->SidStart);
      }
      security.entries.push_back(entry);
    }
    return true;
  }

  void Close(FolderHandle folder) override { CloseHandle(ToNative(folder)); }

  bool KeepsDescriptors() override {
    // ntdll is the system's own: no program of the user can add this export to it.
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr;
  }

  uint32_t LastError() override { return GetLastError(); }
};

}  // namespace

PrivateFolders& SystemPrivateFolders() {
  static Win32PrivateFolders folders;
  return folders;
}
