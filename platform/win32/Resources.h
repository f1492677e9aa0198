#pragma once
// A resource of this program's exe, for afx/ and the resource adapter.

#include <windows.h>

// The resource's bytes and size, or null (size 0) when there is none. No language is asked
// for: where a resource exists in two languages, both copies agree.
const void* FindOwnResource(LPCSTR type, UINT id, DWORD& size);
