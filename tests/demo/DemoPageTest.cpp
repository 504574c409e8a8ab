// The demo login page inside the real engine with the program's own browser
// code: its network panel shows what the page functions answer, its title
// buttons reach the main window when clicked through the browser window,
// its "new window" link stays in the one browser and its broken link ends
// on the error page.  The test's main window has the main window's class,
// so that the watcher `make run` uses can be checked on it.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "browser/BrowserWindowMessages.h"
#include "demo/PageWatch.h"
#include "include/cef_browser.h"
#include "netprobe/MacAddress.h"
#include "tests/support/BrowserFixture.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PageServer.h"
#include "tests/support/TempFolder.h"
#include "util/UniqueHandle.h"

namespace {

using test::WaitUntil;
using Received = test::BrowserFixture::Received;

constexpr int kWidth = 1200;
constexpr int kHeight = 800;

std::string ReadDemoFile(const char* name) {
  const char* folder = std::getenv("TALMIC_DEMO_DIR");
  if (folder == nullptr) return std::string();
  std::ifstream file(std::string(folder) + "\\" + name, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

// A loopback port that refuses connections: bound, never listening, and
// held for the program's life so nothing else takes it.
int RefusedPort() {
  static int port = [] {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET holder = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) return 0;
    int size = sizeof(address);
    ::getsockname(holder, reinterpret_cast<sockaddr*>(&address), &size);
    return static_cast<int>(ntohs(address.sin_port));
  }();
  return port;
}

class DemoPage : public test::BrowserFixture {
 protected:
  static void SetUpTestSuite() {
    RECT frame = {0, 0, kWidth, kHeight};
    ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    StartEngine({L"CBrowserWnd",
                 WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                 {frame.right - frame.left, frame.bottom - frame.top},
                 {0, 0, kWidth, kHeight}});
  }

  void SetUp() override {
    BrowserFixture::SetUp();
    if (HasFatalFailure()) return;
    std::string login = ReadDemoFile("login.html");
    ASSERT_FALSE(login.empty()) << "TALMIC_DEMO_DIR does not lead to the demo page";
    const std::string placeholder = "__REFUSED_PORT__";
    const size_t at = login.find(placeholder);
    ASSERT_NE(at, std::string::npos);
    ASSERT_NE(RefusedPort(), 0);
    login.replace(at, placeholder.size(), std::to_string(RefusedPort()));
    server.AddHtml("/app/login.jhtml", login);
    server.AddHtml("/app/help.jhtml", ReadDemoFile("help.html"));
    server.Add("/app/report", test::Page{204, "text/plain", "", ""});
    Inbox().clear();
    Browser()->GetMainFrame()->LoadURL(server.Url("/app/login.jhtml"));
    // The panel is filled once every query has answered ("正在读取…" gone).
    ASSERT_TRUE(Evaluate("panel|",
                         "document.getElementById('ipConfig').textContent"
                         "    .indexOf('\\u6B63\\u5728') >= 0 ? undefined"
                         "    : document.body.getAttribute('data-script-errors')",
                         &scriptErrors, 30000));
  }

  // Runs the expression in the page, again and again until the page is
  // there and the expression yields a value, and has that value sent back
  // as title text after the prefix.
  bool Evaluate(const std::string& prefix, const std::string& expression, std::string* result,
                DWORD timeoutMs = 15000) {
    const std::string script =
        "(function () {"
        "  if (typeof setTitleText !== 'function' || !document.getElementById('ipConfig')) return;"
        "  var value = " +
        expression +
        ";"
        "  if (value !== undefined) setTitleText('" +
        prefix + "' + value); })()";
    return WaitUntil(
        [&] {
          if (TitleTextAfter(prefix, result)) return true;
          Browser()->GetMainFrame()->ExecuteJavaScript(script, "", 0);
          WaitUntil([&] { return TitleTextAfter(prefix, result); }, 300);
          return TitleTextAfter(prefix, result);
        },
        timeoutMs);
  }

  // Clicks the element through the browser window, as a user's mouse would.
  void Click(const std::string& id) {
    Inbox().clear();
    std::string centre;
    ASSERT_TRUE(Evaluate("centre|",
                         "(function () { var e = document.getElementById('" + id +
                             "'); e.scrollIntoView({block: 'center'});"
                             " var r = e.getBoundingClientRect();"
                             " return Math.round(r.left + r.width / 2) + ',' +"
                             " Math.round(r.top + r.height / 2); })()",
                         &centre));
    const int x = std::atoi(centre.c_str());
    const int y = std::atoi(centre.c_str() + centre.find(',') + 1);
    Inbox().clear();
    HWND view = Browser()->GetHost()->GetWindowHandle();
    ::PostMessageW(view, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    ::PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }

  bool AddressBecame(const std::string& address) {
    return WaitUntil([&] {
      for (const Received& received : Named(WM_APP_ADDRESS_CHANGED)) {
        if (received.text == address) return true;
      }
      return false;
    });
  }

  std::string scriptErrors;
};

TEST_F(DemoPage, NetworkPanelShowsWhatThePageFunctionsAnswer) {
  EXPECT_EQ(scriptErrors, "0");
  std::string mac, state;
  ASSERT_TRUE(Evaluate("mac|", "document.getElementById('mac').textContent", &mac));
  ASSERT_TRUE(Evaluate("state|", "document.getElementById('client-state').textContent", &state));
  const std::string expected = GetMac();
  // "（未取得）" where the machine has no adapter to report.
  EXPECT_EQ(mac, expected.empty() ? "\xEF\xBC\x88\xE6\x9C\xAA\xE5\x8F\x96\xE5\xBE\x97\xEF\xBC\x89"
                                  : expected);
  // "以下信息由 Talmic 客户端提供。"
  EXPECT_EQ(state,
            "\xE4\xBB\xA5\xE4\xB8\x8B\xE4\xBF\xA1\xE6\x81\xAF\xE7\x94\xB1 Talmic "
            "\xE5\xAE\xA2\xE6\x88\xB7\xE7\xAB\xAF\xE6\x8F\x90\xE4\xBE\x9B\xE3\x80\x82");
  // The page tells its server once it has loaded and once the client answered.
  EXPECT_TRUE(WaitUntil([&] { return server.RequestsFor("/app/report") >= 2; }));
}

TEST_F(DemoPage, TitleButtonsReachTheMainWindowWhenClicked) {
  struct Case {
    const char* id;
    const char* text;  // the title text it sends
  };
  const Case cases[] = {
      {"title-hello", "\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8CTalmic"},  // 你好，Talmic
      {"title-reset", "Talmic"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    Click(c.id);
    EXPECT_TRUE(WaitUntil([&] { return HasTitleText(c.text); }));
  }
}

TEST_F(DemoPage, ColourSwatchesPostTheirColour) {
  // The swatches have no id; give each one for the click.
  std::string count;
  ASSERT_TRUE(Evaluate("swatches|",
                       "(function () { var s = document.querySelectorAll('.swatch');"
                       " for (var i = 0; i < s.length; ++i) s[i].id = 'swatch' + i;"
                       " return s.length; })() + ''",
                       &count));
  ASSERT_EQ(count, "4");
  const unsigned int colours[] = {0xFF0F4C81u, 0xFF16804Au, 0xFFC83028u, 0xFF374151u};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    Click("swatch" + std::to_string(i));
    EXPECT_TRUE(WaitUntil([&] {
      for (const Received& received : Named(WM_USER_TITLE_COLOR)) {
        if (received.wParam == colours[i]) return true;
      }
      return false;
    }));
  }
}

TEST_F(DemoPage, NewWindowLinkOpensHelpInTheSameBrowser) {
  Click("new-window");
  EXPECT_TRUE(AddressBecame(server.Url("/app/help.jhtml")));
  EXPECT_EQ(::FindWindowW(L"CefBrowserWindow", nullptr), nullptr) << "a new window opened";
}

TEST_F(DemoPage, BrokenLinkEndsOnTheErrorPage) {
  const std::string target = "http://127.0.0.1:" + std::to_string(RefusedPort()) + "/unreachable";
  Click("broken");
  ASSERT_TRUE(AddressBecame(target));
  std::string text;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const std::string script =
            "if (document.body && document.body.innerText.indexOf('Failed to load') >= 0)"
            " setTitleText('error|' + document.body.innerText);";
        Browser()->GetMainFrame()->ExecuteJavaScript(script, "", 0);
        WaitUntil([&] { return TitleTextAfter("error|", &text); }, 300);
        return TitleTextAfter("error|", &text);
      },
      20000));
  EXPECT_NE(text.find(target), std::string::npos) << text;
  EXPECT_NE(text.find("ERR_CONNECTION_REFUSED"), std::string::npos) << text;
}

