// The page's prompt: a dialog of the engine's own, owned by the browser's
// top-level window, whose answer the page gets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/EngineHarness.h"
#include "tests/support/PageServer.h"
#include "tests/support/WindowProbe.h"

namespace enginetest {
namespace {

// The prompt's text field, as the engine's dialog numbers it.
constexpr int kPromptText = 101;

// The shown dialog (the system's dialog class) of this process, or null.
HWND ShownDialog() {
  for (HWND window : test::TopLevelWindowsOf(::GetCurrentProcessId(), true)) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (std::wstring(name) == L"#32770") return window;
  }
  return nullptr;
}

TEST(EnginePrompt, ThePageGetsWhatTheUserAnswers) {
  ASSERT_TRUE(SharedEngine::Start());
  test::PageServer server;
  server.AddHtml("/prompt.html",
                 "<html><head><title>asking</title></head><body><script>"
                 "onload=()=>setTimeout(()=>{const a=prompt('你的名字?','someone');"
                 "document.title='answer:'+a;})</script></body></html>");
  struct Case {
    const char* what;
    const wchar_t* typed;  // null: the proposed text stays
    WORD button;
    const char* title;
  };
  const Case cases[] = {
      {"typed and accepted", L"李雷 & co", IDOK, "answer:李雷 & co"},
      {"accepted as proposed", nullptr, IDOK, "answer:someone"},
      {"cancelled", L"not this", IDCANCEL, "answer:null"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostWindow host(400, 300);
    CefRefPtr<TestClient> client = new TestClient();
    ASSERT_TRUE(OpenBrowser(host, client, server.Url("/prompt.html"), 400, 300));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = ShownDialog()) != nullptr; }))
        << "no prompt showed";
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), host.Handle());
    EXPECT_FALSE(::IsWindowEnabled(host.Handle())) << "the prompt is modal";
    wchar_t proposed[64] = {};
    ::GetDlgItemTextW(dialog, kPromptText, proposed, 64);
    EXPECT_STREQ(proposed, L"someone");
    if (c.typed != nullptr) ::SetDlgItemTextW(dialog, kPromptText, c.typed);
    ::PostMessageW(dialog, WM_COMMAND, c.button, 0);
    EXPECT_TRUE(client->log.WaitFor("title", c.title)) << LastTitle(*client);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
    CloseBrowser(client);
  }
}

}  // namespace
}  // namespace enginetest
