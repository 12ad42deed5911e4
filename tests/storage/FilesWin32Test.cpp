// What only the Win32 file calls can show: attributes, access lists and the codes they give.
#include <windows.h>

#include <gtest/gtest.h>

#include "storage/StorageTestSupport.h"
#include "storage/XMLDoc.h"

using storage_test::ScratchFolder;
using storage_test::WriteFile;

namespace {
// The access mask a descriptor's access list grants the Everyone group, 0 when it grants nothing.
DWORD EveryoneAccessOf(PSECURITY_DESCRIPTOR descriptor) {
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present || !dacl) return 0;
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  DWORD mask = 0;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(dacl, i, &ace)) continue;
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    if (allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && EqualSid(&allowed->SidStart, everyone))
      mask |= allowed->Mask;
  }
  FreeSid(everyone);
  return mask;
}
}  // namespace

TEST(FilesWin32, SaveOverAFolderFailsWithAccessDenied) {
  ScratchFolder folder;
  XMLDoc doc;
  doc.WriteInt(TXT("A"), 1);
  EXPECT_FALSE(doc.Save(folder.Path()));
  EXPECT_EQ(static_cast<uint32_t>(ERROR_ACCESS_DENIED), doc.LastError());
}

TEST(FilesWin32, EveryoneSecurityGrantsEveryoneAllRights) {
  EveryoneSecurity security;
  ASSERT_TRUE(security.Build());
  const auto* attributes = static_cast<const SECURITY_ATTRIBUTES*>(security.Attributes());
  ASSERT_NE(nullptr, attributes);
  EXPECT_EQ(sizeof(SECURITY_ATTRIBUTES), attributes->nLength);
  EXPECT_FALSE(attributes->bInheritHandle);
  EXPECT_TRUE(IsValidSecurityDescriptor(attributes->lpSecurityDescriptor));
  EXPECT_EQ(0x1FFFFFu, EveryoneAccessOf(attributes->lpSecurityDescriptor));
}

TEST(FilesWin32, DrivePathsCreateTheirFolders) {
  ScratchFolder folder;
  wchar_t full[MAX_PATH];
  ASSERT_NE(0u, GetFullPathNameW((folder.Path() + TXT("x\\y")).c_str(), MAX_PATH, full, nullptr));
  ASSERT_EQ(L':', full[1]);  // a drive path like C:\users\...
  EXPECT_TRUE(CreateFolders(full, false));
  EXPECT_TRUE(CreateFolders(full, false));
  EXPECT_NE(0u, GetFileAttributesW(full) & FILE_ATTRIBUTE_DIRECTORY);
}
