#pragma once
// The fixture of the installation scenarios: what the test server offers (URL list,
// response files, signed setup programs, faults), the registry values the program reads
// (the URL-list override, the older reader software), and a robot that walks the wizard
// to the download page and watches the run.
//
// The fixture's SetUp has already started Pellory, but its install worker reads the
// server and the registry only once the download page is reached, so a test prepares
// both at the start of its body.

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Scenario.h"

namespace install_ui {

// The string table's texts the installation scenarios look at.
std::wstring Text(int stringId);
// Text 142 or 143 with its two "%d" fields filled.
std::wstring Progress(int stringId, int index, int total);

inline constexpr int kProgressBar = 1000;
inline constexpr int kStatusText = 1007;
inline constexpr int kAgreeButton = 1009;
inline constexpr int kResultText = 1014;
inline constexpr int kRestartNow = 1015;
inline constexpr int kRestartLater = 1016;

}  // namespace install_ui

// What the robot saw on the download page, sampled until the completion page appeared.
struct RunObservation {
  std::vector<std::wstring> statusTexts;      // each distinct text once, in order of appearance
  std::set<std::wstring> marqueeTexts;        // status texts seen while the bar was a marquee
  std::set<std::wstring> cancelEnabledTexts;  // status texts seen while Cancel was enabled
  bool wizardButtonEnabled = false;           // Back, Next or Finish was ever enabled
  bool reachedCompletion = false;
};

class InstallScenario : public PelloryScenario {
 public:
  // Also for the tests of PelloryCheck, which start no Pellory.
  static std::vector<std::string> RequestLog();  // "GET /path" lines
  // Plants a link (kind "symbolic" or "hard") at `link` to `target`, both Windows paths,
  // on the host side, where Wine cannot make one (the test server does it).
  static void PlantLink(const std::string& kind, const std::string& target,
                        const std::string& link);

 protected:
  void TearDown() override;

  // The server side. Components are "corvane", "pelmora", "tessaline"; each serves
  // "<component>/<component>.iss" and "<component>/<component>-setup.exe" unless NameFiles
  // chose other names (called before ServeComponent and ServeUrlList).
  void NameFiles(const std::string& component, const std::string& responseName,
                 const std::string& setupName);
  void ServeComponent(const std::string& component, const std::string& package,
                      const std::string& responseExtra = "");
  void ServeUrlList();
  // The list's name on the server, and so its local name (default "url_list.txt"); called
  // before ServeUrlList and OverrideUrlList.
  void NameUrlList(const std::string& name) { m_listName = name; }
  // Faults of the test server, by request path (written to <root>/_faults.json).
  void SetFaults(const std::vector<std::pair<std::string, std::string>>& pathAndFaultJson);
  std::string SetupLog() const;  // what the setup programs recorded
  // The path of a served file ("components/corvane/corvane.iss") in the server's folder.
  static std::string ServedPath(const std::string& relative);

  // The registry: the URL-list override (pointing at the test server), the older reader
  // software's version (Japanese system only). Both are removed by TearDown.
  // An empty url: the list on the test server.
  void OverrideUrlList(const std::string& url = "");
  void SetOldSoftwareVersion(const char* version);

  // The usual offer: both components with the valid package and the URL list, and the
  // override that leads the program there.
  void ServeStandardInstallation(const std::string& responseExtra = "");

  // Complete installation up to the download page (the worker starts there).
  void WalkToDownloadPage();
  // Samples the download page every poll until the completion page shows; any message
  // box stops the watch (returned with reachedCompletion false).
  RunObservation WatchRun(robot::Duration timeout = robot::Duration{40000},
                          bool screenshots = false);

  // The run's working folder, with its backslash: the one "Pellory.<8 hex>" folder in the
  // Windows folder's Temp that was not there when the test began; empty until it is made.
  std::string RunFolder() const;
  // Command line of a setup run as the program must build it.
  std::string SetupCommandLine(const std::string& component) const;
  // Where the program keeps its download of a component's setup program.
  std::string DownloadedSetupPath(const std::string& component) const;
  // Size in bytes of a file (a test package's name, or a full path); -1 if missing.
  static long long PackageSize(const std::string& package);
  static long long FileSize(const std::string& path);
  static std::string ReadBytes(const std::string& path);
  static std::wstring OutPath(const std::wstring& name);

 private:
  struct FileNames {
    std::string response, setup;
  };
  FileNames NamesOf(const std::string& component) const;

  std::map<std::string, FileNames> m_names;
  std::string m_listName = "url_list.txt";
  const std::set<std::string> m_foldersBefore = RunFolders();
  static std::set<std::string> RunFolders();
  bool m_overrideSet = false;
  bool m_oldSoftwareSet = false;
};

// A run of a console program that ships beside Pellory.exe (PelloryCheck.exe,
// PelloryDeploy.exe): its exit code, what it wrote to its standard output and error, and
// the class names of the top-level windows of its own that were visible while it ran.
struct ConsoleRun {
  DWORD exitCode = ~DWORD{0};
  std::string output;
  std::vector<std::string> shownWindows;
  bool Has(const std::string& part) const { return output.find(part) != std::string::npos; }
};

// The path of `exeName` in the folder of the Pellory.exe under test (another tree's, perhaps).
std::string ExeBesidePellory(const std::string& exeName);
// Runs it as a distribution tool would, without a console window, and watches its windows
// until it ends. Its output goes to a new file of the test's folder each time (a console
// host that Wine starts for the child may keep the handle).
ConsoleRun RunBesidePellory(const std::string& exeName, const std::string& arguments);

// The text with A-Z made lower case (Windows compares paths so).
std::string LowerAscii(std::string text);

// Lines "cmdline=..." (or another key) of the setup log, in order.
std::vector<std::string> SetupLogValues(const std::string& log, const std::string& key);
