#include "net/LocalNames.h"

#include <cstddef>

namespace {

std::string WithoutTrailingDotsAndBlanks(const std::string& name) {
  const std::string::size_type last = name.find_last_not_of(". ");
  return last == std::string::npos ? std::string() : name.substr(0, last + 1);
}

// The digit of COMn and LPTn: an ASCII digit, or a superscript 1, 2 or 3 in code page
// 1252 (one byte) or UTF-8 (two bytes).
bool IsDeviceDigit(const std::string& rest) {
  if (rest.size() == 1) {
    const unsigned char c = static_cast<unsigned char>(rest[0]);
    return (c >= '0' && c <= '9') || c == 0xB9 || c == 0xB2 || c == 0xB3;
  }
  return rest == "\xC2\xB9" || rest == "\xC2\xB2" || rest == "\xC2\xB3";
}

}  // namespace

LocalNameFault LocalNameFaultOf(const std::string& url) {
  const std::string::size_type slash = url.rfind('/');
  if (slash == std::string::npos || slash + 1 == url.size()) return LocalNameFault::NoFileName;
  const std::string name = url.substr(slash + 1);
  // A device name opens the device, not a file in the folder.
  if (IsReservedDeviceName(name)) return LocalNameFault::DeviceName;
  // Windows drops trailing dots and blanks from a name, so any name made of nothing else
  // names the folder itself or its parent.
  const bool plain = name.find_first_of("\\:") == std::string::npos &&
                     name.find_first_not_of(". ") != std::string::npos;
  return plain ? LocalNameFault::None : LocalNameFault::NotPlain;
}

std::string FileNameFromUrl(const std::string& url) {
  return LocalNameFaultOf(url) == LocalNameFault::None ? url.substr(url.rfind('/') + 1)
                                                       : std::string();
}

bool IsReservedDeviceName(const std::string& name) {
  // Windows looks at the part before the first dot, without its trailing blanks.
  std::string base = name.substr(0, name.find('.'));
  const std::string::size_type last = base.find_last_not_of(' ');
  base = UpperAscii(last == std::string::npos ? std::string() : base.substr(0, last + 1));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
      base == "CONOUT$") {
    return true;
  }
  const std::string prefix = base.substr(0, 3);
  return (prefix == "COM" || prefix == "LPT") && IsDeviceDigit(base.substr(3));
}

bool IsSameLocalName(const std::string& a, const std::string& b) {
  return SameIgnoringAsciiCase(WithoutTrailingDotsAndBlanks(a), WithoutTrailingDotsAndBlanks(b));
}

bool HasComponentFileExtension(const std::string& name, ComponentFileKind kind) {
  // As Windows stores the name: without trailing dots and blanks.
  const std::string stored = WithoutTrailingDotsAndBlanks(name);
  const std::string extension = ComponentFileExtension(kind);
  return stored.size() > extension.size() &&
         SameIgnoringAsciiCase(stored.substr(stored.size() - extension.size()), extension);
}

const char* ComponentFileExtension(ComponentFileKind kind) {
  return kind == ComponentFileKind::ResponseFile ? ".iss" : ".exe";
}
