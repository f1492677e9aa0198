#include "platform/UserAccount.h"

#include <windows.h>

#include "platform/win32/UniqueHandle.h"

namespace {

class Win32UserAccount final : public UserAccount {
 public:
  bool IsAdministrator() override {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    UniqueSid administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, administrators.Put()))
      return false;
    BOOL member = FALSE;
    return CheckTokenMembership(nullptr, administrators.Get(), &member) && member;
  }
};

}  // namespace

UserAccount& SystemUserAccount() {
  static Win32UserAccount account;
  return account;
}
