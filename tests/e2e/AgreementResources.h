#pragma once
// The licence agreements as Pellory.exe carries them (type-23 resources), read from the
// program file itself and turned into the text the agreement box must hold.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace agreement_resources {

// The bytes of resource `id` up to the first NUL, converted from code page 932 (the
// English text is ASCII, which 932 leaves as it is). Empty if the resource is missing.
std::wstring ResourceText(WORD id);

// What the agreement box holds for `ids`: each text after a CR LF.
std::wstring BoxText(const std::vector<WORD>& ids);

// Whether `box` is exactly BoxText(ids). A failure names the texts the box holds instead
// (or where it departs from the expected text), not the thousands of characters.
::testing::AssertionResult BoxHolds(const std::wstring& box, const std::vector<WORD>& ids);

}  // namespace agreement_resources
