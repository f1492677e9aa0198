#pragma once
// The deploy tool's installation: Pellory's install worker and its services, hosted
// without a page. Every question the worker would ask a person is answered by policy, and
// every step is logged.

#include <cstdint>
#include <memory>

#include "deploy/DeployLog.h"
#include "engine/CancelGate.h"
#include "engine/Components.h"
#include "engine/InstallSession.h"
#include "platform/HttpProxy.h"
#include "platform/InstallPlatform.h"
#include "platform/InstanceMutex.h"
#include "platform/UserAccount.h"

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

// The longest wait between two attempts of a file, however often it has doubled.
constexpr uint32_t kLongestRetryWaitSeconds = 3600;

struct DeployPlatform {
  InstallPlatform install;
  HttpProxy& proxy;
  InstanceMutex& mutex;
  UserAccount& user;
};

struct DeployOptions {
  bool complete = true;
  ComponentSelection selection{};  // what the arguments chose on this system
  uint32_t retries = 3;
  uint32_t retryWaitSeconds = 10;  // doubled after each retry
};

class Deploy {
 public:
  Deploy(const DeployPlatform& platform, DeployLog& log);

  // The whole installation on the calling thread; its exit code, logged as the last line.
  int Run(const DeployOptions& options);

  // Any thread, on a request to stop: true (logged as the outcome) until the install
  // phase has begun, when the caller ends the process with kDeployCancelled; refused
  // (false, logged) after it, as the wizard refuses its Cancel.
  bool Stop();

 private:
  const DeployPlatform& m_platform;
  DeployLog& m_log;
  const std::shared_ptr<CancelGate> m_gate = std::make_shared<CancelGate>();
};
