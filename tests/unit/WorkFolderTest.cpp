// The run's working folder: made fresh in the Windows folder's Temp with exactly the
// descriptor asked for, never under a name that exists, and refused when what the system
// keeps differs from what was asked.

#include "engine/WorkFolder.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/FakePrivateFolders.h"

namespace {

TEST(WorkFolder, IsMadeFreshInTheWindowsTempWithAdministratorsOnlyAccess) {
  FakePrivateFolders folders;
  folders.existing = {"C:\\Windows\\Temp\\Pellory.0badf00d\\"};  // planted by someone else
  const WorkFolder folder = WorkFolder::Create(folders);
  EXPECT_EQ(folder.Path(), "C:\\Windows\\Temp\\Pellory.12345678\\");
  ASSERT_EQ(folders.creates.size(), 2u);
  EXPECT_EQ(folders.creates[1].second, std::string("O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)"));
  EXPECT_EQ(folders.held, 1);
}

TEST(WorkFolder, NoFolderWhenEveryNameIsTakenOrThereIsNoWindowsFolder) {
  FakePrivateFolders taken;
  for (uint32_t r : taken.randoms) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", r);
    taken.existing.insert(WorkFolderPath("C:\\Windows", digits));
  }
  EXPECT_EQ(WorkFolder::Create(taken).Path(), "");
  EXPECT_EQ(taken.creates.size(), 4u);  // a few names, not forever
  FakePrivateFolders none;
  none.windowsFolder = "";
  EXPECT_EQ(WorkFolder::Create(none).Path(), "");
  EXPECT_TRUE(none.creates.empty());
  EXPECT_EQ(taken.held + none.held, 0);
}

TEST(WorkFolder, AnotherShellsFolderIsReadBackOnlyWhenItAskedForTheDescriptor) {
  for (const bool administratorsOnly : {true, false}) {
    FakePrivateFolders folders;
    folders.readBack.owner = "S-1-5-21-1-2-3-1001";  // the user's own
    EXPECT_EQ(WorkFolder::Create(folders, "C:\\T\\", "Check.", administratorsOnly).Path(),
              administratorsOnly ? "" : "C:\\T\\Check.0badf00d\\");
  }
  FakePrivateFolders link;
  link.holdIsFolder = false;  // and it must be a folder of its own all the same
  EXPECT_EQ(WorkFolder::Create(link, "C:\\T\\", "Check.", false).Path(), "");
}

TEST(WorkFolder, AReadBackThatDiffersIsRefusedWhereTheSystemKeepsDescriptors) {
  const FolderSecurity asked = FakePrivateFolders().readBack;
  const auto with = [&asked](auto change) {
    FolderSecurity s = asked;
    change(s);
    return s;
  };
  const FolderSecurity differing[] = {
      with([](FolderSecurity& s) { s.owner = "S-1-5-21-1-2-3-1001"; }),  // the user
      with([](FolderSecurity& s) { s.protectedList = false; }),
      with([](FolderSecurity& s) { s.hasAccessList = false; }),
      with([](FolderSecurity& s) {
        s.entries.push_back({true, "S-1-1-0", 0x1200A9, 3});
      }),
      with([](FolderSecurity& s) { s.entries[0].mask = 0x1200A9; }),
      with([](FolderSecurity& s) {
        s.entries[1] = {true, "S-1-5-21-1-2-3-1001", 0x1F01FF, 3};
      }),
      with([](FolderSecurity& s) { s.entries[0].allow = false; }),
      with([](FolderSecurity& s) { s.entries[0].flags = 0x10; }),  // inherited, not ours
  };
  for (const FolderSecurity& security : differing) {
    FakePrivateFolders folders;
    folders.readBack = security;
    EXPECT_EQ(WorkFolder::Create(folders).Path(), "") << security.owner;
    EXPECT_EQ(folders.held, 0);
    // Wine keeps no descriptor and reads back its own default: there it is not asked.
    folders.keepsDescriptors = false;
    EXPECT_NE(WorkFolder::Create(folders).Path(), "");
  }
  FakePrivateFolders link;
  link.holdIsFolder = false;  // what stands at the name is no folder of its own
  EXPECT_EQ(WorkFolder::Create(link).Path(), "");
}

}  // namespace
