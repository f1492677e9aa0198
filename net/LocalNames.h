#pragma once
// Rules for the local names of downloaded files: the name a URL gives, which names Windows
// would not treat as a plain file in the run's folder, which kind of file a name may hold,
// and when two names or paths are the same there.

#include <cstdint>
#include <string>

// The part of `url` after its last "/": the name of the file in the run's
// folder. Empty when the URL holds no "/", ends with one, or when the part would
// not be a plain name inside the directory (see the definition).
std::string FileNameFromUrl(const std::string& url);

// The text with a-z made upper case, and whether two texts are equal but for the case of
// A-Z: Windows compares names, and environment names, so.
std::string UpperAscii(std::string text);
bool SameIgnoringAsciiCase(const std::string& a, const std::string& b);

// Eight lower-case hex digits of `value`: the part of a fresh name that nobody can guess.
std::string HexDigits(uint32_t value);

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
