// PelloryDeploy.exe, the unattended installation, against the test server: what it runs
// and how, what it requests, its log, its exit codes, and that it never shows a window.
// It is started as a distribution tool starts it (no console window), with no Pellory
// running (Pellory's single-instance mutex would refuse it).

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "AgreementResources.h"
#include "InstallFixture.h"
#include "robot/Image.h"

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::string Origin() { return "http://" + std::string(std::getenv("PELLORY_TEST_SERVER")); }

const std::string kUrlList = "GET /url_list.txt";
const std::string kCorvaneIss = "GET /components/corvane/corvane.iss";
const std::string kCorvaneExe = "GET /components/corvane/corvane-setup.exe";
const std::string kTessalineIss = "GET /components/tessaline/tessaline.iss";
const std::string kTessalineExe = "GET /components/tessaline/tessaline-setup.exe";

// Whether `text` matches `pattern`, each '*' of which stands for any run of characters.
bool Matches(const std::string& text, const std::string& pattern) {
  const size_t star = pattern.find('*');
  if (star == std::string::npos) return text == pattern;
  if (text.compare(0, star, pattern, 0, star) != 0) return false;
  for (size_t at = star; at <= text.size(); ++at)
    if (Matches(text.substr(at), pattern.substr(star + 1))) return true;
  return false;
}

// The texts of the log lines, each line's time stamp checked and taken off.
std::vector<std::string> LogTexts(const std::string& log) {
  std::vector<std::string> texts;
  size_t start = 0;
  for (size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = log.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string stamp = "0000-00-00 00:00:00.000 ";  // each 0 a digit
    bool stamped = line.size() > stamp.size();
    for (size_t i = 0; stamped && i < stamp.size(); ++i)
      stamped = stamp[i] == '0' ? std::isdigit(static_cast<unsigned char>(line[i])) != 0
                                : line[i] == stamp[i];
    EXPECT_TRUE(stamped) << "no time stamp: " << line;
    texts.push_back(stamped ? line.substr(stamp.size()) : line);
  }
  EXPECT_EQ(start, log.size()) << "the log's last line is unfinished";
  return texts;
}

