#include "check/CheckRun.h"

#include <cstdio>
#include <map>

#include "check/UrlListRewrite.h"
#include "engine/Components.h"
#include "engine/FetchPlan.h"
#include "engine/HklmString.h"
#include "engine/UrlList.h"
#include "engine/WorkFolder.h"
#include "net/CodeText.h"
#include "net/DestinationFile.h"
#include "net/DownloadAttempt.h"
#include "net/FetchAndVerify.h"
#include "net/LocalNames.h"
#include "net/ObservingHttp.h"
#include "net/Pin.h"
#include "net/SignatureCheck.h"

namespace {

constexpr char kMirrorListName[] = "url_list.txt";

std::string LastSegment(const std::string& url) {
  const std::string::size_type slash = url.rfind('/');
  return slash == std::string::npos ? url : url.substr(slash + 1);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  const StdioFile file = OpenStdioFile(path.c_str(), "rb");
  if (!file.IsOpen()) return false;
  char buffer[8192];
  size_t read = 0;
  bytes.clear();
  while ((read = std::fread(buffer, 1, sizeof buffer, file.Get())) > 0) bytes.append(buffer, read);
  return std::ferror(file.Get()) == 0;
}

// A file made new at path, as Pellory makes its downloads: whatever stood at the name is
// replaced, never written through.
bool WriteNewFile(const InstallPlatform& platform, const std::string& path,
                  const std::string& bytes, uint32_t& error) {
  Files& files = *platform.files;
  const FileHandle file = CreateDestination(files, *platform.clock, path.c_str(), error);
  if (file == kInvalidFile) return false;
  const bool written = files.Write(file, bytes.data(), static_cast<uint32_t>(bytes.size()));
  if (!written) error = files.LastError();
  return files.Close(file) && written;
}

// The tool's own folder: made fresh for each run, as Pellory makes its own. Elevated, under
// Pellory's rules, so that no unelevated program can redirect or swap what it fetches and
// checks; as the user, in the user's TEMP, which is theirs anyway.
WorkFolder MakeToolFolder(const InstallPlatform& platform) {
  const bool elevated = platform.user->IsAdministrator();
  PrivateFolders& folders = *platform.folders;
  return WorkFolder::Create(
      folders, elevated ? WorkFolderParent(folders.WindowsFolder()) : platform.system->TempPath(),
      "PelloryCheck.", elevated);
}

// A folder made new in the tool's own, with its backslash; empty when it cannot be made.
std::string MakeSubfolder(PrivateFolders& folders, const std::string& parent, const char* name) {
  const std::string path = parent + name + "\\";
  return folders.Create(path.c_str(), nullptr) ? path : std::string();
}

class Checker {
 public:
  Checker(const InstallPlatform& platform, const CheckOptions& options, CheckReport& report)
      : m_platform(platform),
        m_options(options),
        m_report(report),
        m_http(*platform.http, *platform.proxy),
        m_download(platform) {
    m_download.http = &m_http;
  }

  void Run();
  // After Run, for a mirror at base (ending in "/").
  std::map<std::string, std::string> MirrorUrls(const std::string& base);
  void WriteMirror(const std::string& folder, std::map<std::string, std::string> urls);

 private:
  // The rules of a URL Pellory would fetch under `name`, with no network.
  std::vector<RuleResult> Rules(const std::string& url, const std::string& name,
                                const std::string& key, bool fetched = true) const;
  // The steps of a check, in order: where Pellory's files would go, which list it would
  // fetch, the list, then every component's files by Pellory's plan.
  void ReportWhereFilesGo();
  void ChooseList();
  bool FetchList();
  void CheckComponents(const UrlListEntries& files);
  TransferReport Transfer(const std::string& key, const std::string& url, const std::string& name,
                          const std::string& folder);
  // Holds a fetched file as Pellory holds it, compares its pin and checks a program's signature.
  void Hold(EntryReport& entry, const Pin& pin);
  void CheckEntry(EntryReport& entry, const std::vector<PlannedFile>& plan, std::size_t index);
  std::string WriteMirrorList(const std::map<std::string, std::string>& urls);
  void Problem(const std::string& what, const std::string& why) {
    m_report.problems.push_back(what + ": " + why);
  }
  // Each failing rule as a problem of `what`; whether any failed.
  bool ReportFailedRules(const std::string& what, const std::vector<RuleResult>& rules) {
    bool failed = false;
    for (const RuleResult& rule : rules) {
      if (rule.ok) continue;
      Problem(what, rule.rule + ": " + rule.text);
      failed = true;
    }
    return failed;
  }

