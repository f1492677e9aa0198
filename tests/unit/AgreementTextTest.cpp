#include "engine/AgreementText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using Ids = std::vector<uint16_t>;

// --- Which texts -----------------------------------------------------------------------

struct ChoiceCase {
  const char* name;
  bool japanese, corvane, pelmora, tessaline;
  Ids expected;
};

class AgreementTextIdsTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(AgreementTextIdsTest, FollowsComponentOrderAndLanguage) {
  const ChoiceCase& c = GetParam();
  EXPECT_EQ(AgreementTextIds(c.japanese, {c.corvane, c.pelmora, c.tessaline}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, AgreementTextIdsTest,
    ::testing::Values(
        ChoiceCase{"JaCompleteOrCustomWithTessaline", true, true, false, true, {134, 136}},
        ChoiceCase{"JaCustomWithoutTessaline", true, true, false, false, {134}},
        ChoiceCase{"JaAllThree", true, true, true, true, {134, 135, 136}},
        ChoiceCase{"JaPelmoraAlone", true, false, true, false, {135}},
        ChoiceCase{"JaNothing", true, false, false, false, {}},
        ChoiceCase{"EnCorvane", false, true, false, false, {141}},
        // Components 2 and 3 have no text outside Japan; only component 1 counts there.
        ChoiceCase{"EnEveryFlag", false, true, true, true, {141}},
        ChoiceCase{"EnWithoutCorvane", false, false, true, true, {}}),
    [](const ::testing::TestParamInfo<ChoiceCase>& info) { return std::string(info.param.name); });

// --- Joining -----------------------------------------------------------------------------

TEST(AgreementText, EachTextFollowsALineBreak) {
  const std::map<uint16_t, std::string> texts = {{134, "A\r\nend"}, {136, "B\r\n"}, {141, "E"}};
  auto load = [&](uint16_t id) {
    auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
  };
  EXPECT_EQ(JoinAgreementTexts({}, load), "");
  EXPECT_EQ(JoinAgreementTexts({141}, load), "\r\nE");
  // 134 ends without a line break: the CR LF before 136 puts 136 on a line of its own.
  EXPECT_EQ(JoinAgreementTexts({134, 136}, load), "\r\nA\r\nend\r\nB\r\n");
  // A missing text still gets its line break; nothing else is added.
  EXPECT_EQ(JoinAgreementTexts({135, 141}, load), "\r\n\r\nE");
}

TEST(AgreementText, ResourceBytesEndAtTheFirstNul) {
  const char bytes[] = {'a', 'b', '\0', 'c'};
  EXPECT_EQ(TextUpToNul(bytes, 4), "ab");
  EXPECT_EQ(TextUpToNul(bytes, 2), "ab");
  EXPECT_EQ(TextUpToNul(bytes, 1), "a");
  EXPECT_EQ(TextUpToNul(bytes + 2, 2), "");
  EXPECT_EQ(TextUpToNul(bytes, 0), "");
  EXPECT_EQ(TextUpToNul(nullptr, 5), "");
  const char full[] = {'\x82', '\xa0', '\r', '\n'};  // no NUL at all: every byte counts
  EXPECT_EQ(TextUpToNul(full, 4), std::string(full, 4));
}

// --- The text files themselves -----------------------------------------------------------

enum class Encoding { ShiftJis, Ascii };

struct FileCase {
  const char* name;
  const char* file;
  Encoding encoding;
  size_t maxLineBytes;  // with its CR LF
  bool endsWithLineBreak;
  size_t nominalSize;
};

std::string SourceRoot() {
  std::string here = __FILE__;
  return here.substr(0, here.rfind("tests/unit/"));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsLeadByte(unsigned char b) {
  // Rows that code page 932 assigns: JIS X 0208 and the NEC and IBM extensions.
  return (b >= 0x81 && b <= 0x84) || (b >= 0x87 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEA) ||
         (b >= 0xED && b <= 0xEE) || (b >= 0xFA && b <= 0xFC);
}
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The first offset that is not a character of the encoding (printable ASCII, CR, LF, and
// for Shift-JIS half-width kana and whole double-byte characters), or npos.
size_t FirstInvalidByte(const std::string& text, Encoding encoding) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if ((b >= 0x20 && b <= 0x7E) || b == '\r' || b == '\n') continue;
    if (encoding == Encoding::ShiftJis) {
      if (b >= 0xA1 && b <= 0xDF) continue;
      if (IsLeadByte(b) && i + 1 < text.size() &&
          IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
        ++i;
        continue;
      }
    }
    return i;
  }
  return std::string::npos;
}

class AgreementFileTest : public ::testing::TestWithParam<FileCase> {
 protected:
  void SetUp() override {
    text = ReadFile(SourceRoot() + "res/agreements/" + GetParam().file);
    ASSERT_FALSE(text.empty()) << GetParam().file;
  }
  std::string text;
};

TEST_P(AgreementFileTest, DecodesCleanly) {
  EXPECT_EQ(text.find('\0'), std::string::npos);
  EXPECT_EQ(FirstInvalidByte(text, GetParam().encoding), std::string::npos);
}

TEST_P(AgreementFileTest, LinesEndInCrLfAndFitTheirWidth) {
  const FileCase& c = GetParam();
  size_t start = 0;
  int lineNo = 1;
  for (;; ++lineNo) {
    size_t lf = text.find('\n', start);
    size_t end = lf == std::string::npos ? text.size() : lf + 1;
    std::string line = text.substr(start, end - start);
    EXPECT_LE(line.size(), c.maxLineBytes) << "line " << lineNo;
    std::string body = line;
    if (lf != std::string::npos) {
      const bool crlf = line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0;
      EXPECT_TRUE(crlf) << "a lone LF ends line " << lineNo;
      body = line.substr(0, crlf ? line.size() - 2 : line.size() - 1);
    }
    EXPECT_EQ(body.find('\r'), std::string::npos) << "a lone CR in line " << lineNo;
    if (lf == std::string::npos) break;
    start = end;
  }
  const bool endsWithBreak = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
  EXPECT_EQ(endsWithBreak, c.endsWithLineBreak);
}

TEST_P(AgreementFileTest, SizeIsNearTheNominalSize) {
  const double ratio =
      static_cast<double>(text.size()) / static_cast<double>(GetParam().nominalSize);
  EXPECT_GT(ratio, 0.85) << text.size();
  EXPECT_LT(ratio, 1.15) << text.size();
}

INSTANTIATE_TEST_SUITE_P(
    Files, AgreementFileTest,
    ::testing::Values(
        FileCase{"Corvane134", "corvane-ja.txt", Encoding::ShiftJis, 78, false, 2185},
        FileCase{"Pelmora135", "pelmora-ja.txt", Encoding::ShiftJis, 78, true, 7505},
        FileCase{"Tessaline136", "tessaline-ja.txt", Encoding::ShiftJis, 78, true, 2233},
        FileCase{"CorvaneEnglish141", "corvane-en.txt", Encoding::Ascii, 91, false, 5951}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

}  // namespace
