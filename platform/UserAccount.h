#pragma once
// The user this program runs for (advapi32 on Windows).

class UserAccount {
 public:
  virtual ~UserAccount() = default;

  // True when the calling thread's effective token is an enabled member of the local
  // Administrators group; false otherwise and on every failure.
  virtual bool IsAdministrator() = 0;
};

UserAccount& SystemUserAccount();
