// Painting read back from real windows: the double-buffered copy of the
// dirty area, post-painting, layered windows pushed with
// UpdateLayeredWindow (the dirty-rectangle union, clearing between
// frames, the rich-edit corner), and the window geometry settings.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/support/WindowProbe.h"
#include "tests/toolkit/core/ProbeControl.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CContainerUI;
using SkinUI::CControlUI;
using test::SkinTestWindow;

// Draws a filled rectangle after the tree and counts its calls.
class Overlay : public CControlUI {
 public:
  Overlay(RECT area, DWORD colour) : m_area(area), m_colour(colour) {}
  void DoPostPaint(HDC dc, const RECT& /*paint*/) override {
    ++calls;
    SkinUI::CRenderEngine::DrawColor(dc, m_area, m_colour);
  }
  int calls = 0;

 private:
  RECT m_area;
  DWORD m_colour;
};

CControlUI* Block(CContainerUI* root, const wchar_t* pos, DWORD colour) {
  auto* control = new CControlUI;
  control->SetAttribute(L"float", L"true");
  control->SetAttribute(L"pos", pos);
  control->SetBkColor(colour);
  root->Add(control);
  return control;
}

TEST(DoubleBufferedPaint, TheTreeAndItsOverlaysReachTheWindow) {
  SkinTestWindow window(200, 100);
  auto* root = new CContainerUI;
  root->SetBkColor(0xFF204080);
  CControlUI* block = Block(root, L"10,10,60,40", 0xFFFF0000);
  window.Manager().AttachDialog(root);
  Overlay overlay(RECT{100, 50, 120, 70}, 0xFF00FF00);
  window.Manager().AddPostPaint(&overlay);
  EXPECT_EQ(window.Manager().GetPostPaintCount(), 1);
  window.Paint();
  EXPECT_EQ(window.Pixel(150, 20), 0x204080u);
  EXPECT_EQ(window.Pixel(20, 20), 0xFF0000u);
  EXPECT_EQ(window.Pixel(110, 60), 0x00FF00u);
  EXPECT_GE(overlay.calls, 1);

  // Only the dirty part is painted again and copied.
  block->SetBkColor(0xFF0000FF);
  window.Manager().RemovePostPaint(&overlay);
  ::InvalidateRect(window.Get(), nullptr, FALSE);  // would repaint the overlay's area
  ::ValidateRect(window.Get(), nullptr);
  RECT dirty = {10, 10, 60, 40};
  window.Manager().Invalidate(dirty);
  window.Paint();
  EXPECT_EQ(window.Pixel(20, 20), 0x0000FFu);
  EXPECT_EQ(window.Pixel(110, 60), 0x00FF00u);  // outside the dirty part: as it was
}

TEST(DoubleBufferedPaint, InvalidationIsClampedToTheClientOrigin) {
  SkinTestWindow window(200, 100);
  window.Manager().AttachDialog(new CContainerUI);
  window.Paint();
  window.Validate();
  RECT rc = {-10, -5, -20, 30};
  window.Manager().Invalidate(rc);
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.top, 0);
  EXPECT_EQ(rc.right, 0);  // not left of its left
  EXPECT_EQ(rc.bottom, 30);
}

