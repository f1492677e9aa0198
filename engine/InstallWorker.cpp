#include "engine/InstallWorker.h"

#include <algorithm>
#include <utility>

#include "engine/FetchPlan.h"
#include "engine/OldSoftwareProbe.h"
#include "engine/UrlList.h"
#include "res/resource.h"

namespace {
constexpr uint32_t kPollMilliseconds = 100;
}  // namespace

InstallWorker::InstallWorker(InstallWorkerHost& host, const InstallPlatform& platform,
                             std::shared_ptr<CancelGate> gate,
                             std::shared_ptr<DetachablePageView> view, InstallSession& session)
    : m_host(host),
      m_platform(platform),
      m_gate(std::move(gate)),
      m_view(std::move(view)),
      m_session(session) {}

void InstallWorker::Run() {
  try {
    RunSteps();
  } catch (...) {
    // A step that fails in an unforeseen way must not leave the wizard stuck (Cancel may
    // already be disabled): the run ends on the completion page as a failed installation,
    // unless it already has an outcome.
    if (m_session.Result() == InstallResult::Pending) {
      m_session.RecordResult(InstallResult::SetupFailed);
    }
  }
  // Whatever happened, the completion page reports it, unless the wizard is closing.
  if (!m_gate->IsAbandoned()) m_view->PressNext();
}

void InstallWorker::RunSteps() {
  m_selected = SelectionOf(m_session);
  m_total = static_cast<int>(std::count(m_selected.begin(), m_selected.end(), true));

  // The pin is off before the name and the request are taken from the URL. A list whose
  // digest differs is asked about again: the mirror may be in the middle of an update.
  const UrlListChoice choice =
      ChooseUrlList(*m_platform.registry, m_platform.system->SystemDefaultLangId());
  const PinnedUrl list = SplitPin(choice.url);
  const std::string listName = FileNameFromUrl(list.url);
  m_host.MakeWorkFolder();
  if (!Fetch(listName, list.url, false, {list.pin, true})) return;
  m_host.OpenUrlList(listName);
  // Every key is looked up, selected or not.
  const UrlListEntries files =
      ReadUrlListEntries([this](const std::string& key) { return m_host.LookupUrlListValue(key); });
  m_host.CloseUrlList();

  m_view->SetStatusText(IDS_INSTALLING, m_total >= 1 ? 1 : 0, m_total);

  if (IsOldSoftwareBlocking(ReadOldSoftwareVersion(*m_platform.registry))) {
    m_view->ShowMessageBox(IDS_OLD_SOFTWARE, kMbOk);
    m_session.RecordResult(InstallResult::OldSoftwareBlocks);
    return;
  }

  if (!DownloadComponents(files, list.pin.has_value())) return;

  if (!m_gate->EnterInstallPhase([this] { m_platform.clock->Sleep(kPollMilliseconds); })) return;
  // Outside the gate's lock: this waits for the user-interface thread.
  m_view->DisableCancel();
  m_view->StartMarquee();

  InstallComponents(files);
}

bool InstallWorker::Fetch(const std::string& fileName, const std::string& url, bool verify,
                          const FilePin& pin) {
  if (m_host.FetchAndVerify(fileName, url, verify, pin) == FetchVerdict::Fetched) return true;
  m_session.RecordResult(InstallResult::DownloadFailed);
  return false;
}

bool InstallWorker::DownloadComponents(const UrlListEntries& files, bool listPinned) {
  int index = m_total >= 1 ? 1 : 0;
  // A file without a usable name (an unpinned one of a pinned list too) gets none, which makes its
  // fetch one that cannot start.
  for (const PlannedFile& file : PlanComponentFiles(files, m_selected, listPinned)) {
    if (!file.fetched) continue;
    if (file.kind == ComponentFileKind::ResponseFile) {
      // After a confirmed cancel the program is ending: fetch nothing more.
      if (m_gate->IsAbandoned()) return false;
      m_view->SetStatusText(IDS_DOWNLOADING, index, m_total);
    }
    const bool program = file.kind == ComponentFileKind::SetupProgram;
    if (!Fetch(file.LocalName(), file.url, program, {file.pin, false})) return false;
    if (program) ++index;
  }
  return true;
}

void InstallWorker::InstallComponents(const UrlListEntries& files) {
  int index = m_total >= 1 ? 1 : 0;
  for (std::size_t k = 0; k < kComponentCount; ++k) {
    if (!m_selected[k]) continue;
    m_view->SetStatusText(IDS_INSTALLING, index, m_total);
    m_gate->SetSetupRunning(true);
    if (!m_host.RunSetup(files[k].setupName, files[k].responseName)) {
      // Components before this one stay installed; none after it runs. The gate keeps
      // refusing cancels: the run ends right here.
      m_session.RecordResult(InstallResult::SetupFailed);
      m_view->ShowMessageBox(IDS_SETUP_FAILED_BOX, kMbOk);
      return;
    }
    m_gate->SetSetupRunning(false);
    ++index;
  }
  // Every chosen setup program ran, whatever its own exit code.
  m_session.RecordResult(InstallResult::Succeeded);
}
