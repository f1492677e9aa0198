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
};

}  // namespace

Console& SystemConsole() {
  static Win32Console console;
  return console;
}
