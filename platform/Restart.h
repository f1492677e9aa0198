#pragma once
// Restarting the computer after an installation (advapi32 and user32 on Windows).

class Restart {
 public:
  virtual ~Restart() = default;

  // Enables the shutdown privilege, then asks the system to restart and returns at once;
  // true when the restart was asked for.
  virtual bool RestartSystem() = 0;
};

Restart& SystemRestart();
