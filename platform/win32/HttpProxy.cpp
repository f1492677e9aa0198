// WinINet's proxy settings of an internet handle opened with the system's configuration.

#include "platform/HttpProxy.h"

#include <vector>

#include <windows.h>
// After windows.h:
#include <wininet.h>

#include "platform/win32/UniqueHandle.h"

namespace {

class Win32HttpProxy final : public HttpProxy {
 public:
  bool QueryProxy(HttpHandle session, ProxyInfo& info) override {
    const HINTERNET handle = ToNative(session);
    DWORD size = 0;
    InternetQueryOptionA(handle, INTERNET_OPTION_PROXY, nullptr, &size);
    if (size < sizeof(INTERNET_PROXY_INFO)) return false;
    // The strings follow the structure in the same block.
    std::vector<INTERNET_PROXY_INFO> block(size / sizeof(INTERNET_PROXY_INFO) + 1);
    size = static_cast<DWORD>(block.size() * sizeof(INTERNET_PROXY_INFO));
    if (!InternetQueryOptionA(handle, INTERNET_OPTION_PROXY, block.data(), &size)) return false;
    const INTERNET_PROXY_INFO& proxy = block[0];
    info.direct = proxy.dwAccessType != INTERNET_OPEN_TYPE_PROXY;
    info.proxy = proxy.lpszProxy != nullptr ? reinterpret_cast<const char*>(proxy.lpszProxy) : "";
    info.bypass = proxy.lpszProxyBypass != nullptr
                      ? reinterpret_cast<const char*>(proxy.lpszProxyBypass)
                      : "";
    return true;
  }
};

}  // namespace

HttpProxy& SystemHttpProxy() {
  static Win32HttpProxy proxy;
  return proxy;
}
