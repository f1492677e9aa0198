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

// The program's full path, handed to the system as the application name as well, so
// that an unquoted path with blanks (C:\Users\John Smith\...) is never resolved to a
// different program such as C:\Users\John.exe.
std::string SetupApplicationName(const std::string& folder, const std::string& setupName);

// The environment a setup program gets. It starts elevated from the user's desktop with
// the user's environment, which every unelevated program of the user can change in
// HKCU\Environment, so from `own` (this program's environment):
// - every variable `machine` (the machine's environment) defines takes the machine's value,
//   replacing the user's in place whatever its case, or added in the system's name order;
//   but the user's own profile and identity (USERPROFILE, APPDATA, USERNAME...) stay the
//   user's and are never taken from the machine, whose block holds a default profile's;
// - PATH is the machine's only: the user's part of it could name a folder of planted DLLs;
// - variables that make a program load code they name (the .NET profiler and runtime
//   settings, startup hooks, the Java agents, __COMPAT_LAYER) go, whoever defines them;
// - TMP and TEMP are the folder, so that what it unpacks goes into the run's own folder;
// - every other variable of the user stays as it is.
// An empty `machine` (it could not be read) leaves the user's values of the machine's
// variables, but PATH and the code-loading variables still go. No program of the user can
// make the machine's block unreadable (it comes from HKLM and the system itself), so that
// only happens on a damaged machine, where the setups should still run; without PATH the
// system still finds its own programs and DLLs in its folders, and never in the user's.
Environment SetupEnvironment(const Environment& own, const Environment& machine,
                             const std::string& folder);