TEST_F(DemoPage, WatcherFindsTheWindowSeesThePageAndSavesAPicture) {
  HWND main = demo::FindMainWindow(::GetCurrentProcessId());
  ASSERT_EQ(main, g_hMainWnd);
  EXPECT_EQ(demo::FindMainWindow(::GetCurrentProcessId() + 4), nullptr)
      << "a window of another process was taken";
  HWND view = demo::FindBrowserView(main);
  ASSERT_EQ(view, Browser()->GetHost()->GetWindowHandle());
  EXPECT_TRUE(WaitUntil([&] { return demo::ShowsDemoPage(view); }));

  test::TempFolder folder;
  const std::wstring picture = folder / L"shot.png";
  ASSERT_TRUE(demo::SaveScreenshot(main, picture));
  const CFileHandle file(::CreateFileW(picture.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file);
  unsigned char header[24] = {};
  DWORD got = 0;
  ASSERT_TRUE(::ReadFile(file.Get(), header, sizeof(header), &got, nullptr));
  ASSERT_EQ(got, sizeof(header));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(header), 8), "\x89PNG\r\n\x1a\n");
  // The picture is the window's whole frame (width and height, big-endian).
  RECT frame;
  ::GetWindowRect(main, &frame);
  const auto word = [&](int at) {
    return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
  };
  EXPECT_EQ(word(16), frame.right - frame.left);
  EXPECT_EQ(word(20), frame.bottom - frame.top);

  // The help page has no brand panel down its left edge.
  Click("new-window");
  ASSERT_TRUE(AddressBecame(server.Url("/app/help.jhtml")));
  EXPECT_TRUE(WaitUntil([&] { return !demo::ShowsDemoPage(view); }));
}

}  // namespace
