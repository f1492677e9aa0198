#pragma once
// Texts of the program's string table, looked up by id at the moment of use, and the
// program's other resources.

#include <initializer_list>

#include "afx/AfxCore.h"

// The bytes of resource `id` of `type` in the program file, as stored, and their count in
// `size`; null (size 0) when there is no such resource.
const void* AfxLoadResource(LPCSTR type, UINT id, DWORD& size);

// Fills `text` with string `id` and returns TRUE; on failure `text` keeps its value.
BOOL AfxLoadString(UINT id, CString& text);

// String `id` with its "%d" fields filled with `values`, in order.
CString AfxFormatString(UINT id, std::initializer_list<int> values);

// `bytes` of code page `codePage` as UTF-16 (empty when they cannot be converted).
CString AfxWideFromCodePage(UINT codePage, const std::string& bytes);

// The application name: the program file's base name, without its extension.
CString AfxGetAppName();
