#include "platform/Console.h"

#include <windows.h>

#include <utility>

namespace {

std::string ToUtf8(UINT codePage, const std::string& text) {
  if (text.empty()) return text;  // both calls fail on an empty input
  const int size = int(text.size());
  std::wstring wide(MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), int(wide.size()));
  const int wideSize = int(wide.size());
  std::string utf8(
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, utf8.data(), int(utf8.size()), nullptr,
                      nullptr);
  return utf8;
}

// Set once, before the handler is installed.
std::function<bool()> g_stop;
UINT g_exitCode = 0;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event == CTRL_LOGOFF_EVENT) return TRUE;
  // At once, with nothing flushed or unloaded: the other threads may be anywhere, in a
  // transfer or holding a lock, and nothing they would do after this is wanted. Whatever
  // stop wrote it has written through.
  if (g_stop && g_stop()) TerminateProcess(GetCurrentProcess(), g_exitCode);
  return TRUE;
}

class Win32Console final : public Console {
 public:
  bool OutputIsConsole() override {
    DWORD mode = 0;
    // A file or a pipe has no console mode.
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != FALSE;
  }

  std::string AnsiToUtf8(const std::string& ansiText) override { return ToUtf8(CP_ACP, ansiText); }

  std::string CodePageToUtf8(uint32_t codePage, const std::string& text) override {
    return ToUtf8(codePage, text);
  }

  void OnStopRequest(std::function<bool()> stop, uint32_t exitCode) override {
    g_stop = std::move(stop);
    g_exitCode = exitCode;
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
  }
};

}  // namespace

Console& SystemConsole() {
  static Win32Console console;
  return console;
}
