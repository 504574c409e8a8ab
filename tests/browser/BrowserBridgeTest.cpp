// The system's browser code on the real engine: the page functions, the
// title requests reaching the main window, and the client's handling of
// new windows, as a page in a real browser sees them.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "browser/BrowserWindowMessages.h"
#include "browser/CefBrowserApp.h"
#include "browser/CefBrowserEventHandler.h"
#include "include/cef_app.h"
#include "include/cef_browser.h"
#include "include/cef_command_line.h"
#include "netprobe/CommandCapture.h"
#include "tests/netprobe/ConsoleStandIns.h"
#include "tests/support/BrowserFixture.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PageServer.h"
#include "util/UniqueHandle.h"

namespace {

using test::WaitUntil;
using Received = test::BrowserFixture::Received;

// One engine, one main window and one browser for the whole program, as
// the application has.
class BrowserBridge : public test::BrowserFixture {
 protected:
  static void SetUpTestSuite() {
    StartEngine({L"BrowserBridgeMain", WS_OVERLAPPEDWINDOW, {640, 480}, {0, 0, 600, 400}});
  }

  // Loads a page of the test server and waits for its closing title text.
  void Run(const std::string& body, const std::string& marker) {
    server.AddHtml("/page.html", "<html><body>" + body + "</body></html>");
    Browser()->GetMainFrame()->LoadURL(server.Url("/page.html"));
    ASSERT_TRUE(WaitUntil([&] { return HasTitleText(marker); })) << "the page did not finish";
  }
};

TEST_F(BrowserBridge, TitleTextReachesTheMainWindowAsUtf8ByASend) {
  Run("<script>"
      "var none = setTitleText();"
      "setTitleText('a', 'b');"
      "setTitleText('\\u4F60\\u597D');"
      "setTitleText('done ' + typeof none);"
      "</script>",
      "done undefined");
  const std::vector<Received> texts = Named(WM_USER_TITLE_TEXT);
  ASSERT_EQ(texts.size(), 2u) << "two strings, or none, change nothing";
  EXPECT_EQ(texts[0].text, "\xE4\xBD\xA0\xE5\xA5\xBD");
  EXPECT_TRUE(texts[0].sent) << "the text is sent, so that it stays valid while it is read";
}

TEST_F(BrowserBridge, TitleColourIsPostedWithItsArithmetic) {
  struct Case {
    const char* arguments;
    unsigned int colour;
  };
  const Case cases[] = {
      {"255, 0, 0", 0xFFFF0000u},
      {"256, 0, 0", 0xFF000000u},  // red is masked
      {"0, 256, 0", 0xFF010000u},  // green is not: it runs into red
      {"0x12, 0x34, 0x56", 0xFF123456u},
      // Numbers that are not 32-bit integers read as 0, as the engine reads
      // a double's integer value.
      {"255.5, 0, 0", 0xFF000000u},
      {"'255', 0, 4294967295", 0xFFFFFFFFu},  // a string gives 0, a uint its bits
  };
  std::string script =
      "<script>var none = setTitleColor(); setTitleColor(1, 2);"
      "setTitleColor(1, 2, 3, 4);";
  for (const Case& c : cases) script += std::string("setTitleColor(") + c.arguments + ");";
  script += "setTitleText('done ' + typeof none);</script>";
  Run(script, "done undefined");
  ASSERT_TRUE(WaitUntil([&] { return Named(WM_USER_TITLE_COLOR).size() >= std::size(cases); }));
  // Nothing more arrives for the calls with the wrong number of arguments.
  WaitUntil([] { return false; }, 300);
  const std::vector<Received> colours = Named(WM_USER_TITLE_COLOR);
  ASSERT_EQ(colours.size(), std::size(cases));
  for (size_t i = 0; i < colours.size(); ++i) {
    SCOPED_TRACE(cases[i].arguments);
    EXPECT_EQ(colours[i].wParam, cases[i].colour);
    EXPECT_FALSE(colours[i].sent) << "the colour is posted";
  }
}

TEST_F(BrowserBridge, NetworkQueriesAnswerInTheTopPageAndInInnerFrames) {
  server.AddHtml("/inner.html",
                 "<html><body><script>setTitleText('inner ' + getMac());</script></body></html>");
  Run("<script>setTitleText('top ' + getMac());"
      "setTitleText('types ' + typeof getArp() + ' ' + typeof getIPConfig() + ' ' +"
      "  typeof getRouteMac());</script>"
      "<iframe src='/inner.html' onload=\"setTitleText('loaded')\"></iframe>",
      "loaded");
  std::string top, inner;
  for (const Received& text : Named(WM_USER_TITLE_TEXT)) {
    if (text.text.rfind("top ", 0) == 0) top = text.text.substr(4);
    if (text.text.rfind("inner ", 0) == 0) inner = text.text.substr(6);
  }
  // Empty where the machine has no NetBIOS adapter.
  EXPECT_TRUE(top.empty() || std::regex_match(top, std::regex("([0-9A-F]{2}-){5}[0-9A-F]{2}")))
      << top;
  EXPECT_TRUE(HasTitleText("inner " + top)) << "the inner frame got " << inner;
  EXPECT_TRUE(HasTitleText("types string string string"));
}

TEST_F(BrowserBridge, ConsoleOutputReachesThePageAsTheCharactersPrinted) {
  // A Chinese Windows prints ipconfig and arp in code page 936; read as
  // UTF-8 those lines would become replacement characters.
  ASSERT_EQ(ConsoleOutputCodePage(), 936u) << "the tests run under the Chinese locale";
  const test::ConsoleStandIns standIns;
  ASSERT_TRUE(standIns.Add(L"ipconfig", test::ReadRecording(L"ipconfig_zh_cp936.txt")));
  ASSERT_TRUE(standIns.Add(L"arp", test::ReadRecording(L"arp_table_zh_cp936.txt")));
  Run("<script>"
      "var ip = getIPConfig(), arp = getArp();"
      "setTitleText([ip.indexOf('\\u4ee5\\u592a\\u7f51\\u9002\\u914d\\u5668 "
      "\\u4ee5\\u592a\\u7f51:') >= 0,"                      // the adapter's heading
      "  ip.indexOf('\\u9ed8\\u8ba4\\u7f51\\u5173') >= 0,"   // default gateway
      "  arp.indexOf('\\u7269\\u7406\\u5730\\u5740') >= 0,"  // physical address
      "  ip.indexOf('\\ufffd') < 0 && arp.indexOf('\\ufffd') < 0,"
      "  getRouteMac()].join(' '));"
      "</script>",
      "true true true true e4-8d-8c-52-1a-30");
}

TEST_F(BrowserBridge, TheExtensionGivesEveryPageItsValueAndAFunctionNobodyHandles) {
  Run("<script>var outcome;"
      "try { outcome = String(test.myfunc()); } catch (e) { outcome = 'threw'; }"
      "setTitleText('ext ' + g_value + ' ' + (outcome === '60' ? 'handled' : 'unhandled'));"
      "</script>",
      "ext global value here unhandled");
}

TEST_F(BrowserBridge, NewWindowsOpenInTheSameBrowser) {
  // A window with a size comes as a new window, one without, and a link
  // to a new window, as a new tab.
  struct Case {
    const char* target;
    const char* opener;  // the opening markup, with %s for the target's address
  };
  const Case cases[] = {
      {"/target-window.html", "<script>window.open('%s', 'x', 'width=200,height=100');</script>"},
      {"/target-tab.html", "<script>window.open('%s');</script>"},
      {"/target-link.html",
       "<a id='link' href='%s' target='_blank'>new</a>"
       "<script>document.getElementById('link').click();</script>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    Inbox().clear();
    const std::string target = c.target;
    server.AddHtml(target,
                   "<html><body><script>setTitleText('" + target + "');</script></body></html>");
    std::string opener = c.opener;
    opener.replace(opener.find("%s"), 2, target);
    Run(opener, target);
    EXPECT_EQ(::FindWindowW(L"CefBrowserWindow", nullptr), nullptr) << "a new window opened";
    bool addressed = false;
    for (const Received& address : Named(WM_APP_ADDRESS_CHANGED)) {
      addressed = addressed || address.text == server.Url(target);
      EXPECT_TRUE(address.sent);
    }
    EXPECT_TRUE(addressed) << "no address change to the target";
  }
}

// A handler of its own, so that its list of browsers holds only the two
// this test opens; the engine's loop runs on a thread of its own.
TEST_F(BrowserBridge, TheLoopEndsWhenTheLastBrowserOfAHandlerCloses) {
  struct Loop {
    static DWORD WINAPI Run(void*) {
      CefRunMessageLoop();
      return 0;
    }
  };
  DWORD loopThreadId = 0;
  const CKernelHandle loopThread(::CreateThread(nullptr, 0, &Loop::Run, nullptr, 0, &loopThreadId));
  ASSERT_TRUE(loopThread);
  HANDLE loop = loopThread.Get();
  CefRefPtr<CefBrowserEventHandler> own = new CefBrowserEventHandler(g_hMainWnd);
  CefWindowInfo info;
  RECT area = {0, 0, 200, 100};
  info.SetAsChild(g_hMainWnd, area);
  CefRefPtr<CefBrowser> first = CefBrowserHost::CreateBrowserSync(info, own.get(), "about:blank",
                                                                  CefBrowserSettings(), nullptr);
  CefRefPtr<CefBrowser> second = CefBrowserHost::CreateBrowserSync(info, own.get(), "about:blank",
                                                                   CefBrowserSettings(), nullptr);
  ASSERT_TRUE(first && second);
  ASSERT_TRUE(WaitUntil([] { return Named(WM_APP_BROWSER_CREATED).size() >= 2; }));

  first->GetHost()->CloseBrowser(false);
  ASSERT_TRUE(WaitUntil([] { return Named(WM_USER_BROWSER_CLOSING).size() == 1; }));
  // The closing notice is posted before the browser leaves the list; give
  // the engine's thread time to finish with it before asking the loop.
  WaitUntil([] { return false; }, 500);
  EXPECT_EQ(::WaitForSingleObject(loop, 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the loop ended while a browser was still open";

  second->GetHost()->CloseBrowser(false);
  const bool ended = WaitUntil([&] { return ::WaitForSingleObject(loop, 0) == WAIT_OBJECT_0; });
  EXPECT_TRUE(ended) << "the last browser closed but the loop went on";
  EXPECT_EQ(Named(WM_USER_BROWSER_CLOSING).size(), 2u);
  if (!ended) ::PostThreadMessageW(loopThreadId, WM_QUIT, 0, 0);
  ::WaitForSingleObject(loop, 5000);
}

TEST(BrowserEventHandler, TheErrorPageNamesTheAddressTheErrorAndItsCodeAsText) {
  struct Case {
    const char* url;
    const char* error;
    int code;
    const char* page;
  };
  const Case cases[] = {
      {"http://x/a", "ERR_CONNECTION_REFUSED", -102,
       "<html><body bgcolor=\"white\"><h2>Failed to load URL http://x/a with error "
       "ERR_CONNECTION_REFUSED (-102).</h2></body></html>"},
      // Markup, entities and quotes in the address or the error text are
      // shown, never taken as markup.
      {"http://x/<img src=y onerror=\"setTitleText('owned')\">?a=1&copy=2", "E<b>'", 7,
       "<html><body bgcolor=\"white\"><h2>Failed to load URL http://x/&lt;img src=y "
       "onerror=&quot;setTitleText(&#39;owned&#39;)&quot;&gt;?a=1&amp;copy=2 with error "
       "E&lt;b&gt;&#39; (7).</h2></body></html>"},
      {"", "", 0,
       "<html><body bgcolor=\"white\"><h2>Failed to load URL  with error  (0).</h2></body></html>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CefBrowserEventHandler::ErrorPage(c.url, c.error, c.code), c.page) << c.url;
  }
}

TEST(BrowserApp, SwitchesGoToTheBrowserProcessOnlyAndExtensionsOffInChildren) {
  CefRefPtr<CefBrowserApp> app = new CefBrowserApp();
  CefRefPtr<CefCommandLine> browserProcess = CefCommandLine::CreateCommandLine();
  browserProcess->InitFromString(L"browser.exe");
  app->OnBeforeCommandLineProcessing("", browserProcess);
  EXPECT_TRUE(browserProcess->HasSwitch("disable-web-security"));
  EXPECT_EQ(browserProcess->GetSwitchValue("ppapi-flash-version").ToString(), "18.0.0.209");
  EXPECT_EQ(browserProcess->GetSwitchValue("ppapi-flash-path").ToString(), "pepflashplayer.dll");
  EXPECT_FALSE(browserProcess->HasSwitch("disable-extensions"));

  CefRefPtr<CefCommandLine> subProcess = CefCommandLine::CreateCommandLine();
  subProcess->InitFromString(L"browser.exe --type=renderer");
  const std::string before = subProcess->GetCommandLineString().ToString();
  app->OnBeforeCommandLineProcessing("renderer", subProcess);
  EXPECT_EQ(subProcess->GetCommandLineString().ToString(), before);

  CefRefPtr<CefCommandLine> child = CefCommandLine::CreateCommandLine();
  child->InitFromString(L"browser.exe");
  app->OnBeforeChildProcessLaunch(child);
  EXPECT_TRUE(child->HasSwitch("disable-extensions"));
  EXPECT_EQ(std::string(CefBrowserApp::kExtensionCode).size(), 171u);
}

TEST_F(BrowserBridge, AddressesTitlesAndLoadingReachTheMainWindow) {
  server.AddHtml("/inner.html", "<html><body>inner</body></html>");
  server.AddHtml("/next.html",
                 "<html><head><title>next</title></head><body>"
                 "<script>setTitleText('next done');</script></body></html>");
  Run("<iframe src='/inner.html' onload=\"setTitleText('framed')\"></iframe>", "framed");
  Browser()->GetMainFrame()->LoadURL(server.Url("/next.html"));
  ASSERT_TRUE(WaitUntil([] { return HasTitleText("next done"); }));
  ASSERT_TRUE(WaitUntil([] {
    for (const Received& loading : Named(WM_APP_LOADING_STATE)) {
      if (loading.text.empty() && !loading.sent) return true;
    }
    return false;
  }));
  bool inner = false, next = false;
  for (const Received& address : Named(WM_APP_ADDRESS_CHANGED)) {
    EXPECT_TRUE(address.sent);
    EXPECT_EQ(reinterpret_cast<HWND>(address.wParam), Browser()->GetHost()->GetWindowHandle());
    inner = inner || address.text == server.Url("/inner.html");
    next = next || address.text == server.Url("/next.html");
  }
  EXPECT_TRUE(inner) << "the inner frame's address was not reported";
  EXPECT_TRUE(next);
  // The title comes back from the page on its own path, which may still be
  // on its way when the load has ended.
  EXPECT_TRUE(WaitUntil([] {
    for (const Received& title : Named(WM_APP_TITLE_CHANGED)) {
      if (title.text == "next") return true;
    }
    return false;
  }));
  for (const Received& title : Named(WM_APP_TITLE_CHANGED)) EXPECT_TRUE(title.sent);
  for (const Received& loading : Named(WM_APP_LOADING_STATE)) {
    EXPECT_FALSE(loading.sent) << "the loading state is posted";
    EXPECT_EQ(reinterpret_cast<HWND>(loading.wParam), Browser()->GetHost()->GetWindowHandle());
  }
}

TEST_F(BrowserBridge, ARefusedAddressShowsTheErrorPageWithTheAddressAsText) {
  // A port nobody listens on: the server's, once it is gone.
  std::string refused;
  {
    test::PageServer gone;
    refused = gone.Url("/nothing");
  }
  // The second address holds what a browser keeps as it is in a URL but
  // HTML would read as an entity ("&copy" is the copyright sign).
  for (const std::string& address : {refused, refused + "?a=1&copy=2&lt;b&gt;"}) {
    Browser()->GetMainFrame()->LoadURL(address);
    // The error page names the address, the error and its code; the page
    // functions are there too, so the page can say what it shows.
    const std::string expected =
        "Failed to load URL " + address + " with error ERR_CONNECTION_REFUSED (-102).";
    bool shown = false;
    for (int attempt = 0; attempt < 60 && !shown; ++attempt) {
      Browser()->GetMainFrame()->ExecuteJavaScript(
          "if (document.body) setTitleText(document.body.innerText.trim())", "", 0);
      shown = WaitUntil([&] { return HasTitleText(expected); }, 500);
    }
    EXPECT_TRUE(shown) << expected;
  }
}

TEST_F(BrowserBridge, ARightClickShowsNoMenu) {
  Run("<a href='/elsewhere' style='display:block;width:600px;height:400px'>link</a>"
      "<script>addEventListener('contextmenu', function () {"
      "  setTimeout(function () { setTitleText('asked'); }, 0); });"
      "setTitleText('ready');</script>",
      "ready");
  HWND view = Browser()->GetHost()->GetWindowHandle();
  ::PostMessageW(view, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 40));
  ::PostMessageW(view, WM_RBUTTONUP, 0, MAKELPARAM(40, 40));
  ASSERT_TRUE(WaitUntil([] { return HasTitleText("asked"); }))
      << "the click never reached the page";
  // The engine's menu would be up by now had the client left it any items.
  WaitUntil([] { return ::FindWindowW(L"#32768", nullptr) != nullptr; }, 1000);
  EXPECT_EQ(::FindWindowW(L"#32768", nullptr), nullptr) << "a context menu showed";
}

}  // namespace
