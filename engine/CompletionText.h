#pragma once
// What the completion page reports for an installation outcome.

#include <cstdint>
#include <vector>

#include "engine/InstallSession.h"

// The string ids of the result message, joined with CR LF when there is more than one.
std::vector<uint32_t> CompletionMessageIds(InstallResult installResult);

// Whether the restart choice is offered: only after a success.
bool OffersRestart(InstallResult installResult);

// Whether Finish restarts the system: only where the restart is offered and restart-now selected.
bool FinishRestarts(InstallResult installResult, bool restartNowSelected);
