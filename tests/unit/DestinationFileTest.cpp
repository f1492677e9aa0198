// The destination of a transfer is a fresh plain file of the temporary folder, whatever
// another program planted at its name: links are replaced, never written through, and a
// link planted while the name is being replaced is refused on the handle.

#include "net/DestinationFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/FakeClock.h"
#include "fakes/FakeFiles.h"

namespace {

constexpr char kDest[] = "C:\\T\\\\setup.exe";
constexpr char kOutside[] = "C:\\Windows\\system32\\kernel32.dll";

struct Planted {
  const char* name;
  std::function<void(FakeFiles&)> plant;
  bool opened;  // a fresh destination was opened
};

const Planted kPlanted[] = {
    {"Nothing", [](FakeFiles&) {}, true},
    {"AnOldFile", [](FakeFiles& f) { f.contents[kDest] = "old bytes"; }, true},
    {"SymbolicLink", [](FakeFiles& f) { f.symlinks[kDest] = kOutside; }, true},
    {"HardLink",
     [](FakeFiles& f) {
       f.contents[kDest] = "kernel";
       f.hardLinks.insert(kDest);
     },
     true},
    {"FreshNamesTaken",  // every one of the first names is taken: the next one is used
     [](FakeFiles& f) {
       for (const char* taken : {"C:\\T\\\\~pel00000000", "C:\\T\\\\~pel9e3779b9"})
         f.symlinks[taken] = kOutside;
     },
     true},
    {"AFolderOrJunction", [](FakeFiles& f) { f.failCreate.insert(kDest); }, false},
    {"LinkPlantedAfterTheRename",
     [](FakeFiles& f) { f.afterReplace = [&f] { f.symlinks[kDest] = kOutside; }; }, false},
    {"HardLinkPlantedAfterTheRename",
     [](FakeFiles& f) { f.afterReplace = [&f] { f.hardLinks.insert(kDest); }; }, false},
    {"FileWithBytesPlantedAfterTheRename",
     [](FakeFiles& f) { f.afterReplace = [&f] { f.contents[kDest] = "theirs"; }; }, false},
};

TEST(DestinationFile, ReplacesWhateverStandsAtTheNameAndWritesNowhereElse) {
  for (const Planted& c : kPlanted) {
    FakeFiles files;
    files.contents[kOutside] = "kernel";
    FakeClock clock(0);
    c.plant(files);
    uint32_t error = 0;
    const FileHandle file = CreateDestination(files, clock, kDest, error);
    EXPECT_EQ(file != kInvalidFile, c.opened) << c.name;
    if (file != kInvalidFile) {
      EXPECT_TRUE(files.Write(file, "new", 3)) << c.name;
      files.Close(file);
      EXPECT_EQ(files.Content(kDest), "new") << c.name;
      EXPECT_EQ(files.symlinks.count(kDest), 0u) << c.name;
    } else {
      EXPECT_NE(error, 0u) << c.name;
    }
    EXPECT_EQ(files.Content(kOutside), "kernel") << c.name;
    EXPECT_EQ(files.OpenCount(), 0) << c.name;
  }
}

TEST(DestinationFile, TheLockedProgramMustBeAPlainFileOfTheFolder) {
  FakeFiles files;
  files.contents[kDest] = "MZ";
  const auto plainAt = [&] {
    const FileHandle file = files.OpenReadLocked(kDest);
    const bool plain = IsPlainFileIn(files, file, files.FolderFinalPath(FolderOf(kDest).c_str()));
    files.Close(file);
    return plain;
  };
  EXPECT_TRUE(plainAt());
  files.hardLinks.insert(kDest);
  EXPECT_FALSE(plainAt());
  files.hardLinks.clear();
  files.symlinks[kDest] = "C:\\T\\\\other\\setup.exe";
  EXPECT_FALSE(plainAt());
  EXPECT_FALSE(IsPlainFileIn(files, kInvalidFile, "\\\\?\\C:\\T"));
}

}  // namespace
