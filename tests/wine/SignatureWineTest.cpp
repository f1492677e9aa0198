// The signature check over the real WinTrust and CryptoAPI, with the signed test packages.
// Wine checks the digest but not the chain, so the untrusted-chain case is native only.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "FetchTestServer.h"
#include "net/SignatureCheck.h"
#include "platform/Trust.h"

namespace {

struct PackageCase {
  const char* name;
  const char* package;
  int32_t expected;
};
void PrintTo(const PackageCase& c, std::ostream* os) { *os << c.name; }

class SignatureWineTest : public ::testing::TestWithParam<PackageCase> {};

TEST_P(SignatureWineTest, JudgesThePackage) {
  const PackageCase& c = GetParam();
  EXPECT_EQ(VerifyDownloadedFile(PackagePath(c.package).c_str(), SystemTrust()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Packages, SignatureWineTest,
                         ::testing::Values(PackageCase{"Valid", "setup-valid.exe", 0},
                                           PackageCase{"Missing", "setup-missing.exe", 102},
                                           PackageCase{"Unsigned", "setup-unsigned.exe", 201},
                                           PackageCase{"Tampered", "setup-tampered.exe", 201},
                                           PackageCase{"OtherPublisher", "setup-other.exe", 309},
                                           PackageCase{"LowerCaseName", "setup-lowercase.exe", 309},
                                           PackageCase{"LongerName", "setup-ltd.exe", 309}),
                         [](const auto& info) { return std::string(info.param.name); });

// What PelloryCheck reports besides the verdict: the policy's own reason and the name.
TEST(SignatureWineAdapterTest, GivesThePolicysReasonAndTheSignersWholeName) {
  Trust& trust = SystemTrust();
  EXPECT_EQ(trust.VerifyTrust(PackagePath("setup-valid.exe").c_str()).reason, 0);
  EXPECT_EQ(trust.VerifyTrust(PackagePath("setup-tampered.exe").c_str()).reason,
            static_cast<int32_t>(0x80096010));  // TRUST_E_BAD_DIGEST
  EXPECT_EQ(trust.ReadSigner(PackagePath("setup-ltd.exe").c_str()).signer,
            "Morvane Corporation Ltd");
  const TrustVerdict none = trust.ReadSigner(PackagePath("setup-unsigned.exe").c_str());
  EXPECT_EQ(none.step, TrustStep::NoEmbeddedSignature);
  EXPECT_EQ(none.signer, "");
}

TEST(SignatureWinePathTest, LengthLimitComesBeforeTheFileSystem) {
  const std::string base = "C:\\users\\";
  EXPECT_EQ(
      VerifyDownloadedFile((base + std::string(259 - base.size(), 'n')).c_str(), SystemTrust()),
      102);
  EXPECT_EQ(
      VerifyDownloadedFile((base + std::string(260 - base.size(), 'n')).c_str(), SystemTrust()),
      101);
}

}  // namespace
