#include "update/UpdateCheck.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/ProgramFolder.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowProbe.h"

namespace {

using test::ScriptedHttpServer;
using test::ScriptedReply;

TEST(UpdateAddress, IsTheLoginPagesFolderOnItsOwnServer) {
  struct Case {
    std::string loginUrl;
    std::string expected;
  };
  const Case cases[] = {
      {"http://host/app/login.jhtml", "http://host/app/common/checkVersions.jhtml"},
      {"http://host/app/", "http://host/app/common/checkVersions.jhtml"},
      {"https://h:8443/a/b/c?x=1", "https://h:8443/a/b/common/checkVersions.jhtml"},
      // No path: the server's root folder, never a host named "common".
      {"http://host", "http://host/common/checkVersions.jhtml"},
      {"http://127.0.0.1:8080", "http://127.0.0.1:8080/common/checkVersions.jhtml"},
      {"http://host:8080?next=/a/b", "http://host:8080/common/checkVersions.jhtml"},
      {"http://host#/route/x", "http://host/common/checkVersions.jhtml"},
      // A "/" in the query or the fragment is not a folder.
      {"http://host/app/login.jhtml?back=/x/y/z", "http://host/app/common/checkVersions.jhtml"},
      {"http://host/app/index.html#/login/form", "http://host/app/common/checkVersions.jhtml"},
      {"http://user@host:81/a/b?q#f", "http://user@host:81/a/common/checkVersions.jhtml"},
      {"/login", "/login"},
      {"no-slash-at-all", "no-slash-at-all"},
      {"", ""},
      {"a/", "a/common/checkVersions.jhtml"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.loginUrl);
    EXPECT_EQ(UpdateAddressFromLoginUrl(c.loginUrl), c.expected);
  }
}

// What the stand-in updater wrote about how it was started; empty when it
// never ran.
struct UpdaterRecord {
  std::string commandLine;
  std::string folder;
};

// Runs the real client from a private program folder, pointed at a scripted
// server, with or without the stand-in updater beside it.
class UpdateRun {
 public:
  UpdateRun(const ScriptedReply& reply, bool withUpdater,
            const std::string& loginPath = "/app/login.jhtml") {
    server.Script({reply});
    program = std::make_unique<test::ProgramFolder>(
        "[System]\r\nloginurl=" + server.Url(loginPath) + "\r\n");
    if (withUpdater) {
      ::CopyFileW(test::InTestBin(L"..\\updater\\TalmicUpdate.exe").c_str(),
                  (*program / L"TalmicUpdate.exe").c_str(), FALSE);
    }
    record = *program / L"updater-record.txt";
    recordVariable = std::make_unique<test::ScopedEnvironment>(L"TALMIC_UPDATER_RECORD", record);
  }

  // Starts the client and waits for it to end, asking it to quit once its
  // main window shows; records whether that window appeared.
  // expectUpdater says how long to wait for the updater after the client
  // has ended: the shell starts it on its own, and a new process can take
  // seconds to come up on a busy machine.
  void Run(bool expectUpdater = false) {
    ASSERT_TRUE(program->IsReady());
    test::TestProcess client = program->Start();
    ASSERT_TRUE(client.IsStarted());
    sawWindow = test::RunToEnd(client, 60000);
    ASSERT_TRUE(client.HasExited());
    exitCode = client.ExitCode().value_or(0xFFFFFFFF);
    const ULONGLONG waitUntil = ::GetTickCount64() + (expectUpdater ? 20000 : 500);
    while (test::ReadFileBytes(record).find('\n') == std::string::npos &&
           ::GetTickCount64() < waitUntil) {
      ::Sleep(20);
    }
  }

  UpdaterRecord Record() const {
    const std::string text = test::ReadFileBytes(record);
    UpdaterRecord result;
    const size_t line = text.find('\n');
    if (line == std::string::npos) return result;
    result.commandLine = text.substr(0, line);
    result.folder = text.substr(line + 1, text.find('\n', line + 1) - line - 1);
    return result;
  }

