#include "src/ChromiumProcess.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "src/DevToolsPipe.h"
#include "tests/support/NativeProcesses.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"

namespace {

// Sends the request and returns the message that answers it, or nothing.
// Events may come first; the answer starts with the request's id.
std::string AwaitReply(engine::DevToolsPipe& pipe, int id, const std::string& request) {
  std::string message;
  if (!pipe.Send(request)) return std::string();
  const std::string start = "{\"id\":" + std::to_string(id) + ",";
  for (int i = 0; i < 200 && pipe.Receive(message) == engine::DevToolsPipe::Received::kMessage;
       ++i) {
    if (message.rfind(start, 0) == 0) return message;
  }
  return std::string();
}

TEST(ChromiumProcess, FindsTheInstalledBrowser) {
  EXPECT_FALSE(engine::ChromiumProcess::FindExecutable().empty())
      << "the set-up installs Debian's Chromium";
}

TEST(ChromiumProcess, StartsHeadlessAnswersOverItsPipeAndStopsCleanly) {
  test::TempFolder profile;
  engine::ChromiumProcess browser;
  ASSERT_TRUE(browser.Start(engine::ChromiumProcess::FindExecutable(), profile / L"profile", {}));
  ASSERT_TRUE(browser.IsRunning());
  const unsigned long pid = browser.NativeProcessId();
  ASSERT_NE(pid, 0u);
  EXPECT_TRUE(test::NativeProcessRuns(pid));
  // The pipes' private folder went as soon as both ends were open.
  for (const std::wstring& name : test::ListFolder(profile / L"profile")) {
    EXPECT_NE(name.rfind(L"devtools-", 0), 0u) << "left behind: " << name.c_str();
  }

  const std::string message =
      AwaitReply(*browser.Pipe(), 7,
                 R"({"id":7,"method":"Target.createTarget","params":{"url":"about:blank"}})");
  ASSERT_FALSE(message.empty()) << "no answer to the request";
  EXPECT_NE(message.find("\"targetId\""), std::string::npos) << message;

  browser.Stop();
  EXPECT_FALSE(browser.IsRunning());
  EXPECT_FALSE(test::NativeProcessRuns(pid)) << "Stop returned before the browser ended";
}

// The DevTools endpoint gives whoever reaches it the whole browser: every
// cookie, script in the application's pages.  A TCP port on the loopback
// interface is reachable by every local user, and by any page when web
// security is off; so no process of the browser may listen on one, even
// with pages loaded.
TEST(ChromiumProcess, NoProcessOfTheBrowserListensOnTcp) {
  test::TempFolder profile;
  engine::ChromiumProcess browser;
  ASSERT_TRUE(browser.Start(engine::ChromiumProcess::FindExecutable(), profile / L"profile", {}));
  ASSERT_FALSE(
      AwaitReply(*browser.Pipe(), 1,
                 R"({"id":1,"method":"Target.createTarget","params":{"url":"about:blank"}})")
          .empty());
  const std::vector<unsigned long> processes = test::NativeProcessTree(browser.NativeProcessId());
  ASSERT_GE(processes.size(), 2u) << "the browser and its helpers were not found";
  EXPECT_EQ(test::ListeningTcpPortsOf(processes), std::vector<unsigned>());
  browser.Stop();
}

// Stop returns only once the browser has let go of its profile: a browser
// started at once on the same profile would otherwise hand itself over to
// the one still ending, and end.
TEST(ChromiumProcess, ABrowserStartsOnTheProfileTheLastOneJustLeft) {
  test::TempFolder profile;
  engine::ChromiumProcess browser;
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(browser.Start(engine::ChromiumProcess::FindExecutable(), profile / L"profile", {}));
    EXPECT_FALSE(
        AwaitReply(*browser.Pipe(), 1, R"({"id":1,"method":"Target.getTargets"})").empty());
    browser.Stop();
  }
}

