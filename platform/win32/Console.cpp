#include "platform/Console.h"

#include <windows.h>

namespace {

class Win32Console final : public Console {
 public:
  bool OutputIsConsole() override {
    DWORD mode = 0;
    // A file or a pipe has no console mode.
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != FALSE;
  }

  std::string AnsiToUtf8(const std::string& ansiText) override {
    if (ansiText.empty()) return ansiText;  // both calls fail on an empty input
    const int size = int(ansiText.size());
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, ansiText.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansiText.data(), size, wide.data(), int(wide.size()));
    const int wideSize = int(wide.size());
    std::string utf8(
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, utf8.data(), int(utf8.size()), nullptr,
                        nullptr);
    return utf8;
  }
};

}  // namespace

Console& SystemConsole() {
  static Win32Console console;
  return console;
}
