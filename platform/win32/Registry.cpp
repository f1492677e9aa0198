// HKEY_LOCAL_MACHINE through the ANSI registry functions: names are handed over as
// bytes of the system's ANSI code page.
#include "platform/Registry.h"

#include <windows.h>

#include "platform/win32/UniqueHandle.h"

namespace {

class Win32Registry final : public Registry {
 public:
  bool ReadHklmValue(const std::string& subKey, const std::string& valueName, std::size_t capacity,
                     std::string& data) override {
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
      return false;
    std::string buffer(capacity, '\0');
    DWORD size = static_cast<DWORD>(capacity);
    // The type is deliberately not asked for: the data is taken as bytes whatever it is.
    if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS ||
        size > capacity)
      return false;
    buffer.resize(size);
    data.swap(buffer);
    return true;
  }
};

}  // namespace

Registry& SystemRegistry() {
  static Win32Registry registry;
  return registry;
}
