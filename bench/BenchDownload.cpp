// Downloads one URL into one file, either through Pellory's download client with the real
// Win32 platform, or through the smallest WinINet loop that does the same work: the
// reference the client's overhead is measured against.
//   bench_download pellory|bare URL DEST [POLL_MS]
// POLL_MS is the longest the owner waits on the transfer's end between looks at the
// client's state (default 1; the fetch step waits up to 100 ms, which the stall bench uses).
// Prints one line (see BenchReport.h); cpu_ms counts from the start of main, so Wine's
// own start-up is left out. result is the client's combined code, or the bare loop's
// GetLastError at its failure (0 when complete).

#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/BenchReport.h"
#include "net/DownloadClient.h"

namespace {

// The same flags and read size as the client, so that only the code around them differs.
constexpr DWORD kRequestFlags = INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                                INTERNET_FLAG_HYPERLINK | INTERNET_FLAG_RESYNCHRONIZE;

long long PelloryDownload(const char* url, const char* dest, DWORD pollMs,
                          unsigned long long& bytes) {
  DownloadContext download({&SystemHttp(), &SystemFiles(), &SystemThreads(), &SystemClock()});
  if (download.Start(url, dest) && download.Launch()) {
    while (download.Poll().state != DL_FINISHED) download.AwaitEnd(pollMs);
    bytes = download.ReceivedSize();
  }
  return download.Code();
}

long long BareDownload(const char* url, const char* dest, unsigned long long& bytes) {
  char host[512] = {}, path[2048] = {};
  URL_COMPONENTSA parts = {};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof path;
  if (!InternetCrackUrlA(url, 0, 0, &parts)) return GetLastError();
  HINTERNET session = InternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  HINTERNET connection = InternetConnectA(session, host, parts.nPort, nullptr, nullptr,
                                          INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestA(connection, "GET", path, nullptr, nullptr, nullptr,
                                       kRequestFlags, 0);
  long long result = 0;
  HANDLE file = CreateFileA(dest, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (request == nullptr || file == INVALID_HANDLE_VALUE ||
      !HttpSendRequestA(request, nullptr, 0, nullptr, 0)) {
    result = GetLastError();
  } else {
    static char buffer[kReadSize];
    for (;;) {
      DWORD read = 0;
      if (!InternetReadFile(request, buffer, kReadSize, &read)) {
        result = GetLastError();
        break;
      }
      if (read == 0) break;
      DWORD written = 0;
      if (!WriteFile(file, buffer, read, &written, nullptr)) {
        result = GetLastError();
        break;
      }
      bytes += read;
    }
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(session);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if ((argc != 4 && argc != 5) ||
      (std::strcmp(argv[1], "pellory") != 0 && std::strcmp(argv[1], "bare") != 0)) {
    std::fprintf(stderr, "usage: bench_download pellory|bare URL DEST [POLL_MS]\n");
    return 2;
  }
  const DWORD pollMs = argc == 5 ? static_cast<DWORD>(std::atoi(argv[4])) : 1;
  unsigned long long bytes = 0;
  const double cpuAtStart = bench::ProcessCpuMs();
  const double start = bench::NowMs();
  const long long result = std::strcmp(argv[1], "pellory") == 0
                               ? PelloryDownload(argv[2], argv[3], pollMs, bytes)
                               : BareDownload(argv[2], argv[3], bytes);
  bench::Report(bench::NowMs() - start, bench::ProcessCpuMs() - cpuAtStart, result, bytes);
  return result == 0 ? 0 : 1;
}
