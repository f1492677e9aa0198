#pragma once
// A file's pinned digest, carried at the end of its URL as "#sha256=" and 64 hex digits.
// Set where nothing on the network can change it (the administrators' registry value, or a
// list that came through a pinned URL), it takes from the server and the path to it the
// choice of which bytes run. HTTP clients never send a fragment, so the pin never leaves.

#include <optional>
#include <string>

#include "platform/Files.h"

using Pin = std::optional<Sha256Digest>;

struct PinnedUrl {
  std::string url;  // without its pin: what is requested, named and measured
  Pin pin;
};

// Only the exact form pins: the URL's one fragment is "sha256=" (in lower case) and 64 hex
// digits (in either case). Any other URL, another or a malformed fragment included, is kept
// whole and has no pin.
PinnedUrl SplitPin(const std::string& url);

// "#sha256=" and the digest in lower-case hex: what pins a URL to it.
std::string PinFragment(const Sha256Digest& digest);
