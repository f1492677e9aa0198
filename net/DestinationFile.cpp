#include "net/DestinationFile.h"

#include "net/AsciiText.h"

namespace {

constexpr int kFreshNameAttempts = 8;

std::string WithoutTrailingBackslashes(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// A name in the folder that nobody is likely to have planted, no longer than a path may be.
std::string FreshName(const std::string& folder, uint32_t seed) {
  std::string name = folder + "~pel" + HexDigits(seed);
  const std::size_t limit = kPathCapacity - 1;
  if (name.size() > limit && folder.size() + 5 <= limit) name.resize(limit);
  return name;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsPlainFileIn(Files& files, FileHandle file, const std::string& folderFinalPath,
                   FileFacts* said) {
  FileFacts own;
  FileFacts& facts = said != nullptr ? *said : own;
  if (folderFinalPath.empty() || !files.Describe(file, facts)) return false;
  if (!facts.regular || facts.reparsePoint || facts.links != 1) return false;
  return SameIgnoringAsciiCase(WithoutTrailingBackslashes(FolderOf(facts.finalPath)),
                               WithoutTrailingBackslashes(folderFinalPath));
}

FileHandle CreateDestination(Files& files, Clock& clock, const char* destPath, uint32_t& error) {
  const std::string destination = destPath;
  const std::string folder = FolderOf(destination);
  const std::string folderFinal = files.FolderFinalPath(folder.c_str());
  const auto fail = [&error](uint32_t why) {
    error = why;
    return kInvalidFile;
  };
  if (folder.empty()) return fail(kErrorNotAPlainFile);
  if (folderFinal.empty()) return fail(files.LastError());

  // 1. A new file under a fresh name; a name that is taken is never opened.
  std::string fresh;
  FileHandle created = kInvalidFile;
  const uint32_t seed = clock.GetTickCount() * 2654435761u;
  for (int attempt = 0; attempt < kFreshNameAttempts && created == kInvalidFile; ++attempt) {
    fresh = FreshName(folder, seed + static_cast<uint32_t>(attempt) * 0x9E3779B9u);
    created = files.CreateNew(fresh.c_str());
  }
  if (created == kInvalidFile) return fail(files.LastError());
  files.Close(created);

  // 2. Moved over the destination: a rename replaces whatever entry stands there.
  if (!files.Replace(fresh.c_str(), destPath)) return fail(files.LastError());

  // 3. Opened again, and checked on the handle: something planted in between is refused.
  const FileHandle file = files.OpenForWriting(destPath);
  if (file == kInvalidFile) return fail(files.LastError());
  FileFacts facts;
  if (!IsPlainFileIn(files, file, folderFinal, &facts) || facts.size != 0) {
    files.Close(file);
    return fail(kErrorNotAPlainFile);
  }
  return file;
}
