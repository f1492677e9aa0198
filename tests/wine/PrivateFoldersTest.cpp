// The private folder adapter on the real system. Wine keeps no security descriptor and
// does not enforce a folder's sharing mode, so what is proved here is what the folder's
// creation asks for and that each folder is made fresh where it belongs.

#include "platform/PrivateFolders.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <sddl.h>

#include <string>

#include "engine/WorkFolder.h"
#include "platform/win32/FolderDescriptor.h"

namespace {

TEST(PrivateFoldersTest, TheCreationAsksForAdministratorsOnlyNothingInherited) {
  FolderDescriptor descriptor(kWorkFolderSddl);
  ASSERT_NE(descriptor.Attributes(), nullptr);
  const PSECURITY_DESCRIPTOR asked = descriptor.Attributes()->lpSecurityDescriptor;
  EXPECT_FALSE(descriptor.Attributes()->bInheritHandle);

  char* text = nullptr;
  ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorA(
      asked, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &text,
      nullptr));
  EXPECT_STREQ(text, "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
  LocalFree(text);

  PSID owner = nullptr;
  BOOL defaulted = TRUE;
  ASSERT_TRUE(GetSecurityDescriptorOwner(asked, &owner, &defaulted));
  EXPECT_TRUE(IsWellKnownSid(owner, WinBuiltinAdministratorsSid));
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ASSERT_TRUE(GetSecurityDescriptorControl(asked, &control, &revision));
  EXPECT_NE(control & SE_DACL_PROTECTED, 0);
  BOOL present = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(asked, &present, &dacl, &defaulted));
  ASSERT_TRUE(present && dacl != nullptr);
  ASSERT_EQ(dacl->AceCount, 2u);
  const WELL_KNOWN_SID_TYPE expected[] = {WinLocalSystemSid, WinBuiltinAdministratorsSid};
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
    EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(ace->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
    EXPECT_EQ(ace->Mask, static_cast<DWORD>(FILE_ALL_ACCESS));
    EXPECT_TRUE(IsWellKnownSid(&ace->SidStart, expected[i]));
  }
}

TEST(PrivateFoldersTest, EachFolderIsMadeFreshInTheWindowsTemp) {
  PrivateFolders& folders = SystemPrivateFolders();
  // Wine accepts every descriptor and keeps none; Windows keeps them.
  EXPECT_FALSE(folders.KeepsDescriptors());
  char windows[MAX_PATH] = {};
  GetSystemWindowsDirectoryA(windows, MAX_PATH);
  const WorkFolder first = WorkFolder::Create(folders);
  const WorkFolder second = WorkFolder::Create(folders);
  ASSERT_NE(first.Path(), "");
  ASSERT_NE(second.Path(), "");
  EXPECT_NE(first.Path(), second.Path());
  EXPECT_EQ(_strnicmp(first.Path().c_str(), windows, strlen(windows)), 0) << first.Path();
  const DWORD attributes = GetFileAttributesA(first.Path().c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  // A name that is taken is never made again.
  EXPECT_FALSE(folders.Create(first.Path().c_str(), kWorkFolderSddl));
}

}  // namespace
