/* Starts CHILD COUNT times as Pellory starts a setup program (hidden, an explicit
   environment block and current directory, then a wait) and prints each failed start with
   its error number. Child mode (no arguments) just exits. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv) {
  if (argc < 3) return 0;
  const int count = atoi(argv[2]);
  char environment[] = "TMP=C:\\windows\\temp\0TEMP=C:\\windows\\temp\0";
  int failures = 0;
  for (int i = 0; i < count; ++i) {
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info;
    char commandLine[MAX_PATH + 8];
    snprintf(commandLine, sizeof commandLine, "\"%s\"", argv[1]);
    if (!CreateProcessA(argv[1], commandLine, NULL, NULL, FALSE, 0, environment,
                        "C:\\windows\\temp", &startup, &info)) {
      ++failures;
      printf("start %d failed: error %lu\n", i, GetLastError());
      fflush(stdout);
      continue;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  printf("%d of %d starts failed\n", failures, count);
  return failures != 0;
}
