#pragma once
// The console this program runs in: whether its output is a console window, where a
// progress line may be rewritten in place (not a file or a pipe), text for output that
// must be UTF-8, and the requests to stop that reach a console program.

#include <cstdint>
#include <functional>
#include <string>

// Text in the system's ANSI code page (paths, names, what the platform said) as UTF-8: the
// console's AnsiToUtf8 in a program, a stand-in in a test.
using ToUtf8 = std::function<std::string(const std::string& ansiText)>;

class Console {
 public:
  virtual ~Console() = default;
  virtual bool OutputIsConsole() = 0;
  // Text in the system's ANSI code page (what the A functions give), as UTF-8.
  virtual std::string AnsiToUtf8(const std::string& ansiText) = 0;
  // Text in the code page `codePage` (932: Shift-JIS), as UTF-8.
  virtual std::string CodePageToUtf8(uint32_t codePage, const std::string& text) = 0;
  // From now on, Ctrl+C, Ctrl+Break, the console's closing and the system's shutdown call
  // stop on a thread of the system's: when it returns true the process ends at once with
  // exitCode, else the request is refused (a closing console or a shutdown ends the
  // process anyway once stop has returned). A user's logoff is no request to stop.
  virtual void OnStopRequest(std::function<bool()> stop, uint32_t exitCode) = 0;
};

Console& SystemConsole();
