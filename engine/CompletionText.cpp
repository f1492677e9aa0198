#include "engine/CompletionText.h"

#include "res/resource.h"

std::vector<uint32_t> CompletionMessageIds(InstallResult installResult) {
  switch (installResult) {
    case InstallResult::Succeeded:
      return {IDS_RESULT_SUCCEEDED, IDS_RESTART_NEEDED};
    case InstallResult::DownloadFailed:
      return {IDS_RESULT_DOWNLOAD_FAILED};
    case InstallResult::OldSoftwareBlocks:
      return {IDS_OLD_SOFTWARE};
    case InstallResult::SetupFailed:
    default:
      // An outcome this program does not know is reported as a failed installation.
      return {IDS_RESULT_SETUP_FAILED};
  }
}

bool OffersRestart(InstallResult installResult) {
  return installResult == InstallResult::Succeeded;
}

bool FinishRestarts(InstallResult installResult, bool restartNowSelected) {
  return OffersRestart(installResult) && restartNowSelected;
}
