// The fetch step over the real platform against the fault server: every failing kind of
// transfer brings the retry question, Retry after the server is fixed succeeds, Cancel
// gives up; a verified program cannot be replaced before it runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "FetchTestServer.h"
#include "net/FetchAndVerify.h"
#include "platform/SystemInfo.h"

namespace {

class ScriptedFetchUi : public FetchUi {
 public:
  void SetProgress(int position) override { progress.push_back(position); }
  void AttemptEnded(const AttemptReport&) override {}
  int AskRetry() override {
    ++questions;
    return onQuestion ? onQuestion() : IDCANCEL;
  }
  std::vector<int> progress;
  int questions = 0;
  std::function<int()> onQuestion;
};

class FetchAndVerifyWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_TEST_SERVER();
    m_package = ReadWholeFile(PackagePath("setup-valid.exe"));
    ASSERT_FALSE(m_package.empty());
    m_name = UniqueTestName() + ".exe";
    Publish(m_name, m_package);
    Publish("copy.exe", m_package);
    m_destination = RunningSystem().TempPath() + "\\" + m_name;
  }
  void TearDown() override {
    m_locked.Reset();
    DeleteFileA(m_destination.c_str());
  }

  FetchVerdict Fetch(const std::string& url, bool verify = true, const FilePin& pin = {}) {
    const InstallPlatform platform{&SystemHttp(), &SystemFiles(), &SystemThreads(), &SystemClock(),
                                   &SystemTrust()};
    return FetchAndVerify(m_name.c_str(), m_ui, url.c_str(), verify, platform,
                          RunningSystem().TempPath(), m_locked, pin);
  }

  std::string m_package;
  std::string m_name;  // on the server and in the temporary directory
  std::string m_destination;
  ScriptedFetchUi m_ui;
  ReadLockedFile m_locked;
};

struct FailureCase {
  const char* name;
  const char* kind;
  const char* arg;
  int questions;  // 0: the transfer succeeds despite the fault
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FetchAndVerifyFailureTest : public FetchAndVerifyWineTest,
                                  public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FetchAndVerifyFailureTest, RetryAfterTheServerIsFixedSucceeds) {
  const FailureCase& c = GetParam();
  SetFault("/" + m_name, c.kind, c.arg);
  m_ui.onQuestion = [] {
    ClearFaults();
    return IDRETRY;
  };
  EXPECT_EQ(Fetch(ServerUrl("/" + m_name)), FetchVerdict::Fetched);
  EXPECT_EQ(m_ui.questions, c.questions);
  EXPECT_EQ(ReadWholeFile(m_destination), m_package);
  EXPECT_TRUE(m_locked.IsOpen());
  ASSERT_FALSE(m_ui.progress.empty());
  EXPECT_EQ(m_ui.progress.front(), 0);
}

INSTANTIATE_TEST_SUITE_P(Faults, FetchAndVerifyFailureTest,
                         ::testing::Values(FailureCase{"Status404", "status", "404", 1},
                                           FailureCase{"Status500", "status", "500", 1},
                                           FailureCase{"Chunked", "chunked", "", 1},
                                           FailureCase{"Garbage", "garbage", "", 1},
                                           FailureCase{"ClosedWithoutAnswer", "close", "", 1},
                                           FailureCase{"Redirect", "redirect", "/copy.exe", 0},
                                           FailureCase{"LongerThanAnnounced", "long", "100", 0},
                                           FailureCase{"ShortStall", "stall", "2", 0},
                                           FailureCase{"Drip", "drip", "200000", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FetchAndVerifyWineTest, CancelGivesUp) {
  SetFault("/" + m_name, "status", "404");
  EXPECT_EQ(Fetch(ServerUrl("/" + m_name)), FetchVerdict::GaveUp);
  EXPECT_EQ(Fetch("http://127.0.0.1:9/setup.exe"), FetchVerdict::GaveUp);  // connection refused
  EXPECT_EQ(m_ui.questions, 2);
  EXPECT_FALSE(m_locked.IsOpen());
}

TEST_F(FetchAndVerifyWineTest, ARejectedProgramStaysWithoutQuestionOrLock) {
  Publish(m_name, ReadWholeFile(PackagePath("setup-other.exe")));
  EXPECT_EQ(Fetch(ServerUrl("/" + m_name)), FetchVerdict::Rejected);
  EXPECT_EQ(m_ui.questions, 0);
  EXPECT_FALSE(m_locked.IsOpen());
  EXPECT_TRUE(DeleteFileA(m_destination.c_str()));
}

// Runs a command line in another process and returns its exit code.
DWORD RunElsewhere(std::string commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return ~DWORD{0};
  }
  UniqueProcess owned(process.hProcess);
  UniqueThread thread(process.hThread);
  WaitForSingleObject(owned.Get(), 30000);
  DWORD code = ~DWORD{0};
  GetExitCodeProcess(owned.Get(), &code);
  return code;
}

// The platform's SHA-256 of the held file decides a pin: the known digest of "abc" matches,
// one bit off is refused.
TEST_F(FetchAndVerifyWineTest, ThePlatformsDigestOfTheHeldFileDecidesItsPin) {
  Publish(m_name, "abc");
  const Pin abc =
      SplitPin("/#sha256=ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad").pin;
  ASSERT_TRUE(abc);
  Sha256Digest other = *abc;
  other[31] ^= 1;
  EXPECT_EQ(Fetch(ServerUrl("/" + m_name), false, {other}), FetchVerdict::Rejected);
  EXPECT_EQ(Fetch(ServerUrl("/" + m_name), false, {abc}), FetchVerdict::Fetched);
}

TEST_F(FetchAndVerifyWineTest, AVerifiedProgramCannotBeReplacedAndStillStarts) {
  ASSERT_EQ(Fetch(ServerUrl("/" + m_name)), FetchVerdict::Fetched);
  ASSERT_TRUE(m_locked.IsOpen());
  const std::string& file = m_destination;

  UniqueFile writer(CreateFileA(file.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(writer);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(DeleteFileA(file.c_str()));
  EXPECT_FALSE(MoveFileExA(file.c_str(), (file + ".moved").c_str(), MOVEFILE_REPLACE_EXISTING));
  const std::string other = PackagePath("setup-unsigned.exe");
  RunElsewhere("cmd.exe /c copy /y \"" + other + "\" \"" + file + "\"");
  RunElsewhere("cmd.exe /c del /f /q \"" + file + "\"");
  EXPECT_EQ(ReadWholeFile(file), m_package) << "another process changed the checked file";

  const std::string log = RunningSystem().TempPath() + "\\" + UniqueTestName() + ".log";
  DeleteFileA(log.c_str());
  SetEnvironmentVariableA("PELLORY_SETUP_LOG", log.c_str());
  EXPECT_EQ(RunElsewhere("\"" + file + "\" -s"), 0u) << "the locked program did not start";
  EXPECT_NE(ReadWholeFile(log).find("[setup"), std::string::npos);

  m_locked.Reset();
  EXPECT_TRUE(DeleteFileA(file.c_str())) << "the lock should end with its owner";
}

}  // namespace
