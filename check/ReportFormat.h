#pragma once
// The checking tool's report as text for a person and as one JSON document for scripts.

#include <string>

#include "check/CheckReport.h"
#include "platform/Console.h"

std::string FormatReportText(const CheckReport& report);

// One document in UTF-8; every entry on a line of its own. The report's strings are in the
// system's ANSI code page (as the text report prints them): each goes through toUtf8.
std::string FormatReportJson(const CheckReport& report, const ToUtf8& toUtf8);
