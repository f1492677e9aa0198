#include "platform/ProcessLauncher.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace {

class Win32StartedProcess final : public StartedProcess {
 public:
  explicit Win32StartedProcess(UniqueProcessInformation handles) : m_handles(std::move(handles)) {}

  void WaitForExit() override { WaitForSingleObject(m_handles.process.Get(), INFINITE); }

 private:
  UniqueProcessInformation m_handles;
};

class Win32ProcessLauncher final : public ProcessLauncher {
 public:
  std::unique_ptr<StartedProcess> StartHidden(const std::string& applicationName,
                                              const std::string& commandLine) override {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info = {};
    // CreateProcessA may write into the command line, so it gets a private copy.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    if (!CreateProcessA(applicationName.c_str(), writable.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &info))
      return nullptr;
    UniqueProcessInformation handles(info);
    return std::make_unique<Win32StartedProcess>(std::move(handles));
  }
};

}  // namespace

ProcessLauncher& SystemProcessLauncher() {
  static Win32ProcessLauncher launcher;
  return launcher;
}
