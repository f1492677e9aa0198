#pragma once
// The HTTP stack with a window on what the download client does not keep: the
// status and Content-Length the server sent, and the proxy in force for the session.
// Every call goes through unchanged, so the transfer is Pellory's own.

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/Http.h"
#include "platform/HttpProxy.h"

class ObservingHttp final : public Http {
 public:
  ObservingHttp(Http& http, HttpProxy& proxy) : m_http(http), m_proxy(proxy) {}

  // Forgets what the previous transfer showed.
  void Reset();
  uint32_t Status() const { return m_status.load(std::memory_order_acquire); }  // 0: none read
  bool HasContentLength() const { return m_hasLength.load(std::memory_order_acquire); }
  uint32_t ContentLength() const { return m_length.load(std::memory_order_acquire); }
  // "direct", "127.0.0.1:3128 (bypass <local>)", or "" when no session was opened.
  const std::string& Proxy() const { return m_proxyText; }

  bool CrackUrl(const char* url, UrlParts& parts) override { return m_http.CrackUrl(url, parts); }
  HttpHandle Open() override;
  bool SetTimeout(HttpHandle handle, HttpTimeout which, uint32_t milliseconds) override {
    return m_http.SetTimeout(handle, which, milliseconds);
  }
  HttpHandle Connect(HttpHandle session, const char* host, uint16_t port) override {
    return m_http.Connect(session, host, port);
  }
  HttpHandle OpenRequest(HttpHandle connection, const char* path) override {
    return m_http.OpenRequest(connection, path);
  }
  bool SendRequest(HttpHandle request) override { return m_http.SendRequest(request); }
  bool QueryNumber(HttpHandle request, HttpNumber which, uint32_t& value) override;
  bool ReadBody(HttpHandle request, void* buffer, uint32_t size, uint32_t& read) override {
    return m_http.ReadBody(request, buffer, size, read);
  }
  bool Close(HttpHandle handle) override { return m_http.Close(handle); }
  uint32_t LastError() override { return m_http.LastError(); }

 private:
  Http& m_http;
  HttpProxy& m_proxy;
  // Written on the transfer thread, read by the owner after it has seen DL_FINISHED.
  std::atomic<uint32_t> m_status{0};
  std::atomic<bool> m_hasLength{false};
  std::atomic<uint32_t> m_length{0};
  std::string m_proxyText;  // owner's thread only
};
