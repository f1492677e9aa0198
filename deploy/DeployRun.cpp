#include "deploy/DeployRun.h"

#include <algorithm>
#include <utility>

#include "app/StartupSequence.h"
#include "engine/DetachablePageView.h"
#include "engine/InstallWorker.h"
#include "engine/InstallWorkerServices.h"
#include "engine/SetupCommand.h"
#include "engine/UrlList.h"
#include "net/CodeText.h"
#include "net/ObservingHttp.h"
#include "res/resource.h"

namespace {

constexpr char kDeployMutexName[] = "Global\\PelloryDeploy Single Execution Mutex";

constexpr struct {
  int exitCode;
  const char* sentence;
} kExitSentences[] = {
    {kDeployInstalled, "installed; the computer must be restarted before the software is used"},
    {kDeployCancelled, "cancelled before the install phase"},
    {kDeployFailed, "the installation failed"},
    {kDeployBusy, "another Pellory or PelloryDeploy is running; try again later"},
    {kDeployBlocked, "older reader software blocks the installation"},
    {kDeployUsage, "bad usage; nothing was requested"},
};

// The download page with nobody in front of it: it shows nothing, and its boxes follow a
// failure that is logged where it happened.
class UnattendedView final : public DownloadPageView {
 public:
  explicit UnattendedView(DeployLog& log) : m_log(log) {}
  void SetStatusText(int, int, int) override {}
  void SetProgress(int) override {}
  void StartMarquee() override {}
  void DisableCancel() override { m_log.Line("install phase: a request to stop is refused now"); }
  void PressNext() override {}
  void ShowPage() override {}
  int ShowMessageBox(int stringId, uint32_t type) override {
    if (stringId == IDS_OLD_SOFTWARE)
      m_log.Line("older reader software blocks the installation (Pellory's message 178)");
    return type == kMbRetryCancel ? kIdCancel : kIdOk;
  }

 private:
  DeployLog& m_log;
};

// The worker's services as Pellory's, with the fetch step reporting here: each attempt is
// logged, and its retry question is answered by the retry policy.
class UnattendedHost final : private FetchUi, public InstallWorkerServices {
 public:
  UnattendedHost(const InstallPlatform& platform, std::shared_ptr<DownloadPageView> view,
                 ObservingHttp& http, const CancelGate& gate, const DeployArguments& arguments,
                 DeployLog& log)
      : InstallWorkerServices(platform, std::move(view), this),
        m_http(http),
        m_gate(gate),
        m_arguments(arguments),
        m_log(log) {}

  void MakeWorkFolder() override {
    InstallWorkerServices::MakeWorkFolder();
    const std::string& folder = FolderPath();
    m_log.Line(folder.empty() ? "folder: none could be made, so nothing can be fetched"
                              : "folder: " + folder);
  }
  FetchVerdict FetchAndVerify(const std::string& fileName, const std::string& url, bool verify,
                              const FilePin& pin) override {
    m_name = fileName.empty() ? "(no usable local name)" : fileName;
    m_program = verify;
    m_pin = pin.digest;
    m_retried = 0;
    m_waitSeconds = m_arguments.retryWaitSeconds;
    m_log.Line("fetch " + m_name + " from " + url);
    BeginAttempt();
    return InstallWorkerServices::FetchAndVerify(fileName, url, verify, pin);
  }
  // The exit code is logged, not judged, as Pellory does: a package's silent mode does not
  // report it reliably.
  bool RunSetup(const std::string& setupName, const std::string& responseName) override {
    m_log.Line("setup: " + BuildSetupCommandLine(FolderPath(), setupName, responseName));
    const bool ran = InstallWorkerServices::RunSetup(setupName, responseName);
    m_log.Line("setup " + setupName +
               (ran ? " ended with exit code " + std::to_string(LastSetupExitCode())
                    : " could not be started"));
    return ran;
  }

 private:
  void BeginAttempt() {
    m_http.Reset();
    m_start = Platform().clock->GetTickCount();
  }

  void SetProgress(int) override {}

  void AttemptEnded(const AttemptReport& report) override {
    const uint32_t status = m_http.Status();
    m_log.Line(m_name + ": " + std::to_string(report.attempt.bytes) + " bytes in " +
               std::to_string(Platform().clock->GetTickCount() - m_start) + " ms, HTTP " +
               (status != 0 ? std::to_string(status) : "none") + ", proxy " +
               (m_http.Proxy().empty() ? "none" : m_http.Proxy()) + ": " +
               DescribeAttempt(report.attempt));
    if (report.attempt.code != 0) return;
    const HoldResult& hold = report.hold;
    m_log.Line(m_name + ": pin " + PinState(m_pin, hold));
    if (m_program) {
      m_log.Line(m_name + ": signature " + DescribeHold(hold) + "; signer " +
                 (hold.signer ? "\"" + *hold.signer + "\"" : "not read"));
    } else if (hold.outcome != HoldOutcome::Held) {
      m_log.Line(m_name + ": refused: " + DescribeHold(hold));
    }
  }

