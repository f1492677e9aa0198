#pragma once
// Records every start and wait; a start fails when `startSucceeds` is false.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/ProcessLauncher.h"

class FakeProcessLauncher : public ProcessLauncher {
 public:
  struct Start {
    std::string applicationName;
    std::string commandLine;
    std::string currentDirectory;
    Environment environment;
  };

  bool startSucceeds = true;
  Environment environment = {"=C:=C:\\Users\\u\\Downloads", "Path=C:\\Windows",
                             "TEMP=C:\\Users\\u\\Temp", "tmp=C:\\Users\\u\\Temp",
                             "windir=C:\\Windows"};
  Environment machine = {"Path=C:\\Windows\\system32", "windir=C:\\Windows"};
  std::function<void()> onStart;  // runs inside the start, before it returns
  std::function<void()> wait;     // runs inside the wait for the started process
  uint32_t exitCode = 0;          // what every started process ends with
  std::vector<Start> starts;
  // In order: "start", "wait", "release" (the launcher's view of one run).
  std::vector<std::string> events;

  std::unique_ptr<StartedProcess> StartHidden(const std::string& applicationName,
                                              const std::string& commandLine,
                                              const std::string& currentDirectory,
                                              const Environment& given) override {
    starts.push_back({applicationName, commandLine, currentDirectory, given});
    if (onStart) onStart();
    if (!startSucceeds) return nullptr;
    events.push_back("start");
    return std::make_unique<Process>(events, wait, exitCode);
  }
  Environment CurrentEnvironment() override { return environment; }
  Environment MachineEnvironment() override { return machine; }

 private:
  class Process : public StartedProcess {
   public:
    Process(std::vector<std::string>& events, std::function<void()> wait, uint32_t exitCode)
        : m_events(events), m_wait(std::move(wait)), m_exitCode(exitCode) {}
    ~Process() override { m_events.push_back("release"); }
    uint32_t WaitForExit() override {
      m_events.push_back("wait");
      if (m_wait) m_wait();
      return m_exitCode;
    }

   private:
    std::vector<std::string>& m_events;
    std::function<void()> m_wait;
    uint32_t m_exitCode;
  };
};
