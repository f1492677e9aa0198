#include "deploy/DeployLog.h"

#include <chrono>
#include <ctime>
#include <utility>

std::string LocalTimeStamp() {
  using namespace std::chrono;
  const system_clock::time_point now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const long milliseconds =
      static_cast<long>(duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
                        1000);
  // Called under the log's lock only, so the shared result of localtime is safe here.
  const std::tm* local = std::localtime(&seconds);
  char text[32] = "";
  if (local != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%s.%03ld", text, milliseconds);
  return stamp;
}

DeployLog::DeployLog(std::FILE* out, std::FILE* file, ToUtf8 toUtf8,
                     std::function<std::string()> stamp)
    : m_out(out), m_file(file), m_toUtf8(std::move(toUtf8)), m_stamp(std::move(stamp)) {}

void DeployLog::Line(const std::string& ansiText) {
  std::lock_guard<std::mutex> guard(m_lock);
  const std::string line = m_stamp() + " " + m_toUtf8(ansiText) + "\n";
  for (std::FILE* to : {m_out, m_file}) {
    if (to == nullptr) continue;
    std::fwrite(line.data(), 1, line.size(), to);
    std::fflush(to);
  }
}
