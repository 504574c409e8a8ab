// What the client hears about its browser: addresses, titles, loading,
// errors, popups, context menus and downloads.
#include <gtest/gtest.h>

#include "tests/engine/EngineHarness.h"
#include "tests/support/PageServer.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/TempFolder.h"

namespace enginetest {
namespace {

class EngineEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SharedEngine::Start());
    client = new TestClient();
  }
  void TearDown() override { CloseBrowser(client); }

  CefRefPtr<CefBrowser> Open(const std::string& url) {
    return OpenBrowser(host, client, url, 400, 300);
  }

  test::PageServer server;
  HostWindow host{400, 300};
  CefRefPtr<TestClient> client;
};

TEST_F(EngineEvents, AddressTitleAndLoadingFollowThePageOnTheEngineThread) {
  server.AddHtml("/one.html",
                 "<html><head><title>first</title></head><body><iframe src='/two.html'></iframe>"
                 "<script>setTimeout(() => { document.title = 'second 标题'; }, 100);</script>"
                 "</body></html>");
  server.AddHtml("/two.html", "<html><body>inner</body></html>");
  ASSERT_TRUE(Open(server.Url("/one.html")));
  EXPECT_TRUE(client->log.WaitFor("address", server.Url("/one.html")));
  EXPECT_TRUE(client->log.WaitFor("inner address", server.Url("/two.html")));
  EXPECT_TRUE(client->log.WaitFor("title", "first"));
  EXPECT_TRUE(client->log.WaitFor("title", "second 标题"));
  EXPECT_TRUE(client->log.WaitFor("loading", "done"));
  for (const char* name : {"address", "inner address", "title", "loading", "created"}) {
    for (const Event& event : client->log.Named(name)) {
      EXPECT_NE(event.thread, ::GetCurrentThreadId()) << name << " ran on the main thread";
    }
  }

  // Going on to a second page makes going back possible.
  server.AddHtml("/three.html", "<html><head><title>third</title></head></html>");
  client->log.Clear();
  client->Browser()->GetMainFrame()->LoadURL(server.Url("/three.html"));
  ASSERT_TRUE(client->log.WaitFor("title", "third"));
  ASSERT_TRUE(client->log.WaitFor("loading", "done"));
  EXPECT_EQ(client->log.Named("loading").back().number, 2) << "can go back, not forward";
  EXPECT_TRUE(client->Browser()->CanGoBack());
  EXPECT_EQ(client->Browser()->GetMainFrame()->GetURL().ToString(), server.Url("/three.html"));
}

TEST_F(EngineEvents, ARefusedConnectionReportsItsErrorAndTheErrorPageShows) {
  const std::string refused =
      "http://127.0.0.1:" + std::to_string(test::ScriptedHttpServer::RefusingPort()) + "/x";
  ASSERT_TRUE(Open(refused));
  ASSERT_TRUE(WaitUntil([&] { return client->log.Count("load error") > 0; }));
  const Event error = client->log.Named("load error").front();
  EXPECT_EQ(error.number, ERR_CONNECTION_REFUSED);
  EXPECT_EQ(error.detail, "ERR_CONNECTION_REFUSED " + refused);
  // The client's error page replaced the browser's, at the failed address.
  EXPECT_TRUE(client->log.WaitFor("title", "error page"));
  EXPECT_EQ(client->Browser()->GetMainFrame()->GetURL().ToString(), refused);
}

TEST_F(EngineEvents, ANavigationWithoutContentIsReportedAsAborted) {
  test::Page empty;
  empty.status = 204;
  server.Add("/empty", empty);
  server.AddHtml("/start.html", "<html><head><title>start</title></head></html>");
  ASSERT_TRUE(Open(server.Url("/start.html")));
  ASSERT_TRUE(client->log.WaitFor("title", "start"));
  client->Browser()->GetMainFrame()->LoadURL(server.Url("/empty"));
  ASSERT_TRUE(WaitUntil([&] { return client->log.Count("load error") > 0; }));
  EXPECT_EQ(client->log.Named("load error").front().number, ERR_ABORTED);
}

TEST_F(EngineEvents, PopupsAskTheClientWithTheirDisposition) {
  server.AddHtml("/target.html", "<html><head><title>target</title></head></html>");
  server.AddHtml("/opener.html",
                 "<html><head><title>opener</title></head><body style='margin:0'>"
                 "<a href='/target.html' target='_blank' style='display:block;width:400px;"
                 "height:300px'>link</a></body></html>");
  ASSERT_TRUE(Open(server.Url("/opener.html")));
  ASSERT_TRUE(client->log.WaitFor("title", "opener"));

  struct Case {
    const char* name;
    std::function<void()> open;
    int disposition;
  };
  const Case cases[] = {
      {"window.open with a size",
       [&] {
         client->Browser()->GetMainFrame()->ExecuteJavaScript(
             "window.open('/target.html', 'x', 'width=200,height=100')", "", 0);
       },
       WOD_NEW_POPUP},
      {"window.open plain",
       [&] {
         client->Browser()->GetMainFrame()->ExecuteJavaScript("window.open('/target.html')", "", 0);
       },
       WOD_NEW_FOREGROUND_TAB},
      {"link with a target",
       [&] {
         HWND view = client->Browser()->GetHost()->GetWindowHandle();
         ::SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
         ::SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
       },
       WOD_NEW_FOREGROUND_TAB},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    client->log.Clear();
    c.open();
    ASSERT_TRUE(WaitUntil([&] { return client->log.Count("popup") > 0; }));
    const Event popup = client->log.Named("popup").front();
    EXPECT_EQ(popup.detail, server.Url("/target.html"));
    EXPECT_EQ(popup.number, c.disposition);
    // The client loaded the target itself and refused the new window.
    EXPECT_TRUE(client->log.WaitFor("title", "target"));
    EXPECT_EQ(client->log.Count("created"), 0u) << "a popup browser was created";
    client->Browser()->GetMainFrame()->LoadURL(server.Url("/opener.html"));
    ASSERT_TRUE(client->log.WaitFor("title", "opener"));
  }
}