// The browser program shows no window of its own, so nothing should render
// the address bar's pop-ups: each would take a renderer of its own beside
// the page's, at every window's start.  A browser update that renames the
// features the launch turns off brings them back, and this says so.
TEST(ChromiumProcess, RunsNoBrowserInterfacePagesBesideThePages) {
  test::TempFolder profile;
  engine::ChromiumProcess browser;
  ASSERT_TRUE(browser.Start(engine::ChromiumProcess::FindExecutable(), profile / L"profile", {}));
  engine::DevToolsPipe& pipe = *browser.Pipe();
  // A second window, as the engine opens one for each browser.
  ASSERT_NE(AwaitReply(pipe, 1,
                       R"({"id":1,"method":"Target.createTarget","params":{"url":"about:blank",)"
                       R"("newWindow":true}})")
                .find("\"targetId\""),
            std::string::npos);
  const std::string targets =
      AwaitReply(pipe, 2, R"({"id":2,"method":"Target.getTargets","params":{}})");
  ASSERT_NE(targets.find("\"targetInfos\""), std::string::npos) << targets;
  EXPECT_NE(targets.find("\"type\":\"page\""), std::string::npos) << targets;
  EXPECT_EQ(targets.find("\"type\":\"browser_ui\""), std::string::npos) << targets;
  browser.Stop();
}

TEST(ChromiumProcess, AMissingBrowserStartsNothing) {
  test::TempFolder profile;
  engine::ChromiumProcess browser;
  EXPECT_FALSE(browser.Start(profile / L"no-such-browser.exe", profile / L"profile", {}));
  EXPECT_FALSE(browser.IsRunning());
  EXPECT_FALSE(browser.Start(L"", profile / L"profile", {}));
}

// A program that is not a browser starts, reads nothing and ends: the
// start fails at once when its pipe closes, and nothing is left behind.
TEST(ChromiumProcess, AProgramThatEndsAtOnceFailsTheStart) {
  test::TempFolder profile;
  engine::ChromiumProcess browser;
  EXPECT_FALSE(browser.Start(L"Z:\\bin\\true", profile / L"profile", {}));
  EXPECT_FALSE(browser.IsRunning());
  for (const std::wstring& name : test::ListFolder(profile / L"profile")) {
    EXPECT_NE(name.rfind(L"devtools-", 0), 0u) << "left behind: " << name.c_str();
  }
}

}  // namespace

namespace {

// Run as a program that the test below kills: it starts a browser on the
// profile it is given and waits, never stopping it.
TEST(ChromiumProcess, ProgramKilledWithItsBrowserRunning) {
  wchar_t profile[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"CHROMIUM_TEST_PROFILE", profile, MAX_PATH) == 0) {
    GTEST_SKIP() << "started by ANewBrowserWaitsForTheOneAKilledProgramLeft only";
  }
  engine::ChromiumProcess browser;
  ASSERT_TRUE(browser.Start(engine::ChromiumProcess::FindExecutable(), profile, {}));
  ::Sleep(INFINITE);
}

// A program killed outright leaves its browser ending by itself for a
// moment, still holding the profile; a browser started on that profile
// meanwhile, as when the program is started again at once, must wait for
// it rather than hand itself over to it and end.
TEST(ChromiumProcess, ANewBrowserWaitsForTheOneAKilledProgramLeft) {
  test::TempFolder folder;
  const std::wstring profile = folder / L"profile";
  test::ScopedEnvironment variable(L"CHROMIUM_TEST_PROFILE", profile);
  test::TestProcess program =
      test::TestProcess::StartOwnTest(L"ChromiumProcess.ProgramKilledWithItsBrowserRunning");
  ASSERT_TRUE(program.IsStarted());
  unsigned long earlier = 0;
  const ULONGLONG deadline = ::GetTickCount64() + 60000;
  while (::GetTickCount64() < deadline) {
    earlier = test::ProcessIdInFile(profile + L"\\BrowserProcessId");
    if (earlier != 0 && test::NativeProcessRuns(earlier)) break;
    ::Sleep(20);
  }
  ASSERT_TRUE(earlier != 0 && test::NativeProcessRuns(earlier))
      << "the program's browser never ran";
  program.Terminate();
  engine::ChromiumProcess browser;
  ASSERT_TRUE(browser.Start(engine::ChromiumProcess::FindExecutable(), profile, {}));
  EXPECT_FALSE(test::NativeProcessRuns(earlier));
  EXPECT_FALSE(AwaitReply(*browser.Pipe(), 1, R"({"id":1,"method":"Target.getTargets"})").empty());
  browser.Stop();
}

}  // namespace
