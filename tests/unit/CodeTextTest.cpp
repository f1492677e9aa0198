// Every code the client or the signature check can give has its own sentence.
#include <gtest/gtest.h>

#include "net/CodeText.h"
#include "net/DownloadClient.h"
#include "net/SignatureCheck.h"

namespace {

bool Known(const std::string& text) { return text.find("unknown code") == std::string::npos; }

TEST(CodeTextTest, EveryCodeHasASentence) {
  for (const int32_t primary :
       {0,      100000, 101000, 102000, 103000, 104000, 105000, 106000, 107000, 108000,
        109000, 110000, 111000, 200000, 201000, 300000, 301000, 302000, 303000, 304000,
        305000, 307000, 308000, 309000, 310000, 311000, 313000, 500000, 999000}) {
    EXPECT_TRUE(Known(DescribeDownloadCode(primary))) << primary;
  }
  for (const int32_t step : {100, 101, 102, 103, 104, 105, 106, 107, 200, 201, 202, 203, 300,
                             301, 302, 303, 304, 305, 306, 307, 308, 400, 401, 402, 403, 500}) {
    EXPECT_TRUE(Known(DescribeDownloadCode(PrimaryOpenFailed + step))) << step;
  }
  for (int32_t code = 100; code <= 309; ++code) {
    const bool defined = code <= 102 || code == 200 || code == 201 || code >= 300;
    if (defined) {
      EXPECT_TRUE(Known(DescribeSignatureCode(code))) << code;
    }
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
