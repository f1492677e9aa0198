#pragma once
// The destination of a transfer in a folder that other, unelevated programs can write to.
// Whatever stands at the destination's name (a file, a symbolic link, a junction, a hard
// link to another file) is replaced as a directory entry, never written through, and the
// file that was opened is checked on its handle before a byte goes into it.

#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "platform/Files.h"

// A fresh, empty file at destPath, opened for writing and shared with nobody; kInvalidFile
// with error set when the name cannot be replaced or the opened file fails its check.
FileHandle CreateDestination(Files& files, Clock& clock, const char* destPath, uint32_t& error);

// Whether the open file is a plain file (one name, no link) lying directly in the folder
// whose resolved path is folderFinalPath; `said`, when given, gets what the system said of it.
bool IsPlainFileIn(Files& files, FileHandle file, const std::string& folderFinalPath,
                   FileFacts* said = nullptr);

// The folder part of a path: everything up to its last backslash, which is kept.
std::string FolderOf(const std::string& path);
