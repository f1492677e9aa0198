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

// The environment a setup program gets: `environment` with TMP and TEMP (names compared
// without case) set to the folder, so that what it unpacks goes into the run's own folder
// and not into one that the user's programs can write. A missing one is added where the
// system's ordering by name puts it.
Environment SetupEnvironment(Environment environment, const std::string& folder);
