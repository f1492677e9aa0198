#include "platform/win32/Resources.h"

#include "platform/Resources.h"

const void* FindOwnResource(LPCSTR type, UINT id, DWORD& size) {
  size = 0;
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data != nullptr) size = SizeofResource(module, found);
  return data;
}

namespace {

class Win32Resources final : public Resources {
 public:
  std::string Bytes(uint16_t type, uint16_t id) override {
    DWORD size = 0;
    const void* data = FindOwnResource(MAKEINTRESOURCEA(type), id, size);
    return data != nullptr ? std::string(static_cast<const char*>(data), size) : std::string();
  }
};

}  // namespace

Resources& SystemResources() {
  static Win32Resources resources;
  return resources;
}