// Each pattern matches a line of the log, in this order (other lines may come between).
::testing::AssertionResult LogHas(const std::string& log,
                                  const std::vector<std::string>& patterns) {
  const std::vector<std::string> texts = LogTexts(log);
  size_t next = 0;
  for (const std::string& pattern : patterns) {
    while (next < texts.size() && !Matches(texts[next], pattern)) ++next;
    if (next++ == texts.size())
      return ::testing::AssertionFailure() << "no line \"" << pattern << "\" (in order) in\n"
                                           << log;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace

class DeployScenario : public InstallScenario {
 protected:
  bool StartsPellory() const override { return false; }

  ConsoleRun Deploy(const std::string& arguments) {
    m_requestsBefore = RequestLog().size();
    m_setupLogBefore = SetupLog().size();
    return RunBesidePellory("PelloryDeploy.exe", arguments);
  }
  // What the last Deploy requested, and what its setup programs recorded.
  std::vector<std::string> Requests() const {
    const std::vector<std::string> all = RequestLog();
    return {all.begin() + std::min(m_requestsBefore, all.size()), all.end()};
  }
  std::string SetupsRecorded() const { return SetupLog().substr(m_setupLogBefore); }

  // Patterns of the lines of one fetched file (its path on the server): the request, its
  // one attempt, its pin.
  static std::vector<std::string> FetchLines(const std::string& served) {
    const std::string local = served.substr(served.rfind('/') + 1);
    return {"fetch " + local + " from " + Origin() + "/" + served,
            local + ": " + std::to_string(FileSize(ServedPath(served))) +
                " bytes in * ms, HTTP 200, proxy *: *",
            local + ": pin none"};
  }

 private:
  size_t m_requestsBefore = 0, m_setupLogBefore = 0;
};

class JapaneseDeployTest : public DeployScenario {};

// A setup's own exit code does not change the outcome: Tessaline's 7 is only logged.
TEST_P(JapaneseDeployTest, CompleteRunsBothSetupsFromThePrivateFolderAndLogsEveryStep) {
  ServeStandardInstallation();
  ServeComponent("tessaline", "setup-valid.exe", "exit=7\r\n");
  const std::string logFile = Narrow(OutPath(L"deploy.log"));
  const ConsoleRun run =
      Deploy("install --accept-licences --complete --retry-wait 0 --log \"" + logFile + "\"");
  EXPECT_EQ(run.exitCode, 3010u) << run.output;
  EXPECT_EQ(run.shownWindows, std::vector<std::string>{}) << "a window of PelloryDeploy showed";

  const std::string folder = RunFolder();
  ASSERT_NE(folder, "") << "no new Pellory.* folder in the Windows folder's Temp";
  const std::string name = folder.substr(folder.rfind('\\', folder.size() - 2) + 1);
  EXPECT_EQ(name.size(), 17u) << folder;  // "Pellory." and 8 hex digits
  EXPECT_EQ(name.find_first_not_of("0123456789abcdef", 8), 16u) << folder;
  const std::string log = SetupsRecorded();
  EXPECT_EQ(SetupLogValues(log, "cmdline"),
            (std::vector<std::string>{SetupCommandLine("corvane"), SetupCommandLine("tessaline")}));
  EXPECT_EQ(SetupLogValues(log, "| title"), (std::vector<std::string>{"corvane", "tessaline"}));
  // Each ran in the private folder, with it as TMP and TEMP, its answers held against writing.
  for (const char* key : {"cwd", "tmp", "temp"})
    for (const std::string& value : SetupLogValues(log, key))
      EXPECT_EQ(LowerAscii(value) + "\\", LowerAscii(folder)) << key;
  EXPECT_EQ(SetupLogValues(log, "response-write"),
            (std::vector<std::string>{"refused", "refused"}));
  EXPECT_EQ(Requests(), (std::vector<std::string>{kUrlList, kCorvaneIss, kCorvaneExe, kTessalineIss,
                                                  kTessalineExe}));

  std::vector<std::string> lines = {
      "PelloryDeploy: install Corvane, Tessaline (complete installation)",
      "URL list: " + Origin() + "/url_list.txt (registry override)", "folder: " + folder};
  for (const std::string& line : FetchLines("url_list.txt")) lines.push_back(line);
  for (const std::string component : {"corvane", "tessaline"}) {
    for (const std::string& file : {component + ".iss", component + "-setup.exe"})
      for (const std::string& line : FetchLines("components/" + component + "/" + file))
        lines.push_back(line);
    lines.push_back(component + "-setup.exe: signature *; signer \"Morvane Corporation\"");
  }
  for (const auto& [component, code] : {std::pair{"corvane", 0}, std::pair{"tessaline", 7}}) {
    lines.push_back("setup: " + SetupCommandLine(component));
    lines.push_back("setup " + std::string(component) + "-setup.exe ended with exit code " +
                    std::to_string(code));
  }
  lines.push_back("outcome: 3010: *");
  EXPECT_TRUE(LogHas(run.output, lines));
  EXPECT_EQ(ReadBytes(logFile), run.output) << "the --log file is not the log";
}

// Each failure ends the run with its code, without a window, having requested only what
// it had to and run no setup program.
TEST_P(JapaneseDeployTest, EachFailureEndsWithItsCodeAndRunsNothing) {
  const std::string install = "install --accept-licences --complete --retries 2 --retry-wait 0";
  const std::function<void()> nothing = [] {};
  const std::function<void()> listAnswers404 = [&] {
    SetFaults({{"/url_list.txt", R"({"kind": "status", "arg": 404})"}});
  };
  const std::function<void()> tampered = [&] { ServeComponent("corvane", "setup-tampered.exe"); };
  const std::function<void()> oldSoftware = [&] { SetOldSoftwareVersion("1.2.0"); };
  struct Failure {
    const char* what;
    std::function<void()> prepare;
    const wchar_t* heldMutex;  // held by this process during the run, or null
    std::string arguments;
    DWORD exitCode;
    std::vector<std::string> requests;
    std::vector<std::string> logLines;
  };
  // clang-format off
  const Failure failures[] = {
      {"the list answers 404", listAnswers404, nullptr, install, 1603,
       {kUrlList, kUrlList, kUrlList},
       {"retry 1 of 2 for url_list.txt in 0 s", "retry 2 of 2 for url_list.txt in 0 s",
        "no retry left for url_list.txt"}},
      {"a tampered setup program", tampered, nullptr, install, 1603,
       {kUrlList, kCorvaneIss, kCorvaneExe}, {"corvane-setup.exe: signature 201: *"}},
      {"another PelloryDeploy", nothing, L"Global\\PelloryDeploy Single Execution Mutex", install,
       1618, {}, {}},
      {"a Pellory", nothing, L"Pellory Single Execution Mutex", install, 1618, {}, {}},
      {"no --accept-licences", nothing, nullptr, "install --complete --retry-wait 0", 1639, {}, {}},
      {"an unknown component", nothing, nullptr,
       "install --accept-licences --components corvane,nosuch --retry-wait 0", 1639, {}, {}},
      {"Pelmora, never offered", nothing, nullptr,
       "install --accept-licences --components Pelmora --retry-wait 0", 1639, {}, {}},
      // Last: the older software's key stays until TearDown.
      {"older reader software", oldSoftware, nullptr, install, 1638, {kUrlList},
       {"older reader software blocks the installation (Pellory's message 178)"}},
  };
  // clang-format on
  for (const Failure& failure : failures) {
    ServeStandardInstallation();
    SetFaults({});
    failure.prepare();
    const HANDLE mutex =
        failure.heldMutex ? ::CreateMutexW(nullptr, TRUE, failure.heldMutex) : nullptr;
    EXPECT_EQ(mutex != nullptr, failure.heldMutex != nullptr) << failure.what;
    const ConsoleRun run = Deploy(failure.arguments);
    if (mutex) ::CloseHandle(mutex);
    EXPECT_EQ(run.exitCode, failure.exitCode) << failure.what << "\n" << run.output;
    EXPECT_EQ(Requests(), failure.requests) << failure.what;
    EXPECT_EQ(SetupsRecorded(), "") << failure.what;
    EXPECT_EQ(run.shownWindows, std::vector<std::string>{}) << failure.what;
    EXPECT_TRUE(run.Has("outcome: " + std::to_string(failure.exitCode) + ": ")) << run.output;
    if (!failure.logLines.empty()) {
      EXPECT_TRUE(LogHas(run.output, failure.logLines)) << failure.what;
    }
  }
}

class EnglishDeployTest : public DeployScenario {};

TEST_P(EnglishDeployTest, CompleteInstallsCorvaneAloneAndTessalineIsNotOffered) {
  ServeStandardInstallation();
  const ConsoleRun run = Deploy("install --accept-licences --complete --retry-wait 0");
  EXPECT_EQ(run.exitCode, 3010u) << run.output;
  EXPECT_EQ(run.shownWindows, std::vector<std::string>{});
  EXPECT_EQ(SetupLogValues(SetupsRecorded(), "cmdline"),
            std::vector<std::string>{SetupCommandLine("corvane")});
  EXPECT_EQ(Requests(), (std::vector<std::string>{kUrlList, kCorvaneIss, kCorvaneExe}));
  EXPECT_TRUE(LogHas(
      run.output, {"PelloryDeploy: install Corvane (complete installation)", "outcome: 3010: *"}));

  EXPECT_EQ(Deploy("install --accept-licences --components Tessaline --retry-wait 0").exitCode,
            1639u);
  EXPECT_EQ(Requests(), std::vector<std::string>{});
}

// The texts the agreement page shows for a selection, read from Pellory.exe itself.
class DeployLicencesTest : public DeployScenario {};

TEST_P(DeployLicencesTest, PrintsTheAgreementPagesTextsAsUtf8) {
  using Selections = std::vector<std::pair<std::string, std::vector<WORD>>>;
  const Selections selections =
      GetParam().languageId == kJapaneseSystem.languageId
          ? Selections{{"--complete", {134, 136}}, {"--components TESSALINE", {136}}}
          : Selections{{"--complete", {141}}};
  for (const auto& [selection, ids] : selections) {
    const ConsoleRun run = Deploy("licences " + selection);
    EXPECT_EQ(run.exitCode, 0u) << selection;
    const int size = static_cast<int>(run.output.size());
    std::wstring printed(static_cast<size_t>(size), L'\0');
    printed.resize(static_cast<size_t>(::MultiByteToWideChar(
        CP_UTF8, MB_ERR_INVALID_CHARS, run.output.data(), size, printed.data(), size)));
    EXPECT_TRUE(agreement_resources::BoxHolds(printed, ids)) << selection;
  }
}

INSTANTIATE_TEST_SUITE_P(Ja, JapaneseDeployTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(En, EnglishDeployTest, testing::Values(kEnglishSystem),
                         [](const auto& info) { return std::string(info.param.name); });
PELLORY_SCENARIOS_ON_BOTH_SYSTEMS(DeployLicencesTest);
