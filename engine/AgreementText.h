#pragma once
// Which licence agreements the agreement page shows, and how their texts are joined.
// The texts themselves are resources of the program (type 23); the page loads them.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/Components.h"

// The texts to show, in component order: each chosen component's text for this system's
// language, where it has one (components 2 and 3 have none but in Japanese).
std::vector<uint16_t> AgreementTextIds(bool japanese, const ComponentSelection& selection);

// The texts of `ids`, each preceded by CR LF: the box starts with an empty line and each
// text starts on a line of its own, even after a text that ends without a line break.
std::string JoinAgreementTexts(const std::vector<uint16_t>& ids,
                               const std::function<std::string(uint16_t)>& loadText);

// A text resource's bytes: up to the first NUL, or all `size` bytes when there is none.
std::string TextUpToNul(const void* data, size_t size);