  ScriptedHttpServer server;
  std::unique_ptr<test::ProgramFolder> program;
  std::wstring record;
  std::unique_ptr<test::ScopedEnvironment> recordVariable;
  // What follows the check is not under test here: without the engine the
  // client comes to its window quickly.
  test::ScopedEnvironment noEngine{L"TALMIC_BROWSER", test::kNoBrowserProgram};
  bool sawWindow = false;
  DWORD exitCode = 0xFFFFFFFF;
};

TEST(UpdateCheck, HandsOverOnlyForAnotherVersionWithFilesAndAnUpdater) {
  struct Case {
    const char* name;
    std::string reply;
    bool handOver;  // with the updater present; without it, never
  };
  const Case cases[] = {
      {"equal version", R"({"version":"1.0.0.0","upFiles":["Talmic.exe"]})", false},
      {"newer version", R"({"version":"1.0.0.1","upFiles":["Talmic.exe"]})", true},
      {"older version", R"({"version":"0.9","upFiles":[{"name":"a"}]})", true},
      {"number version", R"({"version":1,"upFiles":["x"]})", true},
      {"boolean version", R"({"version":true,"upFiles":["x"]})", true},
      {"missing version", R"({"upFiles":["x"]})", true},
      {"upFiles empty", R"({"version":"1.0.0.1","upFiles":[]})", false},
      {"upFiles an object", R"({"version":"1.0.0.1","upFiles":{"a":1}})", false},
      {"upFiles missing", R"({"version":"1.0.0.1"})", false},
      {"array root", R"([{"version":"1.0.0.1","upFiles":["x"]}])", false},
      {"invalid JSON", R"({"version":"1.0.0.1","upFiles":["x"])", false},
      {"version an array", R"({"version":["1.0.0.1"],"upFiles":["x"]})", false},
      {"version an object", R"({"version":{"v":"1.0.0.1"},"upFiles":["x"]})", false},
      {"comments allowed", "// reply\n{\"version\":\"2.0.0.0\", /* files */ \"upFiles\":[1]}",
       true},
      {"nested too deeply", std::string(5000, '[') + std::string(5000, ']'), false},
  };
  for (const Case& c : cases) {
    for (const bool withUpdater : {true, false}) {
      SCOPED_TRACE(::testing::Message()
                   << c.name << (withUpdater ? ", updater present" : ", updater absent"));
      UpdateRun run(ScriptedReply::Body(c.reply), withUpdater);
      run.Run(c.handOver && withUpdater);
      EXPECT_EQ(run.exitCode, 0u);
      // A hand-over ends the client before its window; otherwise start-up
      // goes on to it.
      EXPECT_EQ(run.sawWindow, !(c.handOver && withUpdater));
      ASSERT_EQ(run.server.Requests().size(), 1u) << "the client asked the server once";
      EXPECT_EQ(run.server.Requests()[0].requestLine,
                "POST /app/common/checkVersions.jhtml HTTP/1.1");
      const UpdaterRecord record = run.Record();
      if (c.handOver && withUpdater) {
        EXPECT_NE(record.commandLine.find("TalmicUpdate.exe"), std::string::npos)
            << record.commandLine;
        const std::string parameter = " TalmicUpdate";
        EXPECT_TRUE(record.commandLine.size() > parameter.size() &&
                    record.commandLine.compare(record.commandLine.size() - parameter.size(),
                                               parameter.size(), parameter) == 0)
            << record.commandLine;
      } else {
        EXPECT_TRUE(record.commandLine.empty()) << record.commandLine;
      }
    }
  }
}

TEST(UpdateCheck, AsksTheLoginPagesOwnServerWhateverShapeItsAddressHas) {
  struct Case {
    const char* loginPath;  // after "http://127.0.0.1:<port>"
    const char* requestLine;
  };
  const Case cases[] = {
      {"", "POST /common/checkVersions.jhtml HTTP/1.1"},
      {"?next=/a/b", "POST /common/checkVersions.jhtml HTTP/1.1"},
      {"/app/login.jhtml?back=/x/y", "POST /app/common/checkVersions.jhtml HTTP/1.1"},
      {"/app/#/login/form", "POST /app/common/checkVersions.jhtml HTTP/1.1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.loginPath);
    UpdateRun run(ScriptedReply::Body(R"({"version":"1.0.0.0","upFiles":[]})"), false, c.loginPath);
    run.Run();
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.server.Requests().size(), 1u) << "the client asked its own server once";
    EXPECT_EQ(run.server.Requests()[0].requestLine, c.requestLine);
  }
}

TEST(UpdateCheck, AFailedCheckLetsStartUpGoOn) {
  // Nothing answers: the check fails quietly and the client goes on to its
  // window, without starting the updater.
  UpdateRun run(ScriptedReply::Close(), true);
  run.Run();
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(run.sawWindow);
  EXPECT_TRUE(run.Record().commandLine.empty());
}

}  // namespace
