#pragma once
// Restarting the computer after an installation (advapi32 and user32 on Windows).

class Restart {
 public:
  virtual ~Restart() = default;

  // 1 when RunOnce or RunOnceEx under HKEY_LOCAL_MACHINE holds a value (also one that
  // does not fit 128-byte buffers), so the system already waits for a restart; else 0.
  virtual int IsRestartPending() = 0;
  // Enables the shutdown privilege, then asks the system to restart and returns at once;
  // true when the restart was asked for.
  virtual bool RestartSystem() = 0;
};

// The running system's restart (defined by the Win32 adapter only).
Restart& SystemRestart();
