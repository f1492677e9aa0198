#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "fakes/FakeTrust.h"
#include "net/SignatureCheck.h"

namespace {

// HRESULTs WinVerifyTrust gives for the usual refusals.
constexpr int32_t kNoSignature = static_cast<int32_t>(0x800B0100);
constexpr int32_t kBadDigest = static_cast<int32_t>(0x80096010);
constexpr int32_t kUntrustedRoot = static_cast<int32_t>(0x800B0109);

const std::string kPath = "C:\\T\\\\setup.exe";

struct SignatureCase {
  const char* name;
  std::function<void(FakeTrust&)> script;
  int32_t expected;
  bool signerExamined;  // whether the signer was read
};
void PrintTo(const SignatureCase& c, std::ostream* os) { *os << c.name; }

class SignatureCheckTest : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(SignatureCheckTest, GivesItsCode) {
  const SignatureCase& c = GetParam();
  FakeTrust trust;
  c.script(trust);
  std::optional<std::string> signer;
  EXPECT_EQ(VerifyDownloadedFile(kPath.c_str(), trust, &signer), c.expected);
  const bool examined =
      std::find(trust.calls.begin(), trust.calls.end(), "signer") != trust.calls.end();
  EXPECT_EQ(examined, c.signerExamined);
  // A name is given back only where the reading answered, a wrong one too.
  EXPECT_EQ(signer.has_value(), c.expected == 0 || c.expected == SignatureWrongSigner);
}

void Nothing(FakeTrust&) {}
// The signer reading stops at step.
std::function<void(FakeTrust&)> SignerStops(TrustStep step) {
  return [step](FakeTrust& t) { t.signerStep = step; };
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SignatureCheckTest,
    ::testing::Values(
        SignatureCase{"Verified", Nothing, 0, true},
        SignatureCase{"Missing", [](FakeTrust& t) { t.exists = false; }, 102, false},
        SignatureCase{"PathNotConverted",
                      [](FakeTrust& t) { t.trustStep = TrustStep::PathNotConverted; }, 200, false},
        SignatureCase{"Unsigned", [](FakeTrust& t) { t.trustVerdict = kNoSignature; }, 201, false},
        SignatureCase{"Tampered", [](FakeTrust& t) { t.trustVerdict = kBadDigest; }, 201, false},
        SignatureCase{"UntrustedChain", [](FakeTrust& t) { t.trustVerdict = kUntrustedRoot; }, 201,
                      false},
        SignatureCase{"SignerPathNotConverted", SignerStops(TrustStep::PathNotConverted), 300,
                      true},
        SignatureCase{"NoEmbeddedSignature", SignerStops(TrustStep::NoEmbeddedSignature), 301,
                      true},
        SignatureCase{"SignerInfoSize", SignerStops(TrustStep::SignerInfoSizeUnreadable), 302,
                      true},
        SignatureCase{"SignerInfoNoMemory", SignerStops(TrustStep::SignerInfoNoMemory), 303, true},
        SignatureCase{"SignerInfoUnreadable", SignerStops(TrustStep::SignerInfoUnreadable), 304,
                      true},
        SignatureCase{"CertificateMissing", SignerStops(TrustStep::CertificateMissing), 305, true},
        SignatureCase{"NameLength", SignerStops(TrustStep::NameLengthUnreadable), 306, true},
        SignatureCase{"NameNoMemory", SignerStops(TrustStep::NameNoMemory), 307, true},
        SignatureCase{"NameUnreadable", SignerStops(TrustStep::NameUnreadable), 308, true},
        SignatureCase{"OtherPublisher", [](FakeTrust& t) { t.displayName = "Other Corporation"; },
                      309, true},
        SignatureCase{"OtherCase", [](FakeTrust& t) { t.displayName = "morvane corporation"; }, 309,
                      true},
        SignatureCase{"LongerName", [](FakeTrust& t) { t.displayName = "Morvane Corporation Ltd"; },
                      309, true},
        SignatureCase{"ShorterName", [](FakeTrust& t) { t.displayName = "Morvane Corporatio"; },
                      309, true},
        SignatureCase{"EmptyName", [](FakeTrust& t) { t.displayName = ""; }, 309, true},
        SignatureCase{
            "NulInsideName",
            [](FakeTrust& t) { t.displayName = std::string("Morvane Corporation\0.evil", 25); },
            309, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SignatureCheckPathTest, LengthIsTestedBeforeTheFileSystem) {
  struct {
    size_t length;
    int32_t expected;
    bool touched;
  } const cases[] = {{259, 0, true}, {260, 101, false}, {600, 101, false}};
  for (const auto& c : cases) {
    FakeTrust trust;
    const std::string path = "C:\\" + std::string(c.length - 3, 'a');
    EXPECT_EQ(VerifyDownloadedFile(path.c_str(), trust), c.expected) << c.length;
    EXPECT_EQ(!trust.calls.empty(), c.touched) << c.length;
  }
  FakeTrust trust;
  EXPECT_EQ(VerifyDownloadedFile(nullptr, trust), 100);
  EXPECT_TRUE(trust.calls.empty());
}

}  // namespace
