#include "engine/InstallSession.h"

InstallSession& TheInstallSession() {
  static InstallSession session;
  return session;
}
