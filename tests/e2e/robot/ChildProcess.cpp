#include "robot/ChildProcess.h"

#include <cstdlib>
#include <utility>
#include <vector>

namespace robot {

std::wstring WindowsPathOf(const std::string& path) {
  std::wstring wide(path.begin(), path.end());  // build paths are ASCII
  if (wide.empty() || wide[0] != L'/') return wide;
  for (auto& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return L"Z:" + wide;
}

std::wstring PelloryExePath() {
  // The shipped exe of another tree may stand in for this tree's own build.
  if (const char* exe = std::getenv("PELLORY_EXE")) return WindowsPathOf(exe);
#ifdef PELLORY_EXE_PATH
  return WindowsPathOf(PELLORY_EXE_PATH);
#else
  return L"Pellory.exe";
#endif
}

ChildProcess::~ChildProcess() {
  Kill();
  Release();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_process(std::exchange(other.m_process, nullptr)), m_id(std::exchange(other.m_id, 0)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Kill();
    Release();
    m_process = std::exchange(other.m_process, nullptr);
    m_id = std::exchange(other.m_id, 0);
  }
  return *this;
}

bool ChildProcess::Start(const std::wstring& exePath, const std::wstring& arguments) {
  if (m_process) return false;
  std::wstring commandLine = L"\"" + exePath + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exePath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  m_process = info.hProcess;
  m_id = info.dwProcessId;
  return true;
}

bool ChildProcess::IsRunning() const {
  return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(Duration timeout) {
  if (!m_process) return true;
  return WaitForSingleObject(m_process, static_cast<DWORD>(Scaled(timeout).count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> ChildProcess::ExitCode() const {
  DWORD code = 0;
  if (!m_process || IsRunning() || !GetExitCodeProcess(m_process, &code)) return std::nullopt;
  return code;
}

void ChildProcess::Kill() {
  if (!IsRunning()) return;
  TerminateProcess(m_process, 1);
  WaitForSingleObject(m_process, static_cast<DWORD>(Scaled(Duration{5000}).count()));
}

void ChildProcess::Release() {
  if (m_process) CloseHandle(m_process);
  m_process = nullptr;
  m_id = 0;
}

}  // namespace robot
