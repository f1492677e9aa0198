#pragma once
// Which licence agreements the agreement page shows, and how their texts are joined.
// The texts themselves are resources of the program (type 23); the page loads them.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The texts to show, in component order: on a Japanese system 134, 135 and 136 for the
// chosen components; elsewhere 141 when component 1 is chosen (components 2 and 3 cannot
// be chosen there, and have no text in any other language).
std::vector<uint16_t> AgreementTextIds(bool japanese, bool corvane, bool pelmora, bool tessaline);

// The texts of `ids`, each preceded by CR LF: the box starts with an empty line and each
// text starts on a line of its own, even after a text that ends without a line break.
std::string JoinAgreementTexts(const std::vector<uint16_t>& ids,
                               const std::function<std::string(uint16_t)>& loadText);

// A text resource's bytes: up to the first NUL, or all `size` bytes when there is none.
std::string TextUpToNul(const void* data, size_t size);
