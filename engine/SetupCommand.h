#pragma once
// The command line of a component's setup program. Packages parse it, so it is built
// byte for byte: the program's path unquoted, the silent switches, and the response
// file's path in double quotes right after -f1.

#include <string>

#include "platform/ProcessLauncher.h"

// The switches between the program and the response file, ending with the opening quote.
constexpr char kSetupSwitches[] = " /nodialog /noreboot /nocvn -s -f1\"";

// `folder` is the run's working folder, backslash included.
std::string BuildSetupCommandLine(const std::string& folder, const std::string& setupName,
                                  const std::string& responseName);

// The environment a setup program gets. It runs elevated, and `own` (this program's environment)
// is the user's, which any unelevated program of the user can change in HKCU\Environment. So every
// variable `machine` defines takes the machine's value (in place whatever its case, or added in the
// system's name order), except the user's own profile and identity; PATH is the machine's only (the
// user's part could name a folder of planted DLLs); variables that make a program load code they
// name go, whoever defines them; TMP and TEMP are the folder, so that what it unpacks stays in the
// run's own folder; every other variable stays as the user has it.
// An empty `machine` (unreadable) leaves the user's values, but not PATH nor the code-loading
// variables: no program of the user can make the machine's block unreadable (it comes from HKLM
// and the system), so only a damaged machine gets here, where the setups should still run; without
// PATH the system still finds its own programs and DLLs, in its own folders.
Environment SetupEnvironment(const Environment& own, const Environment& machine,
                             const std::string& folder);