  const InstallPlatform& m_platform;
  const CheckOptions& m_options;
  CheckReport& m_report;
  ObservingHttp m_http;
  InstallPlatform m_download;  // the platform, with the observing http
  // Checked setup programs stay open read-only, as Pellory holds them until they have run,
  // so that a later file of the same name fails as it would there.
  std::vector<ReadLockedFile> m_held;
  std::string m_listBytes;  // as fetched, kept before any component's file could replace them
  Pin m_listPin;
  ReadLockedFile m_heldList;  // from its pin's comparison until it has been read
  WorkFolder m_folder;        // made fresh for this run, held while it works in it
  std::string m_unused;       // in it, for the files Pellory never fetches here
};

std::vector<RuleResult> Checker::Rules(const std::string& url, const std::string& name,
                                       const std::string& key, bool fetched) const {
  std::vector<RuleResult> rules;
  const auto add = [&rules](const char* rule, bool ok, const std::string& text) {
    rules.push_back({rule, ok, text});
  };
  if (url.empty()) {
    add("entry", !fetched,
        "the list has no entry " + key +
            (fetched ? "; Pellory fails to fetch it" : ", and Pellory needs none"));
    return rules;
  }
  UrlParts parts;
  const int32_t refused = RefuseFetchUrl(*m_platform.http, url, parts);
  add("url length", refused != PrimaryUrlTooLong,
      std::to_string(url.size()) + " bytes (at most " + std::to_string(kUrlCapacity - 1) + ")");
  add("scheme", refused == 0,
      refused == 0                ? "http"
      : refused == PrimaryNotHttp ? "not http: Pellory speaks plain http only"
                                  : "WinINet cannot split the URL");
  const std::string segment = "\"" + LastSegment(url) + "\"";
  const LocalNameFault fault = LocalNameFaultOf(url);
  add("local name", fault == LocalNameFault::None,
      fault == LocalNameFault::None         ? name
      : fault == LocalNameFault::NoFileName ? "the URL ends in \"/\": no file name"
      : fault == LocalNameFault::DeviceName ? segment + " is a device name, no file"
                                            : segment + " is no plain file name");
  const std::string destination = FetchDestination(m_report.pelloryFolder, name);
  add("destination", !m_report.pelloryFolder.empty() && RefuseDestination(destination.c_str()) == 0,
      m_report.pelloryFolder.empty()
          ? "no Windows folder"
          : destination + " is " + std::to_string(destination.size()) + " bytes (at most " +
                std::to_string(kPathCapacity - 1) + ")");
  return rules;
}

TransferReport Checker::Transfer(const std::string& key, const std::string& url,
                                 const std::string& name, const std::string& folder) {
  TransferReport transfer;
  transfer.ran = true;
  // Pellory's destination decides the length rule; where only the tool's own deeper
  // folder would make it too long, the file is fetched under its key instead.
  std::string path = folder + name;
  if (RefuseDestination(path.c_str()) != 0 &&
      RefuseDestination(FetchDestination(m_report.pelloryFolder, name).c_str()) == 0) {
    path = folder + key;
  }
  transfer.localPath = path;
  m_http.Reset();
  Clock& clock = *m_download.clock;
  const uint32_t start = clock.GetTickCount();
  const AttemptResult attempt =
      RunDownloadAttempt(m_download, url.c_str(), path.c_str(), [&](int percent) {
        if (m_options.progress) m_options.progress(key, percent);
      });
  transfer.milliseconds = clock.GetTickCount() - start;
  transfer.code = attempt.code;
  transfer.startCode = attempt.startCode;
  transfer.bytes = attempt.bytes;
  transfer.lastError = attempt.lastError;
  transfer.text = DescribeAttempt(attempt);
  transfer.status = m_http.Status();
  transfer.hasContentLength = m_http.HasContentLength();
  transfer.contentLength = m_http.ContentLength();
  transfer.proxy = m_http.Proxy();
  return transfer;
}

void Checker::Hold(EntryReport& entry, const Pin& pin) {
  const std::string& path = entry.transfer.localPath;
  Trust& trust = *m_platform.trust;
  // Held, compared and checked as Pellory holds, compares and checks it.
  ReadLockedFile held;
  const HoldResult hold =
      HoldCompletedFile(*m_download.files, trust, path, entry.setupProgram, pin, held);
  entry.pin = PinState(pin, hold);
  if (!entry.setupProgram) return;
  SignatureReport& signature = entry.signature;
  signature.checked = true;
  const bool checked = hold.outcome == HoldOutcome::Held || hold.outcome == HoldOutcome::Unverified;
  const bool plain = checked || hold.outcome == HoldOutcome::PinDiffers;
  // Where Pellory would stop before the check, its code is still worth reporting.
  signature.code = checked ? hold.signatureCode : VerifyDownloadedFile(path.c_str(), trust);
  signature.text = plain ? DescribeSignatureCode(signature.code) : DescribeHold(hold);
  if (!plain && signature.code == SignatureVerified) signature.code = -1;
  // The reason and the name, asked again where Pellory stops at the first failure.
  signature.trustVerdict = trust.VerifyTrust(path.c_str()).reason;
  signature.trustText = DescribeTrustVerdict(signature.trustVerdict);
  signature.signer = trust.ReadSigner(path.c_str()).signer;
  signature.requiredSigner = IsRequiredSigner(signature.signer);
  if (held.IsOpen()) m_held.push_back(std::move(held));
}

void Checker::CheckEntry(EntryReport& entry, const std::vector<PlannedFile>& plan,
                         std::size_t index) {
  const PlannedFile& file = plan[index];
  entry.key = file.key;
  entry.url = file.url;
  entry.localName = file.name;
  entry.pin = file.pin ? "differs" : "none";  // until the held file shows its digest
  entry.fetched = file.fetched;
  entry.setupProgram = file.kind == ComponentFileKind::SetupProgram;
  entry.rules = Rules(entry.url, entry.localName, entry.key, entry.fetched);
  if (file.verdict == NameVerdict::NotOfItsKind) {
    for (RuleResult& rule : entry.rules) {
      if (rule.rule != "local name") continue;
      rule = {rule.rule, false,
              "\"" + entry.localName + "\" does not end in " + ComponentFileExtension(file.kind) +
                  ": Pellory fetches no such file, which could be loaded as code beside the "
                  "setup program"};
    }
  }
  if (entry.fetched && !entry.url.empty()) {
    const PlannedFile& earlier = plan[file.takenBy];
    entry.rules.push_back(
        file.verdict != NameVerdict::Taken
            ? RuleResult{"collision", true, "no other file of this name"}
            : RuleResult{"collision", false,
                         std::string("the same local file as ") + earlier.key + " (" +
                             earlier.name +
                             "): one overwrites the other, or a checked setup program blocks it"});
  }
  if (file.verdict == NameVerdict::Unpinned) {
    entry.rules.push_back({"pin", false,
                           "the list came through a pinned URL, so Pellory fetches none of its "
                           "entries without a pin"});
  }
  // A name Pellory refuses is never requested: nothing of it is worth the request.
  const bool refused = file.verdict != NameVerdict::Usable && file.verdict != NameVerdict::Taken;
  if (!entry.url.empty() && !refused) {
    entry.transfer = Transfer(entry.key, entry.url, entry.localName,
                              entry.fetched ? m_report.workFolder : m_unused);
    if (entry.transfer.code == 0) Hold(entry, file.pin);
  }
  if (!entry.fetched) return;
  const auto fail = [&](const std::string& why) {
    entry.ok = false;
    Problem(entry.key, why);
  };
  if (ReportFailedRules(entry.key, entry.rules)) entry.ok = false;
  if (entry.transfer.code != 0) return fail("transfer: " + entry.transfer.text);
  if (entry.pin == "differs")
    fail("pin: " + DescribeHold({HoldOutcome::PinDiffers}) + "; Pellory refuses it");
  if (entry.setupProgram && entry.signature.code != 0) fail("signature: " + entry.signature.text);
}

void Checker::Run() {
  ReportWhereFilesGo();
  ChooseList();
  if (!FetchList()) return;
  // Read and closed before the components are fetched, as Pellory does.
  const UrlListEntries files = UrlListCopy(m_report.listTransfer.localPath).ReadEntries();
  if (!ReadWholeFile(m_report.listTransfer.localPath, m_listBytes)) {
    Problem("URL list", "cannot read " + m_report.listTransfer.localPath);
  }
  m_heldList.Reset();
  CheckComponents(files);
}

void Checker::ReportWhereFilesGo() {
  m_report.langId = m_platform.system->SystemDefaultLangId();
  PrivateFolders& privateFolders = *m_platform.folders;
  const std::string windowsFolder = privateFolders.WindowsFolder();
  m_report.pelloryFolder = WorkFolderPath(windowsFolder, "xxxxxxxx");
  m_report.keepsFolderPermissions = privateFolders.KeepsDescriptors();
  if (windowsFolder.empty() ||
      m_platform.files->FolderFinalPath(WorkFolderParent(windowsFolder).c_str()).empty()) {
    Problem("folder", windowsFolder.empty()
                          ? "the Windows folder is unknown: Pellory has nowhere to make its folder"
                          : WorkFolderParent(windowsFolder) +
                                " is no folder: Pellory cannot make its working folder there");
  }
}

void Checker::ChooseList() {
  if (!m_options.listUrl.empty()) {
    m_report.listUrl = m_options.listUrl;
    m_report.listSource = "command line";
  } else {
    const UrlListChoice list = ChooseUrlList(*m_platform.registry, m_report.langId);
    m_report.listUrl = list.url;
    m_report.listSource = list.source;
  }
  PinnedUrl list = SplitPin(m_report.listUrl);
  m_report.listUrl = std::move(list.url);
  m_listPin = list.pin;
  m_report.listName = FileNameFromUrl(m_report.listUrl);
  m_report.listRules = Rules(m_report.listUrl, m_report.listName, "url_list");
}

bool Checker::FetchList() {
  m_folder = MakeToolFolder(m_platform);
  m_report.workFolder = m_folder.Path();
  m_unused = m_folder.Path().empty()
                 ? std::string()
                 : MakeSubfolder(*m_platform.folders, m_folder.Path(), "unused");
  if (m_unused.empty()) {
    Problem("folder", "cannot make a new folder of the tool's own (error " +
                          std::to_string(m_platform.folders->LastError()) + "): nothing fetched");
    return false;
  }
  m_report.listTransfer =
      Transfer("url_list", m_report.listUrl, m_report.listName, m_report.workFolder);
  m_report.listOk = m_report.listTransfer.code == 0;
  ReportFailedRules("URL list", m_report.listRules);
  if (!m_report.listOk) {
    Problem("URL list", "transfer: " + m_report.listTransfer.text);
    return false;
  }
  const HoldResult hold =
      HoldCompletedFile(*m_download.files, *m_platform.trust, m_report.listTransfer.localPath,
                        false, m_listPin, m_heldList);
  m_report.listPin = PinState(m_listPin, hold);
  m_report.listOk = hold.outcome == HoldOutcome::Held;
  if (!m_report.listOk) {
    Problem("URL list",
            hold.outcome == HoldOutcome::PinDiffers
                ? "pin: " + DescribeHold(hold) + "; Pellory asks to retry and fetches nothing else"
                : "the downloaded list cannot be held open as a plain file");
  }
  return m_report.listOk;
}

void Checker::CheckComponents(const UrlListEntries& files) {
  bool anyEntry = false;
  for (const ComponentFiles& f : files)
    anyEntry = anyEntry || !f.responseUrl.empty() || !f.setupUrl.empty();
  if (!anyEntry) {
    Problem("URL list",
            "it holds none of the six keys: the answer was no URL list (a page of a "
            "proxy or of the server?); see " +
                m_report.listTransfer.localPath);
  }

  // What a complete installation fetches here; a custom one fetches no others.
  ComponentSelection fetched = CompleteSelection(m_report.langId);
  if (m_options.anySystem) {
    const ComponentSelection japanese = CompleteSelection(kLangJapanese);
    for (size_t k = 0; k < fetched.size(); ++k) fetched[k] = fetched[k] || japanese[k];
  }
  const std::vector<PlannedFile> plan = PlanComponentFiles(files, fetched, m_listPin.has_value());
  m_report.entries.resize(plan.size());
  for (std::size_t i = 0; i < plan.size(); ++i) CheckEntry(m_report.entries[i], plan, i);
  for (std::size_t k = 0; k < kComponentCount; ++k)
    if (fetched[k]) m_report.components.push_back(kComponents[k].name);
}

void Summarise(CheckReport& report, const std::string& done, const std::string& notDone) {
  report.complete = report.problems.empty();
  std::string names;
  for (size_t i = 0; i < report.components.size(); ++i) {
    names += (i == 0                              ? ""
              : i + 1 == report.components.size() ? " and "
                                                  : ", ") +
             report.components[i];
  }
  if (report.complete) {
    report.summary = done + ": " + names;
  } else {
    report.summary = notDone + ": " + report.problems.front() +
                     (report.problems.size() > 1
                          ? " (and " + std::to_string(report.problems.size() - 1) + " more)"
                          : "");
  }
}

std::string RegistryCommand(const std::string& url, bool view32) {
  return "reg add \"HKLM\\" + std::string(kPelloryKey) + "\" /v \"" + kUrlListValueName +
         "\" /t REG_SZ /d \"" + url + "\" /f" + (view32 ? " /reg:32" : "");
}

// The mirror's own URL of each fetched file: base and local name. They must pass the
// rules Pellory's list passes, and name the same files.
std::map<std::string, std::string> Checker::MirrorUrls(const std::string& base) {
  std::map<std::string, std::string> urls;
  ReportFailedRules("mirror list URL", Rules(m_report.mirrorListUrl, kMirrorListName, "url_list"));
  for (const EntryReport& entry : m_report.entries) {
    if (!entry.fetched || entry.localName.empty()) continue;
    const std::string url = base + entry.localName;
    UrlParts parts;
    if (IsSameLocalName(entry.localName, kMirrorListName)) {
      Problem(entry.key, "named like the mirror's URL list");
    } else if (RefuseFetchUrl(*m_platform.http, url, parts) != 0 ||
               LastSegment(parts.path) != entry.localName ||
               FileNameFromUrl(url) != entry.localName) {
      Problem(entry.key, "the mirror URL " + url + " would not fetch " + entry.localName +
                             " over http (a base that is no http URL, or a name that is no plain "
                             "URL path)");
    } else {
      urls[entry.key] = url;
    }
  }
  return urls;
}

// Writes the list with each fetched key at its mirror URL (pinned) and every other byte as
// it was, beside the downloads in a folder of its own (no component's file can be named so),
// and reads it back with Pellory's reader. Its path, or a problem.
std::string Checker::WriteMirrorList(const std::map<std::string, std::string>& urls) {
  const std::string folder = MakeSubfolder(*m_platform.folders, m_folder.Path(), "mirror");
  const std::string rewritten = folder + kMirrorListName;
  uint32_t error = 0;
  if (folder.empty() ||
      !WriteNewFile(m_platform, rewritten, RewriteUrlList(m_listBytes, urls), error)) {
    Problem("URL list", "cannot write " + rewritten);
    return rewritten;
  }
  const UrlListEntries after = UrlListCopy(rewritten).ReadEntries();
  for (std::size_t i = 0; i < m_report.entries.size(); ++i) {
    const EntryReport& entry = m_report.entries[i];
    const ComponentFiles& now = after[i / 2];
    const auto want = urls.find(entry.key);
    const PinnedUrl expected = SplitPin(want != urls.end() ? want->second : entry.url);
    if ((i % 2 == 0 ? now.responseUrl : now.setupUrl) != expected.url ||
        (want != urls.end() && (i % 2 == 0 ? now.responsePin : now.setupPin) != expected.pin)) {
      Problem(entry.key, "the rewritten list does not read back as intended");
    }
  }
  return rewritten;
}

// Writes every fetched file under its local name into folder (one that this call creates or
// that is empty, each file made new), each pinned by the digest of the copy, held from
// before its digest until the list that pins it is written; then the list, whose copy pins
// the registry value.
void Checker::WriteMirror(const std::string& folder, std::map<std::string, std::string> urls) {
  Folders& folders = *m_platform.mirrorFolders;
  const std::string in = !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
  if (!folders.CreateFolder(folder)) {
    m_report.problems.push_back("cannot create " + folder + " (error " +
                                std::to_string(folders.LastError()) + ")");
    return;
  }
  if (!folders.NothingMatches(in + "*")) {
    m_report.problems.push_back(folder + " is not empty: a mirror goes into a new or empty folder");
    return;
  }
  Files& files = *m_platform.files;
  std::vector<ReadLockedFile> copies;
  // The pin of the copy at name, made from from, or none after a problem. What was checked
  // is held while it is copied, and the copy, held as the plain file of the mirror's folder,
  // must have its digest: whoever else can write that folder cannot have a file pinned.
  const auto copy = [&](const std::string& from, const std::string& name) -> std::string {
    const std::string to = in + name;
    const ReadLockedFile source = OwnFile(files, files.OpenReadLocked(from.c_str()));
    std::string bytes;
    uint32_t error = 0;
    if (!source.IsOpen() || !ReadWholeFile(from, bytes) ||
        !WriteNewFile(m_platform, to, bytes, error)) {
      m_report.problems.push_back("cannot write " + to + " (error " + std::to_string(error) + ")");
      return std::string();
    }
    ReadLockedFile held = OwnFile(files, files.OpenReadLocked(to.c_str()));
    Sha256Digest checked{}, digest{};
    if (!held.IsOpen() || !IsPlainFileIn(files, held.Get(), files.FolderFinalPath(in.c_str())) ||
        !files.DigestSha256(source.Get(), checked) || !files.DigestSha256(held.Get(), digest) ||
        digest != checked) {
      m_report.problems.push_back(to + " is not a plain copy of the file checked");
      return std::string();
    }
    copies.push_back(std::move(held));
    return PinFragment(digest);
  };
  for (const EntryReport& entry : m_report.entries) {
    if (!entry.fetched) continue;
    const std::string pin = copy(entry.transfer.localPath, entry.localName);
    if (pin.empty()) return;
    urls[entry.key] += pin;
  }
  const std::string rewritten = WriteMirrorList(urls);
  if (!m_report.problems.empty()) return;
  const std::string listPin = copy(rewritten, kMirrorListName);
  m_report.mirrorListUrl += listPin;
}

}  // namespace

