#pragma once
// The deploy tool's installation: Pellory's install worker and its services, hosted
// without a page. Every question the worker would ask a person is answered by policy, and
// every step is logged.

#include <memory>
#include <string>

#include "deploy/DeployArguments.h"
#include "deploy/DeployLog.h"
#include "engine/CancelGate.h"
#include "platform/InstallPlatform.h"

// Exit codes, in the numbers of Windows Installer that distribution tools read.
enum DeployExit : int {
  kDeployInstalled = 3010,  // installed; the computer must be restarted first
  kDeployCancelled = 1602,
  kDeployFailed = 1603,
  kDeployBusy = 1618,
  kDeployBlocked = 1638,  // older reader software
  kDeployUsage = 1639,
};

// "outcome: 3010: installed; ...": the log's last line.
std::string DeployOutcome(int exitCode, const std::string& detail = "");

class Deploy {
 public:
  Deploy(const InstallPlatform& platform, DeployLog& log);

  // The whole installation of the chosen components, with the arguments' retry policy, on
  // the calling thread; its exit code, logged as the last line.
  int Run(const DeployArguments& arguments, const ComponentSelection& selection);

  // Any thread, on a request to stop: true (logged as the outcome) until the install
  // phase has begun, when the caller ends the process with kDeployCancelled; refused
  // (false, logged) after it, as the wizard refuses its Cancel.
  bool Stop();

 private:
  const InstallPlatform& m_platform;
  DeployLog& m_log;
  const std::shared_ptr<CancelGate> m_gate = std::make_shared<CancelGate>();
};
