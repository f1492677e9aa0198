#pragma once
// The command line of a component's setup program. Packages parse it, so it is built
// byte for byte: the program's path unquoted, the silent switches, and the response
// file's path in double quotes right after -f1.

#include <string>

// The switches between the program and the response file, ending with the opening quote.
constexpr char kSetupSwitches[] = " /nodialog /noreboot /nocvn -s -f1\"";

// `tempPath` is the temporary directory as GetTempPathA gives it, backslash included.
std::string BuildSetupCommandLine(const std::string& tempPath, const std::string& setupName,
                                  const std::string& responseName);

// The program's full path, handed to the system as the application name as well, so
// that an unquoted path with blanks (C:\Users\John Smith\...) is never resolved to a
// different program such as C:\Users\John.exe.
std::string SetupApplicationName(const std::string& tempPath, const std::string& setupName);
