#pragma once
// The checking tool's report as text for a person and as one JSON document for scripts.

#include <functional>
#include <string>

#include "check/CheckReport.h"

std::string FormatReportText(const CheckReport& report);

// Text in the system's ANSI code page, as UTF-8.
using ToUtf8 = std::function<std::string(const std::string& ansiText)>;

// One document in UTF-8; every entry on a line of its own. The report's strings are in the
// system's ANSI code page (as the text report prints them): each goes through toUtf8.
std::string FormatReportJson(const CheckReport& report, const ToUtf8& toUtf8);
