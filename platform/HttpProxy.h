#pragma once
// Which proxy the HTTP stack uses for the requests of one internet handle (WinINet's
// view of the system's settings on Windows).

#include <string>

#include "platform/Http.h"

struct ProxyInfo {
  bool direct = true;  // no proxy at all
  std::string proxy;   // e.g. "127.0.0.1:3128" or "http=proxy:80"
  std::string bypass;  // hosts that go direct, e.g. "<local>"
};

class HttpProxy {
 public:
  virtual ~HttpProxy() = default;
  // The settings in force on `session` (an internet handle of Http::Open).
  virtual bool QueryProxy(HttpHandle session, ProxyInfo& info) = 0;
};

HttpProxy& SystemHttpProxy();