  int AskRetry() override {
    if (m_gate.IsAbandoned() || m_retried >= m_arguments.retries) {
      m_log.Line("no retry left for " + m_name);
      return kIdCancel;
    }
    ++m_retried;
    m_log.Line("retry " + std::to_string(m_retried) + " of " + std::to_string(m_arguments.retries) +
               " for " + m_name + " in " + std::to_string(m_waitSeconds) + " s");
    Platform().clock->Sleep(m_waitSeconds * 1000);
    m_waitSeconds = std::min(m_waitSeconds * 2, kLongestRetryWaitSeconds);
    BeginAttempt();
    return kIdRetry;
  }

  ObservingHttp& m_http;
  const CancelGate& m_gate;
  const DeployArguments& m_arguments;
  DeployLog& m_log;
  // The file being fetched.
  std::string m_name;
  bool m_program = false;
  Pin m_pin;
  uint32_t m_retried = 0;
  uint32_t m_waitSeconds = 0;
  uint32_t m_start = 0;
};

std::string ComponentNames(const ComponentSelection& selection) {
  std::string names;
  for (std::size_t k = 0; k < kComponentCount; ++k) {
    if (selection[k]) names += (names.empty() ? "" : ", ") + std::string(kComponents[k].name);
  }
  return names.empty() ? "no component" : names;
}

}  // namespace

std::string DeployOutcome(int exitCode, const std::string& detail) {
  std::string line = "outcome: " + std::to_string(exitCode) + ": ";
  for (const auto& known : kExitSentences)
    if (known.exitCode == exitCode) line += known.sentence;
  return detail.empty() ? line : line + " (" + detail + ")";
}

Deploy::Deploy(const InstallPlatform& platform, DeployLog& log)
    : m_platform(platform), m_log(log) {}

bool Deploy::Stop() {
  const bool stop = m_gate->OnQueryCancel([] { return true; }, [] {});
  m_log.Line(stop ? DeployOutcome(kDeployCancelled)
                  : "a request to stop is refused: the setups have begun");
  return stop;
}

int Deploy::Run(const DeployArguments& arguments, const ComponentSelection& selection) {
  const auto finish = [this](int exitCode, const std::string& detail = "") {
    m_log.Line(DeployOutcome(exitCode, detail));
    return exitCode;
  };
  m_log.Line("PelloryDeploy: install " + ComponentNames(selection) +
             (arguments.complete ? " (complete installation)" : " (custom installation)"));
  // A mutex of another user's deploy may refuse to open: that, too, is a deploy running.
  if (m_platform.mutex->Create(kDeployMutexName) != MutexOutcome::Created)
    return finish(kDeployBusy, "PelloryDeploy is running on this machine");
  if (m_platform.mutex->Create(kPelloryMutexName) == MutexOutcome::AlreadyExists)
    return finish(kDeployBusy, "Pellory is running in this session");
  if (!m_platform.user->IsAdministrator())
    return finish(kDeployFailed, "not run as an administrator");
  m_log.Line("licence agreements: accepted on the command line");

  const UrlListChoice list =
      ChooseUrlList(*m_platform.registry, m_platform.system->SystemDefaultLangId());
  m_log.Line("URL list: " + list.url + " (" + list.source + ")");
  InstallSession session;
  session.installMode = arguments.complete ? InstallMode::Complete : InstallMode::Custom;
  RecordSelection(session, selection);

  ObservingHttp http(*m_platform.http, *m_platform.proxy);
  InstallPlatform observed = m_platform;
  observed.http = &http;
  const auto view = std::make_shared<DetachablePageView>(std::make_unique<UnattendedView>(m_log));
  UnattendedHost host(observed, view, http, *m_gate, arguments, m_log);
  InstallWorker(host, observed, m_gate, view, session).Run();
  // Stop has logged the outcome; the process is ending.
  if (m_gate->IsAbandoned()) return kDeployCancelled;
  const InstallResult result = session.Result();
  if (result == InstallResult::Succeeded) return finish(kDeployInstalled);
  if (result == InstallResult::OldSoftwareBlocks) return finish(kDeployBlocked);
  return finish(kDeployFailed, result == InstallResult::DownloadFailed
                                   ? "a file could not be fetched, or was refused"
                                   : "a setup program could not be started");
}
