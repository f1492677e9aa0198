#pragma once
// The checking tool's report as text for a person and as one JSON document for scripts.

#include <string>

#include "check/CheckReport.h"

std::string FormatReportText(const CheckReport& report);

// One document; every entry on a line of its own. Strings are bytes of the system's ANSI
// code page: bytes above 0x7F are written as \u00XX, so the document is always valid.
std::string FormatReportJson(const CheckReport& report);

// A JSON string literal of the text, quotes included.
std::string JsonString(const std::string& text);
