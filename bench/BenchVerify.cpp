// Checks one signed file, either with Pellory's VerifyDownloadedFile over the real trust
// adapter, or with the bare calls that do the same work: WinVerifyTrust, then
// CryptQueryObject and the signer certificate's display name.
//   bench_verify pellory|bare PATH ROUNDS
//   bench_verify steps PATH     (Pellory's first check, the time of each trust call apart)
//   bench_verify files PATH...  (the bare check of each file once, in order: the whole
//                                install's reference checks its two setup programs so)
// The first call of a process also opens the root store; it is reported apart (first_ms)
// and the line's wall_ms is the fastest of the ROUNDS calls that follow it. For files,
// wall_ms is all the checks together, first included, and result the first that failed.

#include <windows.h>
// After windows.h:
#include <wincrypt.h>
#include <wintrust.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/BenchReport.h"
#include "net/SignatureCheck.h"

namespace {

GUID kGenericVerifyV2 = {
    0x00AAC56B, 0xCD44, 0x11D0, {0x8C, 0xC2, 0x00, 0xC0, 0x4F, 0xC2, 0x95, 0xEE}};

long long BareVerify(const wchar_t* path) {
  WINTRUST_FILE_INFO file = {};
  file.cbStruct = sizeof file;
  file.pcwszFilePath = path;
  WINTRUST_DATA data = {};
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &file;
  data.dwStateAction = WTD_STATEACTION_IGNORE;
  data.dwProvFlags = WTD_SAFER_FLAG;
  data.dwUIContext = WTD_UICONTEXT_EXECUTE;
  const LONG trust =
      WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &kGenericVerifyV2, &data);
  if (trust != 0) return trust;

  DWORD encoding = 0, content = 0, format = 0;
  HCERTSTORE store = nullptr;
  HCRYPTMSG message = nullptr;
  if (!CryptQueryObject(CERT_QUERY_OBJECT_FILE, path, CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED,
                        CERT_QUERY_FORMAT_FLAG_BINARY, 0, &encoding, &content, &format, &store,
                        &message, nullptr))
    return 1;
  long long result = 2;
  DWORD size = 0;
  CryptMsgGetParam(message, CMSG_SIGNER_INFO_PARAM, 0, nullptr, &size);
  auto* signer = static_cast<CMSG_SIGNER_INFO*>(LocalAlloc(LPTR, size));
  if (signer != nullptr && CryptMsgGetParam(message, CMSG_SIGNER_INFO_PARAM, 0, signer, &size)) {
    CERT_INFO wanted = {};
    wanted.Issuer = signer->Issuer;
    wanted.SerialNumber = signer->SerialNumber;
    PCCERT_CONTEXT certificate =
        CertFindCertificateInStore(store, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                   CERT_FIND_SUBJECT_CERT, &wanted, nullptr);
    if (certificate != nullptr) {
      char name[256] = {};
      CertGetNameStringA(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, sizeof name);
      result = std::strcmp(name, kRequiredSigner) == 0 ? 0 : 3;
      CertFreeCertificateContext(certificate);
    }
  }
  LocalFree(signer);
  CertCloseStore(store, 0);
  CryptMsgClose(message);
  return result;
}

// The real trust adapter with the time of each of its calls added up by name, for the
// step-by-step account of a first check (bench_verify steps PATH): the existence test, the
// policy (WinVerifyTrust) and the signer's certificate and name.
class TimedTrust final : public Trust {
 public:
  explicit TimedTrust(Trust& inner) : m_inner(inner) {}

  void Print() const {
    for (int i = 0; i < kSteps; ++i) {
      if (m_calls[i] > 0) std::printf("%s=%.3f ", kNames[i], m_ms[i]);
    }
  }

  bool FileExists(const char* path) override {
    return Time(0, [&] { return m_inner.FileExists(path); });
  }
  TrustVerdict VerifyTrust(const char* path) override {
    return Time(1, [&] { return m_inner.VerifyTrust(path); });
  }
  TrustVerdict ReadSigner(const char* path) override {
    return Time(2, [&] { return m_inner.ReadSigner(path); });
  }

 private:
  static constexpr int kSteps = 3;
  static constexpr const char* kNames[kSteps] = {"exists_ms", "winverifytrust_ms", "signer_ms"};

  template <typename F>
  auto Time(int step, F call) -> decltype(call()) {
    const double start = bench::NowMs();
    auto result = call();
    m_ms[step] += bench::NowMs() - start;
    ++m_calls[step];
    return result;
  }

  Trust& m_inner;
  double m_ms[kSteps] = {};
  int m_calls[kSteps] = {};
};

}  // namespace

int main(int argc, char** argv) {
  // WinVerifyTrust with no interactive user still asks for the desktop window. Pellory, a
  // windowed program, has it already; for this console program Wine would first start and
  // attach the desktop (100-1000 ms, measured), which the first check would be charged with.
  GetDesktopWindow();
  if (argc == 3 && std::strcmp(argv[1], "steps") == 0) {
    TimedTrust timed(SystemTrust());
    const double start = bench::NowMs();
    const long long result = VerifyDownloadedFile(argv[2], timed);
    std::printf("first_ms=%.3f ", bench::NowMs() - start);
    timed.Print();
    bench::Report(0, bench::ProcessCpuMs(), result, 0);
    return result == 0 ? 0 : 1;
  }
  if (argc >= 3 && std::strcmp(argv[1], "files") == 0) {
    long long result = 0;
    double first = 0, all = 0;
    for (int i = 2; i < argc && result == 0; ++i) {
      wchar_t widePath[MAX_PATH] = {};
      MultiByteToWideChar(CP_ACP, 0, argv[i], -1, widePath, MAX_PATH);
      const double start = bench::NowMs();
      result = BareVerify(widePath);
      const double took = bench::NowMs() - start;
      if (i == 2) first = took;
      all += took;
    }
    std::printf("first_ms=%.3f ", first);
    bench::Report(all, bench::ProcessCpuMs(), result, 0);
    return result == 0 ? 0 : 1;
  }
  const bool pellory = argc == 4 && std::strcmp(argv[1], "pellory") == 0;
  if (argc != 4 || (!pellory && std::strcmp(argv[1], "bare") != 0)) {
    std::fprintf(stderr,
                 "usage: bench_verify pellory|bare PATH ROUNDS | steps PATH | files PATH...\n");
    return 2;
  }
  const char* path = argv[2];
  wchar_t widePath[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
  auto verify = [&]() -> long long {
    return pellory ? VerifyDownloadedFile(path, SystemTrust()) : BareVerify(widePath);
  };
  double start = bench::NowMs();
  long long result = verify();
  const double first = bench::NowMs() - start;
  double best = 1e300;
  for (int i = 0, rounds = std::atoi(argv[3]); i < rounds && result == 0; ++i) {
    start = bench::NowMs();
    result = verify();
    const double took = bench::NowMs() - start;
    if (took < best) best = took;
  }
  std::printf("first_ms=%.3f ", first);
  bench::Report(best, bench::ProcessCpuMs(), result, 0);
  return result == 0 ? 0 : 1;
}
