#pragma once
// What the completion page reports for an installation outcome.

#include <cstdint>
#include <vector>

// The string ids of the result message, joined with CR LF when there is more than one.
std::vector<uint32_t> CompletionMessageIds(int32_t installResult);

// Whether the restart choice is offered: only after a success.
bool OffersRestart(int32_t installResult);