CheckReport RunCheck(const InstallPlatform& platform, const CheckOptions& options) {
  CheckReport report;
  Checker(platform, options, report).Run();
  Summarise(report, "Pellory would complete on this machine",
            "Pellory would NOT complete on this machine");
  return report;
}

CheckReport RunMirror(const InstallPlatform& platform, const CheckOptions& options,
                      const std::string& folder, const std::string& baseUrl) {
  CheckOptions any = options;
  any.anySystem = true;  // every file some system needs
  CheckReport report;
  report.mode = "mirror";
  report.mirrorFolder = folder;
  Checker checker(platform, any, report);
  checker.Run();
  const std::string base = baseUrl.empty() || baseUrl.back() == '/' ? baseUrl : baseUrl + "/";
  report.mirrorListUrl = base + kMirrorListName;
  const std::map<std::string, std::string> urls = checker.MirrorUrls(base);
  // Nothing is written while anything fails.
  Summarise(report, "Mirror written for every system", "Mirror NOT written");
  if (!report.complete) return report;
  checker.WriteMirror(folder, urls);
  Summarise(report, "Mirror written for every system", "Mirror NOT written");
  report.mirrorWritten = report.complete;
  if (report.mirrorWritten) {
    report.registryCommands = {RegistryCommand(report.mirrorListUrl, false),
                               RegistryCommand(report.mirrorListUrl, true)};
  }
  return report;
}
