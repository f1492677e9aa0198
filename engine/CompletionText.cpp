#include "engine/CompletionText.h"

#include "engine/InstallSession.h"

namespace {
constexpr uint32_t kIdsRestartNeeded = 170;
constexpr uint32_t kIdsDownloadFailed = 171;
constexpr uint32_t kIdsSetupFailed = 172;
constexpr uint32_t kIdsSucceeded = 173;
constexpr uint32_t kIdsOldSoftware = 178;
}  // namespace

std::vector<uint32_t> CompletionMessageIds(int32_t installResult) {
  switch (installResult) {
    case Succeeded:
      return {kIdsSucceeded, kIdsRestartNeeded};
    case DownloadFailed:
      return {kIdsDownloadFailed};
    case OldSoftwareBlocks:
      return {kIdsOldSoftware};
    case SetupFailed:
    default:
      // An outcome this program does not know is reported as a failed installation.
      return {kIdsSetupFailed};
  }
}

bool OffersRestart(int32_t installResult) { return installResult == Succeeded; }
