#include "src/ChromiumProcess.h"

#include <gtest/gtest.h>

#include "src/DevToolsSocket.h"
#include "tests/support/TempFolder.h"

namespace {

// Sends the request and returns the message that answers it, or nothing.
// Events may come first; the answer carries the request's id.
std::string AwaitReply(engine::DevToolsSocket& socket, int id, const std::string& request) {
  std::string message;
  if (!socket.Send(request)) return std::string();
  const std::string needle = "\"id\":" + std::to_string(id) + ",";
  for (int i = 0; i < 200 && socket.Receive(message); ++i) {
    if (message.find(needle) != std::string::npos) return message;
  }
  return std::string();
}

TEST(ChromiumProcess, FindsTheInstalledBrowser) {
  EXPECT_FALSE(engine::ChromiumProcess::FindExecutable().empty())
      << "the set-up installs Debian's Chromium";
}

TEST(ChromiumProcess, StartsHeadlessAnswersDevToolsAndStopsCleanly) {
  test::TempFolder profile;
  engine::ChromiumProcess browser;
  ASSERT_TRUE(browser.Start(engine::ChromiumProcess::FindExecutable(), profile / L"profile", {}));
  const uint16_t port = browser.DevToolsPort();
  ASSERT_NE(port, 0);
  EXPECT_EQ(browser.BrowserPath().rfind("/devtools/browser/", 0), 0u) << browser.BrowserPath();

  {
    engine::DevToolsSocket socket;
    ASSERT_TRUE(socket.Connect(port, browser.BrowserPath()));
    const std::string message = AwaitReply(
        socket, 7, R"({"id":7,"method":"Target.createTarget","params":{"url":"about:blank"}})");
    ASSERT_FALSE(message.empty()) << "no answer to the request";
    EXPECT_NE(message.find("\"targetId\""), std::string::npos) << message;
  }

  browser.Stop();
  EXPECT_FALSE(browser.IsRunning());
  EXPECT_FALSE(engine::LoopbackPortAnswers(port)) << "the browser still listens";
}

// The browser program shows no window of its own, so nothing should render
// the address bar's pop-ups: each would take a renderer of its own beside
// the page's, at every window's start.  A browser update that renames the
// features the launch turns off brings them back, and this says so.
TEST(ChromiumProcess, RunsNoBrowserInterfacePagesBesideThePages) {
  test::TempFolder profile;
  engine::ChromiumProcess browser;
  ASSERT_TRUE(browser.Start(engine::ChromiumProcess::FindExecutable(), profile / L"profile", {}));
  engine::DevToolsSocket socket;
  ASSERT_TRUE(socket.Connect(browser.DevToolsPort(), browser.BrowserPath()));
  // A second window, as the engine opens one for each browser.
  ASSERT_NE(AwaitReply(socket, 1,
                       R"({"id":1,"method":"Target.createTarget","params":{"url":"about:blank",)"
                       R"("newWindow":true}})")
                .find("\"targetId\""),
            std::string::npos);
  const std::string targets =
      AwaitReply(socket, 2, R"({"id":2,"method":"Target.getTargets","params":{}})");
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

}  // namespace
