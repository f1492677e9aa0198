// WinINet, synchronous: the HTTP stack of the download client. Its handles are closed
// explicitly through Close, since each failed close has its own meaning to the client.

#include "platform/Http.h"

#include <cstring>

#include <windows.h>
// After windows.h:
#include <wininet.h>

#include "platform/win32/UniqueHandle.h"

// The client compares the splitter's scheme number with its own copy.
static_assert(kSchemeHttp == INTERNET_SCHEME_HTTP, "scheme number of http");

namespace {

// The origin server must answer (0x0F00). Without NO_CACHE_WRITE, WinINet also writes a
// second copy of every body into its cache: measured under Wine with the first four alone.
constexpr DWORD kRequestFlags = INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                                INTERNET_FLAG_HYPERLINK | INTERNET_FLAG_RESYNCHRONIZE |
                                INTERNET_FLAG_NO_CACHE_WRITE;

class Win32Http final : public Http {
 public:
  bool CrackUrl(const char* url, UrlParts& parts) override {
    char scheme[kUrlPartSize] = {};
    char host[kUrlPartSize] = {};
    char user[kUrlPartSize] = {};
    char password[kUrlPartSize] = {};
    char path[kUrlPartSize] = {};
    char extra[kUrlPartSize] = {};
    URL_COMPONENTSA components = {};
    components.dwStructSize = sizeof components;
    components.lpszScheme = scheme;
    components.dwSchemeLength = kUrlPartSize;
    components.lpszHostName = host;
    components.dwHostNameLength = kUrlPartSize;
    components.lpszUserName = user;
    components.dwUserNameLength = kUrlPartSize;
    components.lpszPassword = password;
    components.dwPasswordLength = kUrlPartSize;
    components.lpszUrlPath = path;
    components.dwUrlPathLength = kUrlPartSize;
    components.lpszExtraInfo = extra;
    components.dwExtraInfoLength = kUrlPartSize;
    if (!InternetCrackUrlA(url, 0, ICU_ESCAPE, &components)) return false;
    parts.scheme = components.nScheme;
    std::memcpy(parts.host, host, kUrlPartSize);
    std::memcpy(parts.path, path, kUrlPartSize);
    parts.port = components.nPort;
    return true;
  }

  HttpHandle Open() override {
    return FromNative<HttpHandle>(
        InternetOpenA("Corvane Pellory", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  }

  bool SetTimeout(HttpHandle handle, HttpTimeout which, uint32_t milliseconds) override {
    DWORD option = INTERNET_OPTION_RECEIVE_TIMEOUT;
    if (which == HttpTimeout::Connect) option = INTERNET_OPTION_CONNECT_TIMEOUT;
    if (which == HttpTimeout::Send) option = INTERNET_OPTION_SEND_TIMEOUT;
    DWORD value = milliseconds;
    return InternetSetOptionA(ToNative(handle), option, &value, sizeof value) != FALSE;
  }

  HttpHandle Connect(HttpHandle session, const char* host, uint16_t port) override {
    return FromNative<HttpHandle>(InternetConnectA(ToNative(session), host, port, nullptr, nullptr,
                                                   INTERNET_SERVICE_HTTP, 0, 0));
  }

  HttpHandle OpenRequest(HttpHandle connection, const char* path) override {
    return FromNative<HttpHandle>(HttpOpenRequestA(ToNative(connection), "GET", path, nullptr,
                                                   nullptr, nullptr, kRequestFlags, 0));
  }

  bool SendRequest(HttpHandle request) override {
    return HttpSendRequestA(ToNative(request), nullptr, 0, nullptr, 0) != FALSE;
  }

  bool QueryNumber(HttpHandle request, HttpNumber which, uint32_t& value) override {
    const DWORD query =
        which == HttpNumber::StatusCode ? HTTP_QUERY_STATUS_CODE : HTTP_QUERY_CONTENT_LENGTH;
    DWORD number = 0;
    DWORD length = sizeof number;
    if (!HttpQueryInfoA(ToNative(request), query | HTTP_QUERY_FLAG_NUMBER, &number, &length,
                        nullptr)) {
      return false;
    }
    value = number;
    return true;
  }

  bool ReadBody(HttpHandle request, void* buffer, uint32_t size, uint32_t& read) override {
    DWORD count = 0;
    const bool ok = InternetReadFile(ToNative(request), buffer, size, &count) != FALSE;
    read = count;
    return ok;
  }

  bool Close(HttpHandle handle) override { return InternetCloseHandle(ToNative(handle)) != FALSE; }

  uint32_t LastError() override { return GetLastError(); }
};

}  // namespace

Http& SystemHttp() {
  static Win32Http http;
  return http;
}
