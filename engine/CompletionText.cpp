#include "engine/CompletionText.h"

#include "engine/InstallSession.h"
#include "res/resource.h"

std::vector<uint32_t> CompletionMessageIds(int32_t installResult) {
  switch (installResult) {
    case Succeeded:
      return {IDS_RESULT_SUCCEEDED, IDS_RESTART_NEEDED};
    case DownloadFailed:
      return {IDS_RESULT_DOWNLOAD_FAILED};
    case OldSoftwareBlocks:
      return {IDS_OLD_SOFTWARE};
    case SetupFailed:
    default:
      // An outcome this program does not know is reported as a failed installation.
      return {IDS_RESULT_SETUP_FAILED};
  }
}

bool OffersRestart(int32_t installResult) { return installResult == Succeeded; }
