#include "check/ReportFormat.h"

#include <cstdio>

namespace {

std::string Hex4(unsigned value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%04X", value & 0xFFFFu);
  return buffer;
}

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Rate(uint32_t bytes, uint32_t milliseconds) {
  if (milliseconds == 0) return "-";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f KiB/s", bytes / 1.024 / milliseconds);
  return buffer;
}

std::string RulesText(const std::vector<RuleResult>& rules) {
  std::string text;
  for (const RuleResult& rule : rules) {
    text += "    " + std::string(rule.ok ? "ok   " : "FAIL ") + rule.rule + ": " + rule.text + "\n";
  }
  return text;
}

std::string TransferText(const TransferReport& t) {
  if (!t.ran) return "    transfer: not made\n";
  std::string text = "    transfer: " + t.text + "\n";
  text += "      status " + (t.status != 0 ? std::to_string(t.status) : std::string("-")) +
          ", Content-Length " +
          (t.hasContentLength ? std::to_string(t.contentLength) : std::string("none")) + ", " +
          std::to_string(t.bytes) + " bytes in " + std::to_string(t.milliseconds) + " ms (" +
          Rate(t.bytes, t.milliseconds) + "), proxy " + (t.proxy.empty() ? "-" : t.proxy) + "\n";
  text += "      saved as " + t.localPath + "\n";
  return text;
}

std::string PinText(const std::string& pin) {
  return "    pin: " +
         std::string(pin == "none"      ? "none (the URL carries no pin)"
                     : pin == "matches" ? "its SHA-256 matches the pin"
                                        : "its SHA-256 differs from the pin") +
         "\n";
}

std::string SignatureText(const SignatureReport& s) {
  if (!s.checked) return "";
  return "    signature: " + s.text + "\n      trust " + s.trustText + "; signer " +
         (s.signer.empty() ? std::string("unreadable") : "\"" + s.signer + "\"") +
         (s.requiredSigner ? " (the required one)"
                           : " (NOT the required \"Morvane Corporation\")") +
         "\n";
}

// A JSON string literal, quotes included, of a report string. It is made UTF-8 before it is
// escaped: a Shift-JIS character's second byte may be a backslash or a quote.
struct JsonQuote {
  const ToUtf8& toUtf8;
  std::string operator()(const std::string& ansiText) const {
    std::string json = "\"";
    for (const char c : toUtf8(ansiText)) {
      const unsigned char byte = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        json += '\\';
        json += c;
      } else if (byte < 0x20 || byte == 0x7F) {
        json += "\\u" + Hex4(byte);
      } else {
        json += c;
      }
    }
    return json + "\"";
  }
};

std::string RulesJson(const JsonQuote& quote, const std::vector<RuleResult>& rules) {
  std::string json = "[";
  for (size_t i = 0; i < rules.size(); ++i) {
    json += std::string(i ? "," : "") + "{\"rule\":" + quote(rules[i].rule) +
            ",\"ok\":" + Bool(rules[i].ok) + ",\"text\":" + quote(rules[i].text) + "}";
  }
  return json + "]";
}

std::string TransferJson(const JsonQuote& quote, const TransferReport& t) {
  if (!t.ran) return "null";
  return "{\"code\":" + std::to_string(t.code) + ",\"startCode\":" + std::to_string(t.startCode) +
         ",\"lastError\":" + std::to_string(t.lastError) + ",\"text\":" + quote(t.text) +
         ",\"status\":" + std::to_string(t.status) +
         ",\"contentLength\":" + (t.hasContentLength ? std::to_string(t.contentLength) : "null") +
         ",\"bytes\":" + std::to_string(t.bytes) +
         ",\"milliseconds\":" + std::to_string(t.milliseconds) + ",\"proxy\":" + quote(t.proxy) +
         ",\"localPath\":" + quote(t.localPath) + "}";
}

std::string SignatureJson(const JsonQuote& quote, const SignatureReport& s) {
  if (!s.checked) return "null";
  return "{\"code\":" + std::to_string(s.code) + ",\"text\":" + quote(s.text) +
         ",\"trustVerdict\":" + std::to_string(static_cast<uint32_t>(s.trustVerdict)) +
         ",\"trustText\":" + quote(s.trustText) + ",\"signer\":" + quote(s.signer) +
         ",\"requiredSigner\":" + Bool(s.requiredSigner) + "}";
}

std::string StringsJson(const JsonQuote& quote, const std::vector<std::string>& items) {
  std::string json = "[";
  for (size_t i = 0; i < items.size(); ++i) json += (i ? "," : "") + quote(items[i]);
  return json + "]";
}

}  // namespace

