#include "net/ObservingHttp.h"

void ObservingHttp::Reset() {
  m_status.store(0, std::memory_order_release);
  m_hasLength.store(false, std::memory_order_release);
  m_length.store(0, std::memory_order_release);
  m_proxyText.clear();
}

HttpHandle ObservingHttp::Open() {
  const HttpHandle session = m_http.Open();
  if (session == HttpHandle::None) return session;
  ProxyInfo info;
  // Asking may change the thread's last error, which the client reads only on failure.
  if (!m_proxy.QueryProxy(session, info)) {
    m_proxyText = "unknown";
  } else if (info.direct || info.proxy.empty()) {
    m_proxyText = "direct";
  } else {
    m_proxyText = info.proxy + (info.bypass.empty() ? "" : " (bypass " + info.bypass + ")");
  }
  return session;
}

bool ObservingHttp::QueryNumber(HttpHandle request, HttpNumber which, uint32_t& value) {
  const bool ok = m_http.QueryNumber(request, which, value);
  if (ok && which == HttpNumber::StatusCode) m_status.store(value, std::memory_order_release);
  if (ok && which == HttpNumber::ContentLength) {
    m_length.store(value, std::memory_order_release);
    m_hasLength.store(true, std::memory_order_release);
  }
  return ok;
}
