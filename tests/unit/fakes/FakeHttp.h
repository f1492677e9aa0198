#pragma once
// An HTTP server and stack at the level of the WinINet calls: URLs split the way the
// platform splits them, responses scripted per path, every handle tracked so that a test
// can see what was left open. Safe to call from the owner and the transfer thread.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "fakes/FakeLastError.h"
#include "platform/Http.h"

// Platform error numbers the fake reports (WinINet's values).
constexpr uint32_t kErrorInternetTimeout = 12002;
constexpr uint32_t kErrorUnrecognizedScheme = 12006;
constexpr uint32_t kErrorCannotConnect = 12029;
constexpr uint32_t kErrorHeaderNotFound = 12150;
constexpr uint32_t kErrorInvalidHandle = 6;

struct FakeResponse {
  uint32_t status = 200;
  std::optional<uint32_t> contentLength;  // none: the header is absent
  std::vector<std::string> chunks;        // one read returns at most one chunk
  bool failSend = false;
  bool failStatus = false;
  // After the chunks: end of body (reads return 0 bytes), or a failing read.
  bool failReadAtEnd = false;
  // Called at the start of every read with its index (0 = first): the test's hook to
  // advance the clock, request a stop or hold the thread.
  std::function<void(int readIndex)> onRead;

  static FakeResponse Body(const std::string& body) {
    FakeResponse r;
    r.contentLength = static_cast<uint32_t>(body.size());
    if (!body.empty()) r.chunks.push_back(body);
    return r;
  }
};

// No test needs more reads of one response; more means the reader spins.
constexpr int kReadLimit = 10000;

struct FakeRequestRecord {
  std::string host;
  uint16_t port;
  std::string path;
};

class FakeHttp : public Http {
 public:
  // Scripted failures of the calls that open and close handles.
  bool failOpen = false;
  bool failConnect = false;
  bool failOpenRequest = false;
  int failSetTimeoutCall = -1;        // index of the SetTimeout call that fails (0 = first)
  std::vector<HttpHandle> failClose;  // handles whose close fails

