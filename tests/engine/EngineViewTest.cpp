// The browser's window: the page's pixels in it, its size followed by the
// page, and input reaching the page.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/engine/EngineHarness.h"
#include "tests/support/PageServer.h"
#include "tests/support/WindowProbe.h"

namespace enginetest {
namespace {

// Moving pictures arrive compressed, which may move a channel by a step or
// two; once the page is still the engine paints an exact picture, but the
// tolerance keeps the test about the colour, not about which picture won.
bool Near(uint32_t actual, uint32_t expected) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>((actual >> shift) & 0xFF);
    const int e = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - e) > 3) return false;
  }
  return true;
}

uint32_t PixelOf(HWND window, int x, int y) {
  const test::Pixels pixels = test::CaptureWindow(window);
  if (x >= pixels.width || y >= pixels.height) return 0xFFFFFFFF;
  return pixels.At(x, y);
}

class EngineView : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SharedEngine::Start());
    client = new TestClient();
  }
  void TearDown() override { CloseBrowser(client); }

  test::PageServer server;
  HostWindow host{400, 300};
  CefRefPtr<TestClient> client;
};

TEST_F(EngineView, ThePageFillsTheWindowAndFollowsItsSize) {
  server.AddHtml(
      "/solid.html",
      "<html><head><title>solid</title></head>"
      "<body style='margin:0;background:#3366cc'><script>"
      "addEventListener('resize', () => { document.title = innerWidth + 'x' + innerHeight; });"
      "</script></body></html>");
  ASSERT_TRUE(OpenBrowser(host, client, server.Url("/solid.html"), 400, 300));
  ASSERT_TRUE(client->log.WaitFor("title", "solid"));
  HWND view = client->Browser()->GetHost()->GetWindowHandle();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(::GetParent(view), host.Handle());
  EXPECT_TRUE(WaitUntil([&] { return Near(PixelOf(view, 200, 150), 0x3366CC); }))
      << std::hex << PixelOf(view, 200, 150);
  // The first frame may still be one drawn before the page had its full
  // size; a later one fills the corner.
  EXPECT_TRUE(WaitUntil([&] { return Near(PixelOf(view, 395, 295), 0x3366CC); }))
      << "the corner is the page's too";

  // Growing the window grows the page, and the new part shows the page.
  ::MoveWindow(view, 0, 0, 380, 280, TRUE);
  EXPECT_TRUE(client->log.WaitFor("title", "380x280"));
  EXPECT_TRUE(WaitUntil([&] { return Near(PixelOf(view, 375, 275), 0x3366CC); }));
  ::MoveWindow(view, 0, 0, 400, 300, TRUE);
  EXPECT_TRUE(client->log.WaitFor("title", "400x300"));
  EXPECT_TRUE(WaitUntil([&] { return Near(PixelOf(view, 395, 295), 0x3366CC); }))
      << std::hex << PixelOf(view, 395, 295);
}

TEST_F(EngineView, ClicksAndTypingReachThePage) {
  server.AddHtml("/input.html",
                 "<html><head><title>ready</title></head><body style='margin:0'>"
                 "<button id=b style='position:absolute;left:0;top:0;width:200px;height:100px'"
                 " onclick=\"document.title='clicked'\">press</button>"
                 "<input id=t style='position:absolute;left:0;top:150px;width:200px;height:40px'"
                 " oninput=\"document.title='typed:'+this.value\"></body></html>");
  ASSERT_TRUE(OpenBrowser(host, client, server.Url("/input.html"), 400, 300));
  ASSERT_TRUE(client->log.WaitFor("title", "ready"));
  HWND view = client->Browser()->GetHost()->GetWindowHandle();

  ::PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
  ::PostMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(100, 50));
  EXPECT_TRUE(client->log.WaitFor("title", "clicked"));

  ::PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 170));
  ::PostMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(100, 170));
  for (const wchar_t c : std::wstring(L"ab好")) {
    ::PostMessageW(view, WM_CHAR, c, 1);
  }
  EXPECT_TRUE(client->log.WaitFor("title", "typed:ab好")) << LastTitle(*client);
  // Backspace is a key, not a character of the text.
  ::PostMessageW(view, WM_KEYDOWN, VK_BACK, 1);
  ::PostMessageW(view, WM_CHAR, L'\b', 1);
  ::PostMessageW(view, WM_KEYUP, VK_BACK, 1 | (1u << 30) | (1u << 31));
  EXPECT_TRUE(client->log.WaitFor("title", "typed:ab")) << LastTitle(*client);
}

}  // namespace
}  // namespace enginetest
