/* A stand-in for a component's setup program. It records how it was started (its own
 * path, its exact command line, the response file named after -f1 and that file's
 * content) by appending one record to a log, then exits.
 *
 * Lines of the response file it acts on:
 *   exit=N     exit with code N (default: PACKAGE_EXIT_CODE, set at build time)
 *   sleep=MS   stay running for MS milliseconds after writing the record
 *   log=PATH   the log to append to
 *   title=T    a name for the record (the demo uses the component's name)
 *   environment=all   add its whole environment to the record
 * The log is, in this order of preference: log= of the response file, the environment
 * variable PELLORY_SETUP_LOG, C:\pellory-test\setup.log.
 *
 * A record:
 *   [setup T]
 *   module=<path of this program>
 *   cmdline=<GetCommandLineA, byte for byte>
 *   response=<the path after -f1>
 *   exit=<the exit code>
 *   cwd=<its current directory>
 *   tmp=<TMP>, temp=<TEMP>
 *   response-write=<"opened" when the response file could be opened for writing, else "refused">
 *   probe-dll=<"loaded" when a DLL named pellory-probe.dll could be loaded by name, else "absent">
 *   env NAME=value, one line for each entry of its environment (with environment=all)
 *   | <each line of the response file>
 *   [end]
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#ifndef PACKAGE_EXIT_CODE
#define PACKAGE_EXIT_CODE 0
#endif

#define DEFAULT_LOG "C:\\pellory-test\\setup.log"

/* The response file's path: what follows -f1, up to the closing quote when it starts
 * with one, else up to the next blank. */
static void ResponsePath(const char* commandLine, char* path, size_t size) {
  const char* p = strstr(commandLine, " -f1");
  size_t n = 0;
  path[0] = '\0';
  if (p == NULL) return;
  p += 4;
  if (*p == '"') {
    ++p;
    while (p[n] != '\0' && p[n] != '"') ++n;
  } else {
    while (p[n] != '\0' && p[n] != ' ') ++n;
  }
  if (n >= size) n = size - 1;
  memcpy(path, p, n);
  path[n] = '\0';
}

/* The whole file as a zero-terminated buffer (empty when unreadable). */
static char* ReadAll(const char* path) {
  FILE* f = path[0] ? fopen(path, "rb") : NULL;
  char* data = NULL;
  size_t length = 0, capacity = 0;
  if (f != NULL) {
    for (;;) {
      if (capacity - length < 4096) {
        char* grown = (char*)realloc(data, capacity + 65536);
        if (grown == NULL) break;
        data = grown;
        capacity += 65536;
      }
      size_t got = fread(data + length, 1, capacity - length - 1, f);
      if (got == 0) break;
      length += got;
    }
    fclose(f);
  }
  if (data == NULL) data = (char*)calloc(1, 1);
  if (data != NULL) data[length] = '\0';
  return data;
}

/* The value of the first line "key=value" of the response, without its line end. */
static int Setting(const char* response, const char* key, char* value, size_t size) {
  size_t keyLength = strlen(key);
  const char* line = response;
  while (line != NULL && *line != '\0') {
    if (strncmp(line, key, keyLength) == 0 && line[keyLength] == '=') {
      const char* v = line + keyLength + 1;
      size_t n = strcspn(v, "\r\n");
      if (n >= size) n = size - 1;
      memcpy(value, v, n);
      value[n] = '\0';
      return 1;
    }
    line = strchr(line, '\n');
    if (line != NULL) ++line;
  }
  return 0;
}

/* Makes the log's folder when it is missing (one level is enough for our logs). */
static void MakeParentFolder(const char* path) {
  char folder[MAX_PATH];
  const char* slash = strrchr(path, '\\');
  size_t n = slash ? (size_t)(slash - path) : 0;
  if (n == 0 || n >= sizeof(folder)) return;
  memcpy(folder, path, n);
  folder[n] = '\0';
  CreateDirectoryA(folder, NULL);
}

static void WriteRecord(FILE* log, const char* title, const char* commandLine,
                        const char* responsePath, const char* response, int exitCode) {
  char module[MAX_PATH] = "";
  GetModuleFileNameA(NULL, module, sizeof(module));
  fprintf(log, "[setup%s%s]\n", title[0] ? " " : "", title);
  fprintf(log, "module=%s\ncmdline=%s\nresponse=%s\nexit=%d\n", module, commandLine, responsePath,
          exitCode);
  char value[MAX_PATH * 2] = "";
  GetCurrentDirectoryA(sizeof(value), value);
  fprintf(log, "cwd=%s\n", value);
  value[0] = '\0';
  GetEnvironmentVariableA("TMP", value, sizeof(value));
  fprintf(log, "tmp=%s\n", value);
  value[0] = '\0';
  GetEnvironmentVariableA("TEMP", value, sizeof(value));
  fprintf(log, "temp=%s\n", value);
  /* Whether anyone could rewrite the answers while this setup runs. */
  HANDLE writer = CreateFileA(responsePath, GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, 0, NULL);
  fprintf(log, "response-write=%s\n", writer != INVALID_HANDLE_VALUE ? "opened" : "refused");
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  /* A setup program looks up a DLL by name beside itself first, then in its current
   * directory: one planted in either would run inside it. */
  HMODULE probe = LoadLibraryA("pellory-probe.dll");
  fprintf(log, "probe-dll=%s\n", probe != NULL ? "loaded" : "absent");
  if (probe != NULL) FreeLibrary(probe);
  if (Setting(response, "environment", value, sizeof(value))) {
    char* environment = GetEnvironmentStringsA();
    for (const char* entry = environment; entry != NULL && *entry != '\0';
         entry += strlen(entry) + 1)
      fprintf(log, "env %s\n", entry);
    if (environment != NULL) FreeEnvironmentStringsA(environment);
  }
  const char* line = response;
  while (*line != '\0') {
    size_t n = strcspn(line, "\r\n");
    fprintf(log, "| %.*s\n", (int)n, line);
    line += n;
    if (*line == '\r') ++line;
    if (*line == '\n') ++line;
  }
  fputs("[end]\n", log);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR args, int show) {
  (void)instance;
  (void)previous;
  (void)args;
  (void)show;
  const char* commandLine = GetCommandLineA();
  char responsePath[MAX_PATH * 2];
  ResponsePath(commandLine, responsePath, sizeof(responsePath));
  char* response = ReadAll(responsePath);
  if (response == NULL) return 2;

  int exitCode = PACKAGE_EXIT_CODE;
  char value[MAX_PATH * 2];
  if (Setting(response, "exit", value, sizeof(value))) exitCode = atoi(value);
  char title[256] = "";
  Setting(response, "title", title, sizeof(title));
  char logPath[MAX_PATH * 2] = DEFAULT_LOG;
  if (!Setting(response, "log", logPath, sizeof(logPath))) {
    DWORD n = GetEnvironmentVariableA("PELLORY_SETUP_LOG", value, sizeof(value));
    if (n > 0 && n < sizeof(value)) strcpy(logPath, value);
  }

  /* The record is written first, so that a test can see the setup running. */
  MakeParentFolder(logPath);
  FILE* log = fopen(logPath, "ab");
  if (log != NULL) {
    WriteRecord(log, title, commandLine, responsePath, response, exitCode);
    fclose(log);
  }
  if (Setting(response, "sleep", value, sizeof(value))) Sleep((DWORD)atoi(value));
  free(response);
  return exitCode;
}