  void Serve(const std::string& path, FakeResponse response) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_responses[path] = std::move(response);
  }

  bool CrackUrl(const char* url, UrlParts& parts) override {
    std::string rest = url;
    const size_t colon = rest.find("://");
    if (rest.empty() || colon == std::string::npos) return Fail(kErrorUnrecognizedScheme);
    const std::string scheme = rest.substr(0, colon);
    rest = rest.substr(colon + 3);
    parts.scheme = scheme == "http" ? kSchemeHttp : scheme == "https" ? 4 : 0;
    uint16_t port = scheme == "https" ? 443 : 80;
    const size_t authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
    std::string authority = rest.substr(0, authorityEnd);
    std::string path = rest.substr(authorityEnd);
    const size_t at = authority.rfind('@');
    if (at != std::string::npos) authority = authority.substr(at + 1);  // credentials dropped
    const size_t portColon = authority.find(':');
    if (portColon != std::string::npos) {
      port = static_cast<uint16_t>(std::stoi(authority.substr(portColon + 1)));
      authority.resize(portColon);
    }
    path.resize(std::min(path.find_first_of("?#"), path.size()));  // extra info dropped
    if (authority.size() >= kUrlPartSize || path.size() >= kUrlPartSize) return Fail(122);
    std::strcpy(parts.host, authority.c_str());
    std::strcpy(parts.path, path.c_str());
    parts.port = port;
    return true;
  }

  HttpHandle Open() override {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (failOpen) return FailHandle(kErrorCannotConnect);
    return NewHandle(Kind::Session, "", 0, "");
  }

  bool SetTimeout(HttpHandle handle, HttpTimeout which, uint32_t milliseconds) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    timeouts.push_back({handle, which, milliseconds});
    if (static_cast<int>(timeouts.size()) - 1 == failSetTimeoutCall) return Fail(87);
    return true;
  }

  HttpHandle Connect(HttpHandle session, const char* host, uint16_t port) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (failConnect || !IsOpen(session)) return FailHandle(kErrorCannotConnect);
    return NewHandle(Kind::Connection, host, port, "");
  }

  HttpHandle OpenRequest(HttpHandle connection, const char* path) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (failOpenRequest || !IsOpen(connection)) return FailHandle(kErrorInvalidHandle);
    const Object& c = m_objects.at(connection);
    return NewHandle(Kind::Request, c.host, c.port, path);
  }

  bool SendRequest(HttpHandle request) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!IsOpen(request)) return Fail(kErrorInvalidHandle);
    Object& r = m_objects.at(request);
    requests.push_back({r.host, r.port, r.path});
    auto found = m_responses.find(r.path);
    r.response = found != m_responses.end() ? found->second : NotFound();
    if (r.response.failSend) return Fail(kErrorCannotConnect);
    return true;
  }

  bool QueryNumber(HttpHandle request, HttpNumber which, uint32_t& value) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    const FakeResponse& response = m_objects.at(request).response;
    if (which == HttpNumber::StatusCode) {
      if (response.failStatus) return Fail(kErrorHeaderNotFound);
      value = response.status;
      return true;
    }
    if (!response.contentLength) return Fail(kErrorHeaderNotFound);
    value = *response.contentLength;
    return true;
  }

  bool ReadBody(HttpHandle request, void* buffer, uint32_t size, uint32_t& read) override {
    std::function<void(int)> hook;
    int index = 0;
    {
      std::lock_guard<std::mutex> guard(m_mutex);
      Object& r = m_objects.at(request);
      hook = r.response.onRead;
      index = r.reads++;
      readSizes.push_back(size);
    }
    if (hook) hook(index);  // outside the lock: it may block
    if (index >= kReadLimit) {
      ADD_FAILURE() << "more than " << kReadLimit << " reads of one response: a spinning loop?";
      return Fail(kErrorInternetTimeout);
    }
    std::lock_guard<std::mutex> guard(m_mutex);
    Object& r = m_objects.at(request);
    read = 0;
    if (r.chunk < r.response.chunks.size()) {
      const std::string& chunk = r.response.chunks[r.chunk];
      read = static_cast<uint32_t>(std::min<size_t>(size, chunk.size() - r.offset));
      std::memcpy(buffer, chunk.data() + r.offset, read);
      r.offset += read;
      if (r.offset == chunk.size()) ++r.chunk, r.offset = 0;
      return true;
    }
    if (r.response.failReadAtEnd) return Fail(kErrorInternetTimeout);
    return true;
  }

  bool Close(HttpHandle handle) override {
    std::lock_guard<std::mutex> guard(m_mutex);
    closed.push_back(handle);
    if (std::find(failClose.begin(), failClose.end(), handle) != failClose.end()) {
      return Fail(kErrorInvalidHandle);
    }
    if (!IsOpen(handle)) return Fail(kErrorInvalidHandle);
    m_objects.at(handle).open = false;
    return true;
  }

  uint32_t LastError() override { return g_fakeLastError; }

  // How many handles are open now.
  int OpenHandles() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return static_cast<int>(std::count_if(m_objects.begin(), m_objects.end(),
                                          [](const auto& o) { return o.second.open; }));
  }
  int ReadCount() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return static_cast<int>(readSizes.size());
  }

  // Handles are numbered in the order they are opened, from 1.
  static HttpHandle Nth(uintptr_t n) { return static_cast<HttpHandle>(n); }

  struct TimeoutRecord {
    HttpHandle handle;
    HttpTimeout which;
    uint32_t milliseconds;
  };
  std::vector<TimeoutRecord> timeouts;
  std::vector<FakeRequestRecord> requests;
  std::vector<HttpHandle> closed;
  std::vector<uint32_t> readSizes;

 private:
  enum class Kind { Session, Connection, Request };
  struct Object {
    Kind kind;
    std::string host;
    uint16_t port = 0;
    std::string path;
    bool open = true;
    FakeResponse response;
    size_t chunk = 0;
    size_t offset = 0;
    int reads = 0;
  };

  static FakeResponse NotFound() {
    FakeResponse r = FakeResponse::Body("not found");
    r.status = 404;
    return r;
  }
  static bool Fail(uint32_t error) {
    g_fakeLastError = error;
    return false;
  }
  static HttpHandle FailHandle(uint32_t error) {
    g_fakeLastError = error;
    return HttpHandle::None;
  }
  bool IsOpen(HttpHandle handle) const {
    auto found = m_objects.find(handle);
    return found != m_objects.end() && found->second.open;
  }
  HttpHandle NewHandle(Kind kind, const std::string& host, uint16_t port, const std::string& path) {
    const HttpHandle handle = Nth(++m_next);
    Object object;
    object.kind = kind;
    object.host = host;
    object.port = port;
    object.path = path;
    m_objects.emplace(handle, std::move(object));
    return handle;
  }

  mutable std::mutex m_mutex;
  std::map<std::string, FakeResponse> m_responses;
  std::map<HttpHandle, Object> m_objects;
  uintptr_t m_next = 0;
};
