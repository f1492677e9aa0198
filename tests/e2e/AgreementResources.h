#pragma once
// The licence agreements as Pellory.exe carries them (type-23 resources), read from the
// program file itself and turned into the text the agreement box must hold.

#include <windows.h>

#include <initializer_list>
#include <string>

namespace agreement_resources {

// The bytes of resource `id` up to the first NUL, converted from code page 932 (the
// English text is ASCII, which 932 leaves as it is). Empty if the resource is missing.
std::wstring ResourceText(WORD id);

// What the agreement box holds for `ids`: each text after a CR LF.
std::wstring BoxText(std::initializer_list<WORD> ids);

}  // namespace agreement_resources