std::string FormatReportText(const CheckReport& r) {
  std::string text = "PelloryCheck " + r.mode + "\n";
  text += "system language 0x" + Hex4(r.langId) + ", Pellory's folder " + r.pelloryFolder +
          (r.keepsFolderPermissions ? "" : " (this system keeps no folder permissions)") + "\n";
  text += "tool's own folder " + (r.workFolder.empty() ? "(none)" : r.workFolder) + "\n\n";
  text += "URL list " + r.listUrl + "\n  from the " + r.listSource + "\n";
  text += RulesText(r.listRules) + TransferText(r.listTransfer) + PinText(r.listPin);
  for (const EntryReport& e : r.entries) {
    text += "\n" + e.key + "  " + (e.url.empty() ? std::string("(no entry)") : e.url) + "\n";
    text += "  local name " + (e.localName.empty() ? std::string("(none)") : e.localName) + "; " +
            (e.fetched ? "Pellory fetches it" : "Pellory never fetches it on this system") +
            (e.fetched ? (e.ok ? ": passes" : ": FAILS") : "") + "\n";
    text +=
        RulesText(e.rules) + TransferText(e.transfer) + PinText(e.pin) + SignatureText(e.signature);
  }
  if (!r.problems.empty()) {
    text += "\nProblems, in Pellory's order:\n";
    for (const std::string& problem : r.problems) text += "  " + problem + "\n";
  }
  text += "\n" + r.summary + "\n";
  if (r.mirrorWritten) {
    text += "\nMirror in " + r.mirrorFolder + ", its list at " + r.mirrorListUrl +
            "\nPoint Pellory at it on 32-bit Windows:\n  " + r.registryCommands[0] +
            "\nand on 64-bit Windows (Pellory reads the 32-bit view):\n  " + r.registryCommands[1] +
            "\nThe value pins this copy of the list: set it again after every update of the "
            "mirror.\n";
  } else if (r.mode == "mirror") {
    text += "Nothing was written to " + r.mirrorFolder + ".\n";
  }
  return text;
}

std::string FormatReportJson(const CheckReport& r, const ToUtf8& toUtf8) {
  const JsonQuote quote{toUtf8};
  std::string json = "{\"tool\":\"PelloryCheck\",\"mode\":" + quote(r.mode) +
                     ",\"language\":" + quote("0x" + Hex4(r.langId)) +
                     ",\"pelloryFolder\":" + quote(r.pelloryFolder) +
                     ",\"keepsFolderPermissions\":" + Bool(r.keepsFolderPermissions) +
                     ",\"workFolder\":" + quote(r.workFolder) + ",\n";
  json += "\"list\":{\"url\":" + quote(r.listUrl) + ",\"source\":" + quote(r.listSource) +
          ",\"localName\":" + quote(r.listName) + ",\"ok\":" + Bool(r.listOk) +
          ",\"rules\":" + RulesJson(quote, r.listRules) +
          ",\"transfer\":" + TransferJson(quote, r.listTransfer) +
          "},\n\"listPin\":" + quote(r.listPin) + ",\"entries\":[\n";
  for (size_t i = 0; i < r.entries.size(); ++i) {
    const EntryReport& e = r.entries[i];
    json += "{\"key\":" + quote(e.key) + ",\"url\":" + quote(e.url) +
            ",\"localName\":" + quote(e.localName) + ",\"fetched\":" + Bool(e.fetched) +
            ",\"ok\":" + Bool(e.ok) + ",\"pin\":" + quote(e.pin) +
            ",\"rules\":" + RulesJson(quote, e.rules) +
            ",\"transfer\":" + TransferJson(quote, e.transfer) +
            ",\"signature\":" + SignatureJson(quote, e.signature) + "}" +
            (i + 1 < r.entries.size() ? "," : "") + "\n";
  }
  json += "],\n\"components\":" + StringsJson(quote, r.components) +
          ",\"problems\":" + StringsJson(quote, r.problems) + ",\"complete\":" + Bool(r.complete) +
          ",\"summary\":" + quote(r.summary);
  if (r.mode == "mirror") {
    json += ",\n\"mirror\":{\"folder\":" + quote(r.mirrorFolder) +
            ",\"listUrl\":" + quote(r.mirrorListUrl) + ",\"written\":" + Bool(r.mirrorWritten) +
            ",\"registryCommands\":" + StringsJson(quote, r.registryCommands) + "}";
  }
  return json + "}\n";
}
