// The JSON report is UTF-8: each string is converted from the ANSI code page before it is
// escaped. The text report keeps the code page's bytes for the console.
#include <gtest/gtest.h>

#include <map>

#include "check/ReportFormat.h"

namespace {

const std::string kTanaka = "C:\\Users\\\x93\x63\x92\x86";  // 田中 in Shift-JIS
const std::string kTable = "C:\\\x95\x5C";                  // 表, whose second byte is a backslash

std::string FakeToUtf8(const std::string& ansiText) {
  static const std::map<std::string, std::string> kUtf8 = {
      {kTanaka, "C:\\Users\\\xE7\x94\xB0\xE4\xB8\xAD"}, {kTable, "C:\\\xE8\xA1\xA8"}};
  const auto found = kUtf8.find(ansiText);
  return found != kUtf8.end() ? found->second : ansiText;
}

TEST(ReportFormatTest, JsonCarriesTheConvertedUtf8AndEscapesOnlyWhatJsonRequires) {
  CheckReport report;
  report.workFolder = kTanaka;
  report.listTransfer.ran = true;
  report.listTransfer.localPath = kTable;

  const std::string json = FormatReportJson(report, FakeToUtf8);
  EXPECT_NE(json.find("\"workFolder\":\"C:\\\\Users\\\\\xE7\x94\xB0\xE4\xB8\xAD\""),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"localPath\":\"C:\\\\\xE8\xA1\xA8\""), std::string::npos) << json;
  EXPECT_EQ(json.find("\\u00"), std::string::npos) << json;

  report.summary = "\"quoted\"\t\x7F";
  EXPECT_NE(
      FormatReportJson(report, FakeToUtf8).find("\"summary\":\"\\\"quoted\\\"\\u0009\\u007F\""),
      std::string::npos);

  EXPECT_NE(FormatReportText(report).find(kTanaka), std::string::npos);
}

TEST(ReportFormatTest, PinsAreReportedInBothFormsAndAMirrorsValueIsToBeSetAgain) {
  CheckReport report;
  report.mode = "mirror";
  report.listPin = "matches";
  report.entries.resize(1);
  report.entries[0].pin = "differs";
  report.mirrorWritten = true;
  report.registryCommands = {"reg add a", "reg add b /reg:32"};
  const std::string json = FormatReportJson(report, FakeToUtf8);
  EXPECT_NE(json.find("\"listPin\":\"matches\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"pin\":\"differs\""), std::string::npos) << json;
  const std::string text = FormatReportText(report);
  EXPECT_NE(text.find("pin: its SHA-256 differs from the pin"), std::string::npos) << text;
  EXPECT_NE(text.find("set it again after every update of the mirror"), std::string::npos);
}

}  // namespace
