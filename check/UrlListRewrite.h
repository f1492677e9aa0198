#pragma once
// A copy of a URL list whose entries for some keys point elsewhere, every other byte kept:
// order, line ends, blanks, unknown keys and later entries of the same key.

#include <map>
#include <string>

// Replaces the value of the first entry of each key in `urls` (the one the reader takes).
// Keys the list lacks are left out.
std::string RewriteUrlList(const std::string& list, const std::map<std::string, std::string>& urls);
