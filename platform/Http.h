#pragma once
// The synchronous HTTP stack as the download client sees it (WinINet on Windows).
// Each call mirrors one platform call; a failed call leaves its error number for
// LastError() on the calling thread.

#include <cstdint>

// An internet, connection or request handle; None is "not open".
enum class HttpHandle : uintptr_t { None = 0 };

// Scheme number of a plain http URL, as the URL splitter reports it.
constexpr int32_t kSchemeHttp = 3;

// Size of each component buffer the URL splitter fills, terminator included.
constexpr uint32_t kUrlPartSize = 512;

// The parts of a split URL that the client uses. The splitter also separates the user
// name, password and extra information ("?..." or "#..."), which are dropped.
struct UrlParts {
  int32_t scheme = 0;
  char host[kUrlPartSize] = {};
  char path[kUrlPartSize] = {};
  uint16_t port = 0;  // the scheme's default port when the URL gives none
};

enum class HttpTimeout { Connect, Send, Receive };
enum class HttpNumber { StatusCode, ContentLength };

class Http {
 public:
  virtual ~Http() = default;

  // Splits a NUL-terminated URL, decoding percent-escapes into the components.
  virtual bool CrackUrl(const char* url, UrlParts& parts) = 0;
  // The internet handle: user agent "Corvane Pellory", the system's proxy settings.
  virtual HttpHandle Open() = 0;
  virtual bool SetTimeout(HttpHandle handle, HttpTimeout which, uint32_t milliseconds) = 0;
  virtual HttpHandle Connect(HttpHandle session, const char* host, uint16_t port) = 0;
  // A GET request for path that the origin server must answer.
  virtual HttpHandle OpenRequest(HttpHandle connection, const char* path) = 0;
  // Sends the request; returns once the response headers have arrived.
  virtual bool SendRequest(HttpHandle request) = 0;
  virtual bool QueryNumber(HttpHandle request, HttpNumber which, uint32_t& value) = 0;
  // Reads up to size bytes of the body; success with 0 bytes read is the end of the body.
  virtual bool ReadBody(HttpHandle request, void* buffer, uint32_t size, uint32_t& read) = 0;
  virtual bool Close(HttpHandle handle) = 0;

  virtual uint32_t LastError() = 0;
};

Http& SystemHttp();
