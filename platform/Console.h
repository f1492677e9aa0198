#pragma once
// The standard output: whether it is a console window, where a progress line may be
// rewritten in place (not a file or a pipe), and text for output that must be UTF-8.

#include <string>

class Console {
 public:
  virtual ~Console() = default;
  virtual bool OutputIsConsole() = 0;
  // Text in the system's ANSI code page (what the A functions give), as UTF-8.
  virtual std::string AnsiToUtf8(const std::string& ansiText) = 0;
};

// This process's console (Windows builds only).
Console& SystemConsole();
