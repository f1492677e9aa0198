// Every code the client or the signature check can give has its own sentence.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "net/CodeText.h"
#include "net/DownloadClient.h"
#include "net/SignatureCheck.h"

namespace {

struct ListedCode {
  int32_t value;
  const char* text;
};
#define LISTED_CODE(name, value, text) {value, text},
constexpr ListedCode kSteps[] = {DOWNLOAD_STEP_CODES(LISTED_CODE)};
constexpr ListedCode kPrimaries[] = {DOWNLOAD_PRIMARY_CODES(LISTED_CODE)
                                         TRANSFER_RESULTS(LISTED_CODE)};
constexpr ListedCode kSignatures[] = {SIGNATURE_CODES(LISTED_CODE)};

// A combined code splits back into its two parts, each named by its own sentence: no step
// reaches the thousands, no operation has a step part, and no value is listed twice.
TEST(CodeTextTest, EveryCombinedCodeSplitsIntoItsOwnSentences) {
  std::set<int32_t> primaries, steps;
  for (const ListedCode& primary : kPrimaries) {
    EXPECT_EQ(primary.value % 1000, 0) << primary.value;
    EXPECT_TRUE(primaries.insert(primary.value).second) << primary.value;
    for (const ListedCode& step : kSteps) {
      const int32_t combined = primary.value + step.value;
      EXPECT_EQ(DescribeDownloadCode(combined), std::to_string(combined) + ": " + primary.text +
                                                    "; step " + std::to_string(step.value) + ": " +
                                                    step.text);
    }
  }
  for (const ListedCode& step : kSteps) {
    EXPECT_TRUE(step.value > 0 && step.value < 1000) << step.value;
    EXPECT_TRUE(steps.insert(step.value).second) << step.value;
  }
  std::set<int32_t> signatures;
  for (const ListedCode& code : kSignatures) {
    EXPECT_TRUE(signatures.insert(code.value).second) << code.value;
    EXPECT_EQ(DescribeSignatureCode(code.value), std::to_string(code.value) + ": " + code.text);
  }
}

TEST(CodeTextTest, ATransferThatDidNotStartNamesStartsReason) {
  EXPECT_EQ(DescribeDownloadCode(200500, 106500)
                .rfind("200500: the transfer did not start (106500: "
                       "the local file cannot be created",
                       0),
            0u);
  EXPECT_NE(DescribeDownloadCode(200500, 106500).find("step 500"), std::string::npos);
  EXPECT_NE(DescribeTrustVerdict(static_cast<int32_t>(0x80096010)).find("changed after"),
            std::string::npos);
}

}  // namespace
