#pragma once
// The per-test HTTP server as the transfer tests under Wine use it: its address, its
// document root, and its fault control (GET /_control/...).

#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/UniqueHandle.h"

using UniqueInternet = UniqueHandle<HINTERNET, InternetCloseHandle>;

inline std::string TestVariable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// "127.0.0.1:port" of this test's server; the test is skipped without one.
#define REQUIRE_TEST_SERVER()                                                     \
  do {                                                                            \
    if (TestVariable("PELLORY_TEST_SERVER").empty()) GTEST_SKIP() << "no server"; \
  } while (0)

// A name for this test's files, so that tests may run side by side in one prefix.
inline std::string UniqueTestName() {
  std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  for (char& c : name)
    if (!isalnum(static_cast<unsigned char>(c))) c = '-';
  return name;
}

inline std::string ServerUrl(const std::string& path) {
  return "http://" + TestVariable("PELLORY_TEST_SERVER") + path;
}

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Puts a file into the server's document root.
inline void Publish(const std::string& name, const std::string& bytes) {
  std::ofstream(TestVariable("PELLORY_TEST_WWW") + "\\" + name, std::ios::binary) << bytes;
}

// A signed test package, as Windows names it.
inline std::string PackagePath(const std::string& name) {
  std::string path = PELLORY_PACKAGES_DIR;
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path + "\\" + name;
}

// Sends one control request ("fault?path=/a&kind=status&arg=404", "clear") and returns
// the answer's body. Never cached, so that it cannot disturb what a test measures.
inline std::string ControlServer(const std::string& request) {
  UniqueInternet session(
      InternetOpenA("pellory-test-control", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  UniqueInternet answer(InternetOpenUrlA(
      session.Get(), ServerUrl("/_control/" + request).c_str(), nullptr, 0,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE, 0));
  EXPECT_TRUE(answer) << "control request " << request << " failed: " << GetLastError();
  std::string body;
  char buffer[4096];
  DWORD read = 0;
  while (answer && InternetReadFile(answer.Get(), buffer, sizeof buffer, &read) && read > 0) {
    body.append(buffer, read);
  }
  return body;
}

inline void SetFault(const std::string& path, const std::string& kind, const std::string& arg = "",
                     int times = 0) {
  std::string request = "fault?path=" + path + "&kind=" + kind;
  if (!arg.empty()) request += "&arg=" + arg;
  if (times > 0) request += "&times=" + std::to_string(times);
  EXPECT_EQ(ControlServer(request), "ok\n");
}

inline void ClearFaults() { EXPECT_EQ(ControlServer("clear"), "ok\n"); }
