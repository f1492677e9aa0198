#pragma once
// Polling with a deadline. The robot drives a real program in another process, so it
// can only look again a little later; every wait has a timeout so that a hung program
// fails the test instead of hanging it.

#include <chrono>
#include <functional>

namespace robot {

using Duration = std::chrono::milliseconds;

// Long enough for a cold start of Pellory under Wine, short enough to fail fast.
inline constexpr Duration kDefaultTimeout{10000};
inline constexpr Duration kPollInterval{20};

// `timeout` stretched by PELLORY_TIMEOUT_SCALE (a whole number, default 1): under user-mode
// emulation every step of the program under test takes a few times longer.
Duration Scaled(Duration timeout);

// Calls `ready` until it returns true or `timeout` has passed; returns its last answer.
// `ready` is always called at least once, and once more after the deadline. Scaled.
bool WaitUntil(const std::function<bool()>& ready, Duration timeout = kDefaultTimeout);

}  // namespace robot
