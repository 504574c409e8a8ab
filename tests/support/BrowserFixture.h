// The system's browser code on the real engine, as the application runs it:
// one engine, one main window and one browser for a whole test program.  The
// main window records the private messages the browser code sends or posts
// it, so that tests can read what a page asked for and what the client
// reported.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "browser/CefBrowserApp.h"
#include "browser/CefBrowserEventHandler.h"
#include "include/cef_browser.h"
#include "tests/support/PageServer.h"
#include "tests/support/TempFolder.h"

namespace test {

class BrowserFixture : public ::testing::Test {
 public:
  // A message the main window received.
  struct Received {
    UINT message;
    WPARAM wParam;
    std::string text;  // the UTF-8 or UTF-16 text it pointed at, as UTF-8
    bool sent;         // sent from another thread rather than posted
  };

  // Every recorded message since the inbox was last cleared, oldest first.
  static std::vector<Received>& Inbox();
  // The recorded messages of one kind.
  static std::vector<Received> Named(UINT message);
  // Whether the page sent this title text.
  static bool HasTitleText(const std::string& text);
  // The last title text that began with the prefix, without the prefix;
  // false when none did.
  static bool TitleTextAfter(const std::string& prefix, std::string* rest);

 protected:
  // The main window as a suite wants it: its window class, its style, its
  // outer size, and where the browser sits in its client area.
  struct MainWindow {
    const wchar_t* className;
    DWORD style;
    SIZE size;
    RECT view;
  };

  // Opens the main window, starts the engine and creates the browser;
  // called from each suite's SetUpTestSuite.  A failure shows in SetUp.
  static void StartEngine(const MainWindow& window);
  static void TearDownTestSuite();

  // Fails when the engine did not start or the browser never reported
  // itself, and clears the inbox.
  void SetUp() override;

  static CefRefPtr<CefBrowser> Browser() { return s_browser; }

  PageServer server;

 private:
  static TempFolder* s_cache;
  static CefRefPtr<CefBrowserApp> s_app;
  static CefRefPtr<CefBrowserEventHandler> s_handler;
  static CefRefPtr<CefBrowser> s_browser;
  static bool s_started;
  static bool s_created;
};

}  // namespace test