TEST_F(EngineEvents, ARightClickAsksForTheMenuAndAnEmptiedMenuShowsNothing) {
  server.AddHtml("/menu.html",
                 "<html><head><title>menu</title></head><body style='margin:0'>"
                 "<a href='/elsewhere' style='display:block;width:400px;height:300px'>x</a>"
                 "</body></html>");
  ASSERT_TRUE(Open(server.Url("/menu.html")));
  ASSERT_TRUE(client->log.WaitFor("title", "menu"));
  HWND view = client->Browser()->GetHost()->GetWindowHandle();
  ::SendMessageW(view, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 40));
  ::SendMessageW(view, WM_RBUTTONUP, 0, MAKELPARAM(40, 40));
  ASSERT_TRUE(WaitUntil([&] { return client->log.Count("context menu") > 0; }));
  const Event menu = client->log.Named("context menu").front();
  EXPECT_EQ(menu.detail, server.Url("/elsewhere")) << "the link under the pointer";
  EXPECT_GT(menu.number, 0) << "the engine's default menu has items";
  EXPECT_NE(menu.thread, ::GetCurrentThreadId());
  // Nothing pops up: no menu window appears.
  WaitUntil([] { return false; }, 500);
  EXPECT_EQ(::FindWindowW(L"#32768", nullptr), nullptr);
}

// Stops at the first edit control, storing it where the parameter points.
BOOL CALLBACK FindEdit(HWND child, LPARAM found) {
  wchar_t name[16] = {};
  ::GetClassNameW(child, name, 16);
  if (::lstrcmpiW(name, L"Edit") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

// The file name box of a save dialog: edt1 in the old dialog, the edit
// somewhere inside cmb13 (a combo box, or an extended one holding a combo
// box) in the explorer one.
HWND FileNameBox(HWND dialog) {
  if (HWND name = ::GetDlgItem(dialog, 0x480)) return name;
  HWND combo = ::GetDlgItem(dialog, 0x47C);
  if (combo == nullptr) return nullptr;
  HWND edit = nullptr;
  ::EnumChildWindows(combo, FindEdit, reinterpret_cast<LPARAM>(&edit));
  return edit;
}

// Adds a visible window's title to the text the parameter points at.
BOOL CALLBACK AddShownTitle(HWND window, LPARAM shown) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  if (::IsWindowVisible(window) && text[0] != 0) {
    *reinterpret_cast<std::string*>(shown) += CefString(text).ToString() + " | ";
    // A message box's text is in its static controls.
    if (::GetAncestor(window, GA_PARENT) == ::GetDesktopWindow()) {
      ::EnumChildWindows(window, AddShownTitle, shown);
    }
  }
  return TRUE;
}

// Answers the save dialog the engine shows: types the path and saves.
void AnswerSaveDialog(const std::wstring& path) {
  HWND dialog = nullptr;
  HWND name = nullptr;
  // The dialog window exists a while before it has filled in its controls;
  // it shows itself once it has.
  WaitUntil([&] {
    dialog = nullptr;
    for (HWND candidate = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr);
         candidate != nullptr;
         candidate = ::FindWindowExW(nullptr, candidate, L"#32770", nullptr)) {
      if (::IsWindowVisible(candidate) && FileNameBox(candidate) != nullptr) dialog = candidate;
    }
    name = dialog != nullptr ? FileNameBox(dialog) : nullptr;
    return name != nullptr;
  });
  ASSERT_NE(dialog, nullptr) << "no save dialog appeared";
  ASSERT_NE(name, nullptr) << "the save dialog has no file name box";
  ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  if (!WaitUntil([&] { return !::IsWindow(dialog); }, 5000)) {
    // Say what the dialog is showing instead: usually a complaint about the
    // path in a message box of its own.
    std::string shown;
    ::EnumWindows(AddShownTitle, reinterpret_cast<LPARAM>(&shown));
    ADD_FAILURE() << "the save dialog is still open; windows shown: " << shown;
  }
}

TEST_F(EngineEvents, ADownloadIsSavedWhereTheUserChoseInTheDialog) {
  test::Page file;
  file.contentType = "application/octet-stream";
  file.body = "downloaded bytes";
  file.headers = "Content-Disposition: attachment; filename=\"report.bin\"\r\n";
  server.Add("/report.bin", file);
  server.AddHtml("/start.html", "<html><head><title>start</title></head></html>");
  ASSERT_TRUE(Open(server.Url("/start.html")));
  ASSERT_TRUE(client->log.WaitFor("title", "start"));
  client->Browser()->GetMainFrame()->LoadURL(server.Url("/report.bin"));
  ASSERT_TRUE(WaitUntil([&] { return client->log.Count("download") > 0; }));
  EXPECT_EQ(client->log.Named("download").front().detail,
            "report.bin " + server.Url("/report.bin"));
  test::TempFolder folder;
  const std::wstring target = folder / L"saved.bin";
  AnswerSaveDialog(target);
  ASSERT_TRUE(WaitUntil([&] { return client->log.Count("download complete") > 0; }))
      << client->log.Describe();
  EXPECT_EQ(CefString(client->log.Named("download complete").front().detail).ToWString(), target);
  EXPECT_EQ(test::ReadFileBytes(target), "downloaded bytes");
}

}  // namespace
}  // namespace enginetest
