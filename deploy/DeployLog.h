#pragma once
// The deploy tool's log: UTF-8 lines, each with its local time, on standard output and,
// when asked for, appended to a file. A distribution tool keeps the one, an administrator
// reads the other.

#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

#include "platform/Console.h"

// "2026-12-10 15:30:01.234", the local time now.
std::string LocalTimeStamp();

class DeployLog {
 public:
  // file may be null. Both must outlive the log.
  DeployLog(std::FILE* out, std::FILE* file, ToUtf8 toUtf8,
            std::function<std::string()> stamp = LocalTimeStamp);

  // Any thread; each line is written through before the call returns.
  void Line(const std::string& ansiText);

 private:
  std::FILE* const m_out;
  std::FILE* const m_file;
  const ToUtf8 m_toUtf8;
  const std::function<std::string()> m_stamp;
  std::mutex m_lock;
};
