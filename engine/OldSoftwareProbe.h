#pragma once
// The older reader software ("Quoddy 基本ソフトウェア"), whose presence in version 1
// forbids the installation.

#include <string>

class Registry;

// "SOFTWARE\Morvane Corporation\Quoddy 基本ソフトウェア" in Shift-JIS (code page 932), as
// the older software's installer named it. The ANSI registry functions only map these
// bytes to that key on a system whose ANSI code page is 932; elsewhere the probe finds
// nothing (0x5C, the second byte of "ソ", is even a backslash there).
constexpr char kOldSoftwareKey[] =
    "SOFTWARE\\Morvane Corporation\\Quoddy "
    "\x8A\xEE\x96\x7B\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41";  // 基本ソフトウェア
constexpr char kOldSoftwareVersionValueName[] = "CurrentVersion";

// The older software's version text; empty when it is not installed or unreadable.
std::string ReadOldSoftwareVersion(Registry& registry);

// Whether that version forbids installing: any version whose text begins with "1".
bool IsOldSoftwareBlocking(const std::string& version);
