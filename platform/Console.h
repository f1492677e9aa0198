#pragma once
// Whether the standard output is a console window, where a progress line may be
// rewritten in place (not a file or a pipe).

class Console {
 public:
  virtual ~Console() = default;
  virtual bool OutputIsConsole() = 0;
};

// This process's console (Windows builds only).
Console& SystemConsole();
