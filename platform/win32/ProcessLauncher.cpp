#include "platform/ProcessLauncher.h"

#include <windows.h>
// After windows.h, which it needs.
#include <userenv.h>

#include <cstring>
#include <cwchar>
#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace {

class Win32StartedProcess final : public StartedProcess {
 public:
  explicit Win32StartedProcess(UniqueProcessInformation handles) : m_handles(std::move(handles)) {}

  uint32_t WaitForExit() override {
    WaitForSingleObject(m_handles.process.Get(), INFINITE);
    DWORD code = STILL_ACTIVE;
    return GetExitCodeProcess(m_handles.process.Get(), &code) ? code : STILL_ACTIVE;
  }

 private:
  UniqueProcessInformation m_handles;
};

class Win32ProcessLauncher final : public ProcessLauncher {
 public:
  std::unique_ptr<StartedProcess> StartHidden(const std::string& applicationName,
                                              const std::string& commandLine,
                                              const std::string& currentDirectory,
                                              const Environment& environment) override {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info = {};
    // CreateProcessA may write into the command line, so it gets a private copy.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    // An ANSI block: each entry with its terminator, and one more terminator at the end.
    std::vector<char> block;
    for (const std::string& entry : environment)
      block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    block.push_back('\0');
    if (environment.empty()) block.push_back('\0');
    if (!CreateProcessA(applicationName.c_str(), writable.data(), nullptr, nullptr, FALSE, 0,
                        block.data(), currentDirectory.c_str(), &startup, &info))
      return nullptr;
    return std::make_unique<Win32StartedProcess>(UniqueProcessInformation(info));
  }

  Environment CurrentEnvironment() override {
    Environment environment;
    char* const block = GetEnvironmentStringsA();
    if (block == nullptr) return environment;
    for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1)
      environment.emplace_back(entry);
    FreeEnvironmentStringsA(block);
    return environment;
  }

  Environment MachineEnvironment() override {
    Environment environment;
    void* block = nullptr;
    if (!CreateEnvironmentBlock(&block, nullptr, FALSE)) return environment;
    // In the ANSI code page, as the rest of the setup's environment and its command line.
    // No best fit: a character the code page lacks becomes "?", which names no file,
    // rather than a look-alike such as "\\" (UTF-8 has every character and takes no flag).
    const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    for (const wchar_t* entry = static_cast<const wchar_t*>(block); *entry != L'\0';
         entry += std::wcslen(entry) + 1) {
      const int length = static_cast<int>(std::wcslen(entry));
      std::string narrow(
          WideCharToMultiByte(CP_ACP, flags, entry, length, nullptr, 0, nullptr, nullptr), '\0');
      WideCharToMultiByte(CP_ACP, flags, entry, length, narrow.data(),
                          static_cast<int>(narrow.size()), nullptr, nullptr);
      if (!narrow.empty()) environment.push_back(narrow);
    }
    DestroyEnvironmentBlock(block);
    return environment;
  }
};

}  // namespace

ProcessLauncher& SystemProcessLauncher() {
  static Win32ProcessLauncher launcher;
  return launcher;
}
