#include "src/ChromiumProcess.h"

#include <gtest/gtest.h>

#include "src/DevToolsSocket.h"
#include "tests/support/TempFolder.h"

namespace {

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
    ASSERT_TRUE(
        socket.Send(R"({"id":7,"method":"Target.createTarget","params":{"url":"about:blank"}})"));
    // Events may come first; the answer carries the request's id.
    std::string message;
    bool answered = false;
    for (int i = 0; i < 50 && !answered && socket.Receive(message); ++i) {
      answered = message.find("\"id\":7") != std::string::npos;
    }
    ASSERT_TRUE(answered) << message;
    EXPECT_NE(message.find("\"targetId\""), std::string::npos) << message;
  }

  browser.Stop();
  EXPECT_FALSE(browser.IsRunning());
  EXPECT_FALSE(engine::LoopbackPortAnswers(port)) << "the browser still listens";
}

TEST(ChromiumProcess, AMissingBrowserStartsNothing) {
  test::TempFolder profile;
  engine::ChromiumProcess browser;
  EXPECT_FALSE(browser.Start(profile / L"no-such-browser.exe", profile / L"profile", {}));
  EXPECT_FALSE(browser.IsRunning());
  EXPECT_FALSE(browser.Start(L"", profile / L"profile", {}));
}

}  // namespace
