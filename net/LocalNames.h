#pragma once
// Rules for the local names of downloaded files: the name a URL gives, which names Windows
// would not treat as a plain file in the run's folder, which kind of file a name may hold,
// and when two names or paths are the same there.

#include "net/AsciiText.h"

// Everything after the last "/" of `url`, the query included: the name of the file in the
// run's folder. Empty when LocalNameFaultOf finds a fault.
std::string FileNameFromUrl(const std::string& url);

enum class LocalNameFault {
  None,
  NoFileName,  // no "/", or nothing after the last one
  DeviceName,  // IsReservedDeviceName
  NotPlain,    // a "\" or ":", or nothing but dots and blanks: another folder or this one
};
LocalNameFault LocalNameFaultOf(const std::string& url);

// A name that Windows resolves to a device wherever it stands: CON, PRN, AUX, NUL,
// COM0-COM9, LPT0-LPT9 (also with a superscript 1, 2 or 3), CONIN$ and CONOUT$, in any
// case, with any extension and with blanks before it ("nul.exe", "Aux . txt", "COM1.").
bool IsReservedDeviceName(const std::string& name);

// Whether two local names open the same file: compared without case, and without the
// trailing dots and blanks that Windows drops from a name.
bool IsSameLocalName(const std::string& a, const std::string& b);

// A component's two files. A response file must end in ".iss" and a setup program in
// ".exe", in any case: any other name is no name. A "response file" named version.dll
// would otherwise lie beside the verified program that Windows starts elevated, and be
// loaded into it before its first instruction.
enum class ComponentFileKind { ResponseFile, SetupProgram };
bool HasComponentFileExtension(const std::string& name, ComponentFileKind kind);
const char* ComponentFileExtension(ComponentFileKind kind);  // ".iss" or ".exe"