TEST(DoubleBufferedPaint, ResizingLaysTheTreeOutAgain) {
  SkinTestWindow window(200, 100);
  auto* root = new CContainerUI;
  root->SetBkColor(0xFF123456);
  window.Manager().AttachDialog(root);
  window.Paint();
  ::SetWindowPos(window.Get(), nullptr, 0, 0, 260, 130, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  window.Paint();
  EXPECT_EQ(root->GetPos().right, 260);
  EXPECT_EQ(root->GetPos().bottom, 130);
  EXPECT_EQ(window.Pixel(250, 120), 0x123456u);
}

TEST(WindowSettings, InitialSizeAndStoredValues) {
  SkinTestWindow window(200, 100);
  window.Manager().SetInitSize(240, 120);  // no tree yet: the window takes the size
  RECT rc = {};
  ::GetWindowRect(window.Get(), &rc);
  EXPECT_EQ(rc.right - rc.left, 240);
  EXPECT_EQ(rc.bottom - rc.top, 120);
  EXPECT_EQ(window.Manager().GetClientSize().cx, 240);
  window.Manager().AttachDialog(new CContainerUI);
  window.Manager().SetInitSize(300, 300);  // a tree exists: only stored
  ::GetWindowRect(window.Get(), &rc);
  EXPECT_EQ(rc.right - rc.left, 240);
  EXPECT_EQ(window.Manager().GetInitSize().cx, 300);

  window.Manager().SetRoundCorner(4, 5);
  EXPECT_EQ(window.Manager().GetRoundCorner().cy, 5);
  window.Manager().SetSizeBox(RECT{1, 2, 3, 4});
  EXPECT_EQ(window.Manager().GetSizeBox().bottom, 4);
  window.Manager().SetCaptionRect(RECT{0, 0, 0, 30});
  EXPECT_EQ(window.Manager().GetCaptionRect().bottom, 30);
  window.Manager().SetUseGdiplusText(true);
  EXPECT_TRUE(window.Manager().IsUseGdiplusText());
}

TEST(WindowSettings, TransparencyMakesTheWindowLayered) {
  SkinTestWindow window(200, 100);
  EXPECT_EQ(window.Manager().GetTransparent(), 255);
  window.Manager().SetTransparent(128);
  EXPECT_EQ(window.Manager().GetTransparent(), 128);
  EXPECT_NE(::GetWindowLongPtrW(window.Get(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(window.Get(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  window.Manager().SetTransparent(300);  // out of range: stored clamped, no longer layered
  EXPECT_EQ(window.Manager().GetTransparent(), 255);
  EXPECT_EQ(::GetWindowLongPtrW(window.Get(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

// --- Layered windows ------------------------------------------------------------

// A layered window at a known screen place, read back from the screen.
class LayeredWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window.Manager().SetUseLayeredWindow(true);
    root = new CContainerUI;
    root->SetBkColor(0xFF336699);
    block = Block(root, L"10,10,60,40", 0xFFFF0000);
    window.Manager().AttachDialog(root);
    window.Paint();
  }
  uint32_t Screen(int x, int y) {
    test::Pixels pixels = test::CaptureWindow(window.Get());
    if (pixels.width == 0) return 0xDEADBEEF;
    return pixels.At(x, y);
  }

  SkinTestWindow window{200, 100, 300, 200};
  CContainerUI* root = nullptr;
  CControlUI* block = nullptr;
};

TEST_F(LayeredWindow, TheFrameIsPushedWithUpdateLayeredWindow) {
  EXPECT_NE(::GetWindowLongPtrW(window.Get(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_EQ(Screen(150, 50), 0x336699u);
  EXPECT_EQ(Screen(20, 20), 0xFF0000u);
}

TEST_F(LayeredWindow, RepaintsShowNoTraceOfEarlierFrames) {
  // Fully opaque red first, then a translucent colour over the same
  // place, several times: the old red must not shine through.
  root->SetBkColor(0);
  block->SetBkColor(0x80FFFFFF);
  for (int i = 0; i < 3; ++i) {
    block->Invalidate();
    window.Paint();
  }
  // Premultiplied half-white over nothing: 0x80 in every channel, shown
  // on a screen without composition as that colour (within rounding).
  const uint32_t shown = Screen(20, 20);
  EXPECT_LE(shown & 0xFF, 0x81u) << std::hex << shown;
  EXPECT_EQ((shown >> 16) & 0xFF, shown & 0xFF) << std::hex << shown;  // no red left
  EXPECT_LE((shown >> 16) & 0xFF, 0x81u) << std::hex << shown;
}

// The two ways of painting need different back buffers: the one of a
// window that painted normally first cannot be pushed as a layered frame.
TEST(LayeredPaint, AWindowTurnedLayeredAfterPaintingShowsItsTree) {
  SkinTestWindow window(200, 100, 300, 200);
  auto* root = new CContainerUI;
  root->SetBkColor(0xFF336699);
  Block(root, L"10,10,60,40", 0xFFFF0000);
  window.Manager().AttachDialog(root);
  window.Paint();
  ASSERT_EQ(window.Pixel(20, 20), 0xFF0000u);

  window.Manager().SetUseLayeredWindow(true);
  root->SetBkColor(0xFF00FF00);
  window.Paint();
  EXPECT_NE(::GetWindowLongPtrW(window.Get(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  const test::Pixels pixels = test::CaptureWindow(window.Get());
  ASSERT_NE(pixels.width, 0);
  EXPECT_EQ(pixels.At(20, 20), 0xFF0000u);
  EXPECT_EQ(pixels.At(150, 50), 0x00FF00u);
}

TEST(LayeredPaint, OnlyTheDirtyUnionIsRepaintedUntilARestore) {
  // A root whose colour changes without telling anyone, so that only
  // what the manager repaints shows the change.
  struct SilentRoot : CContainerUI {
    DWORD colour = 0xFF336699;
    void PaintBkColor(HDC dc) override { SkinUI::CRenderEngine::DrawColor(dc, m_rcItem, colour); }
  };
  SkinTestWindow window(200, 100, 300, 200);
  window.Manager().SetUseLayeredWindow(true);
  auto* root = new SilentRoot;
  window.Manager().AttachDialog(root);
  window.Paint();
  auto screen = [&window](int x, int y) { return test::CaptureWindow(window.Get()).At(x, y); };
  ASSERT_EQ(screen(150, 50), 0x336699u);

  root->colour = 0xFF00FF00;
  RECT left = {0, 0, 20, 20};
  RECT right = {180, 80, 200, 100};
  window.Manager().Invalidate(left);
  window.Manager().Invalidate(right);
  window.Validate();  // the system forgets; the manager's union stays
  RECT tiny = {100, 0, 101, 1};
  window.Manager().Invalidate(tiny);
  window.Paint();
  // The union of the recorded rectangles spans the whole window here.
  EXPECT_EQ(screen(150, 50), 0x00FF00u);

  root->colour = 0xFFFF0000;
  window.Manager().Invalidate(left);
  window.Paint();
  EXPECT_EQ(screen(10, 10), 0xFF0000u);
  EXPECT_EQ(screen(150, 50), 0x00FF00u);  // outside the dirty area: the last frame

  // A system restore makes the next frame whole.
  LRESULT result = 0;
  window.Manager().MessageHandler(WM_SYSCOMMAND, SC_RESTORE, 0, result);
  window.Manager().Invalidate(tiny);
  window.Paint();
  EXPECT_EQ(screen(150, 50), 0xFF0000u);
}

// A white window of the given size behind the layered one under test, so
// that whatever the layered window leaves transparent shows white.
std::unique_ptr<SkinTestWindow> WhiteBackdrop(int width, int height) {
  auto backdrop = std::make_unique<SkinTestWindow>(width, height, 300, 200);
  auto* white = new CContainerUI;
  white->SetBkColor(0xFFFFFFFF);
  backdrop->Manager().AttachDialog(white);
  backdrop->Paint();
  return backdrop;
}

// A hidden root asks for no layout when the window grows, so nothing
// remakes the back buffer before the next layered frame; that frame is
// cleared pixel by pixel at the new size, and must be given a buffer of
// that size instead of being written past the end of the old one.  The
// hidden root draws nothing: the grown window shows the white window
// below it everywhere, its far corner included.
TEST(LayeredPaint, AWindowGrownWithoutALayoutGetsABufferOfItsSize) {
  const auto backdrop = WhiteBackdrop(900, 700);

  SkinTestWindow window(100, 50, 300, 200);
  ::SetWindowPos(window.Get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  window.Manager().SetUseLayeredWindow(true);
  auto* root = new CContainerUI;
  root->SetBkColor(0xFF336699);
  window.Manager().AttachDialog(root);
  window.Paint();
  auto screen = [&window](int x, int y) { return test::CaptureWindow(window.Get()).At(x, y); };
  ASSERT_EQ(screen(5, 5), 0x336699u);

  root->SetVisible(false);
  window.Paint();
  for (SIZE size : {SIZE{0, 0}, SIZE{40, 700}, SIZE{900, 30}, SIZE{900, 700}}) {
    ::SetWindowPos(window.Get(), nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(window.Get(), nullptr, FALSE);
    window.Paint();
  }
  RECT client = {};
  ::GetClientRect(window.Get(), &client);
  ASSERT_EQ(client.right, 900);
  EXPECT_EQ(screen(5, 5), 0xFFFFFFu);
  EXPECT_EQ(screen(850, 650), 0xFFFFFFu);

  // Shown again, the whole frame is drawn at the new size.
  root->SetVisible(true);
  window.Paint();
  EXPECT_EQ(screen(5, 5), 0x336699u);
  EXPECT_EQ(screen(850, 650), 0x336699u);
}

TEST_F(LayeredWindow, TheRichEditCornerIsMadeOpaque) {
  // A white window right below the layered one shows through wherever
  // the layered window is fully transparent.
  const auto backdrop = WhiteBackdrop(200, 100);
  ::SetWindowPos(window.Get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  // Nothing is painted but a small opaque block; the corner insets
  // enclose (50, 20)-(150, 80).
  root->SetBkColor(0);
  block->SetBkColor(0xFF0000FF);
  window.Manager().SetRichEditCorner(RECT{50, 20, 50, 20});
  EXPECT_EQ(window.Manager().GetRichEditCorner().left, 50);
  ::InvalidateRect(window.Get(), nullptr, FALSE);
  window.Paint();
  EXPECT_EQ(Screen(20, 20), 0x0000FFu);
  // Inside the corner area the pixels became opaque black; outside they
  // stay transparent and show the backdrop.
  EXPECT_EQ(Screen(100, 50), 0x000000u);
  EXPECT_EQ(Screen(60, 25), 0x000000u);
  EXPECT_EQ(Screen(149, 79), 0x000000u);
  EXPECT_EQ(Screen(20, 50), 0xFFFFFFu);
  EXPECT_EQ(Screen(100, 10), 0xFFFFFFu);
  EXPECT_EQ(Screen(150, 50), 0xFFFFFFu);
}

}  // namespace
