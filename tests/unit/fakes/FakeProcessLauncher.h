#pragma once
// Records every start and wait; a start fails when `startSucceeds` is false.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ProcessLauncher.h"

class FakeProcessLauncher : public ProcessLauncher {
 public:
  struct Start {
    std::string applicationName;
    std::string commandLine;
  };

  bool startSucceeds = true;
  std::function<void()> onStart;  // runs inside the start, before it returns
  std::vector<Start> starts;
  // In order: "start", "wait", "release" (the launcher's view of one run).
  std::vector<std::string> events;

  std::unique_ptr<StartedProcess> StartHidden(const std::string& applicationName,
                                              const std::string& commandLine) override {
    starts.push_back({applicationName, commandLine});
    if (onStart) onStart();
    if (!startSucceeds) return nullptr;
    events.push_back("start");
    return std::make_unique<Process>(events);
  }

 private:
  class Process : public StartedProcess {
   public:
    explicit Process(std::vector<std::string>& events) : m_events(events) {}
    ~Process() override { m_events.push_back("release"); }
    void WaitForExit() override { m_events.push_back("wait"); }

   private:
    std::vector<std::string>& m_events;
  };
};
