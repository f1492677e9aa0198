#pragma once
// Forced into every Windows compile. The C++ runtime ships std::string and std::wstring
// explicitly instantiated, and the headers tell the compiler to use those copies. On
// Windows the linker cannot drop the unused members of such an object (their unwind
// entries keep them), so every program gets all of basic_string, twice. -1 is the
// runtime's own setting for "instantiate basic_string where used" (what its assertion
// mode does): the same code, only the members the program calls.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1
