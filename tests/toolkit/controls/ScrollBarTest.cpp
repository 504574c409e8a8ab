// Scroll bars: the geometry of buttons and thumb, pressing buttons, the
// track and the thumb with real mouse messages, the repeat timer counted
// tick by tick, and the outline drawn where images are missing.

#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RectCheck.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "tests/toolkit/core/ProbeControl.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/ScrollBarUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CContainerUI;
using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;
using SkinUI::CScrollBarUI;
using test::NotifyLog;
using test::Record;
using test::RectText;
using test::Rgb;
using test::SameRect;
using test::SkinTestWindow;

// --- Geometry ---------------------------------------------------------------------

struct GeometryCase {
  const char* name;
  bool horizontal;
  RECT bar;
  int range;
  int position;
  bool button1;
  bool button2;
  RECT expectButton1;
  RECT expectButton2;
  RECT expectThumb;
};

// Vertical bars 16 thick at (0, 0, 16, 200): track 168 between the
// buttons; with range 100 the thumb is max(16, 200 * 168 / 300) = 112 long.
const GeometryCase kGeometry[] = {
    {"top",
     false,
     {0, 0, 16, 200},
     100,
     0,
     true,
     true,
     {0, 0, 16, 16},
     {0, 184, 16, 200},
     {0, 16, 16, 128}},
    {"middle",
     false,
     {0, 0, 16, 200},
     100,
     50,
     true,
     true,
     {0, 0, 16, 16},
     {0, 184, 16, 200},
     {0, 44, 16, 156}},  // 16 + 56 * 50 / 100
    {"end",
     false,
     {0, 0, 16, 200},
     100,
     100,
     true,
     true,
     {0, 0, 16, 16},
     {0, 184, 16, 200},
     {0, 72, 16, 184}},
    {"long range keeps the minimum thumb",
     false,
     {0, 0, 16, 200},
     100000,
     100000,
     true,
     true,
     {0, 0, 16, 16},
     {0, 184, 16, 200},
     {0, 168, 16, 184}},
    {"no range fills the track",
     false,
     {0, 0, 16, 200},
     0,
     0,
     true,
     true,
     {0, 0, 16, 16},
     {0, 184, 16, 200},
     {0, 16, 16, 184}},
    {"hidden buttons",
     false,
     {0, 0, 16, 200},
     100,
     0,
     false,
     false,
     {0, 0, 16, 0},
     {0, 200, 16, 200},
     {0, 0, 16, 133}},  // 200 * 200 / 300
    {"too short for a thumb",
     false,
     {0, 0, 16, 40},
     100,
     0,
     true,
     true,
     {0, 0, 16, 16},
     {0, 24, 16, 40},
     {0, 0, 0, 0}},
    {"shorter than two buttons",
     false,
     {0, 0, 16, 20},
     100,
     0,
     true,
     true,
     {0, 0, 16, 10},
     {0, 10, 16, 20},
     {0, 0, 0, 0}},
    {"horizontal",
     true,
     {10, 100, 210, 116},
     100,
     50,
     true,
     true,
     {10, 100, 26, 116},
     {194, 100, 210, 116},
     {54, 100, 166, 116}},
};

TEST(ScrollBarGeometry, ButtonsAndThumbFollowLengthRangeAndPosition) {
  for (const GeometryCase& c : kGeometry) {
    CScrollBarUI bar;
    bar.SetHorizontal(c.horizontal);
    bar.SetShowButton1(c.button1);
    bar.SetShowButton2(c.button2);
    bar.SetScrollRange(c.range);
    bar.SetScrollPos(c.position);
    bar.SetPos(c.bar);
    EXPECT_TRUE(SameRect(bar.GetButton1Rect(), c.expectButton1))
        << c.name << " button 1 " << RectText(bar.GetButton1Rect());
    EXPECT_TRUE(SameRect(bar.GetButton2Rect(), c.expectButton2))
        << c.name << " button 2 " << RectText(bar.GetButton2Rect());
    EXPECT_TRUE(SameRect(bar.GetThumbRect(), c.expectThumb))
        << c.name << " thumb " << RectText(bar.GetThumbRect());
  }
}

TEST(ScrollBarGeometry, DirectionThicknessRangeAndPosition) {
  CScrollBarUI bar;
  EXPECT_STREQ(bar.GetClass(), L"ScrollBarUI");
  EXPECT_EQ(bar.GetInterface(L"ScrollBar"), &bar);
  EXPECT_EQ(bar.GetInterface(L"Control"), &bar);
  EXPECT_EQ(bar.GetFixedWidth(), 16);
  EXPECT_EQ(bar.GetFixedHeight(), 0);
  EXPECT_EQ(bar.GetScrollRange(), 100);
  EXPECT_EQ(bar.GetLineSize(), 8);
  bar.SetAttribute(L"hor", L"true");
  EXPECT_EQ(bar.GetFixedWidth(), 0);
  EXPECT_EQ(bar.GetFixedHeight(), 16);
  bar.SetAttribute(L"hor", L"false");
  EXPECT_EQ(bar.GetFixedWidth(), 16);
  EXPECT_EQ(bar.GetFixedHeight(), 0);
  bar.SetAttribute(L"height", L"12");
  bar.SetAttribute(L"hor", L"true");  // a set height stays
  EXPECT_EQ(bar.GetFixedHeight(), 12);

  bar.SetScrollPos(500);
  EXPECT_EQ(bar.GetScrollPos(), 100);
  bar.SetScrollPos(-4);
  EXPECT_EQ(bar.GetScrollPos(), 0);
  bar.SetAttribute(L"value", L"70");
  bar.SetAttribute(L"range", L"40");  // the position is cut to the range
  EXPECT_EQ(bar.GetScrollPos(), 40);
  bar.SetScrollRange(-5);
  EXPECT_EQ(bar.GetScrollRange(), 0);
  EXPECT_EQ(bar.GetScrollPos(), 0);
}

// --- Interaction --------------------------------------------------------------------

// A free-standing vertical bar at (10, 0, 26, 200) in a real window:
// button 1 is (10, 0)-(26, 16), button 2 (10, 184)-(26, 200).
class FreeBar : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* root = new CContainerUI;
    bar = new CScrollBarUI;
    bar->SetName(L"bar");
    bar->SetAttribute(L"float", L"true");
    bar->SetAttribute(L"pos", L"10,0,26,200");
    bar->SetAttribute(L"linesize", L"5");
    root->Add(bar);
    window.Manager().AttachDialog(root);
    window.Manager().AddNotifier(&notifications);
    window.Paint();
    ASSERT_TRUE(SameRect(bar->GetPos(), RECT{10, 0, 26, 200})) << RectText(bar->GetPos());
    notifications.received.clear();
  }
  void TearDown() override { window.Manager().RemoveNotifier(&notifications); }

  int Scrolls() const {
    int count = 0;
    for (const auto& msg : notifications.received) count += msg.sType == L"scroll" ? 1 : 0;
    return count;
  }
  // One tick of the bar's repeat timer, sent as the timer would post it.
  // A fresh paint manager issues 17 as its first timer id.
  void Tick() { ::SendMessageW(window.Get(), WM_TIMER, 17, 0); }

  SkinTestWindow window{100, 220};
  CScrollBarUI* bar = nullptr;
  std::vector<Record> log;
  NotifyLog notifications{&log};
};

TEST_F(FreeBar, TheButtonsStepByTheLineSize) {
  bar->SetScrollPos(50);
  notifications.received.clear();
  window.PostMouse(WM_LBUTTONDOWN, 18, 190, MK_LBUTTON);
  window.Pump();
  EXPECT_EQ(bar->GetScrollPos(), 55);
  EXPECT_NE(bar->GetButton2State() & CScrollBarUI::UISTATE_PUSHED, 0u);
  window.PostMouse(WM_LBUTTONUP, 18, 190);
  window.Pump();
  EXPECT_EQ(bar->GetButton2State() & CScrollBarUI::UISTATE_PUSHED, 0u);
  window.PostMouse(WM_LBUTTONDOWN, 18, 5, MK_LBUTTON);
  window.PostMouse(WM_LBUTTONUP, 18, 5);
  window.Pump();
  EXPECT_EQ(bar->GetScrollPos(), 50);
  // Each change and each press tells the window.
  EXPECT_EQ(Scrolls(), 4);
}

TEST_F(FreeBar, TheTrackPagesTowardThePress) {
  // Range 100 over 200 pixels: the thumb is (16, 128) at position 0.
  window.PostMouse(WM_LBUTTONDOWN, 18, 150, MK_LBUTTON);
  window.PostMouse(WM_LBUTTONUP, 18, 150);
  window.Pump();
  EXPECT_EQ(bar->GetScrollPos(), 100);  // a page is the bar's length, cut to the range
  window.PostMouse(WM_LBUTTONDOWN, 18, 20, MK_LBUTTON);
  window.PostMouse(WM_LBUTTONUP, 18, 20);
  window.Pump();
  EXPECT_EQ(bar->GetScrollPos(), 0);
}

TEST_F(FreeBar, AHeldButtonRepeatsFromTheSixthTick) {
  window.PostMouse(WM_LBUTTONDOWN, 18, 190, MK_LBUTTON);
  window.Pump();
  ASSERT_EQ(bar->GetScrollPos(), 5);
  for (int tick = 1; tick <= 5; ++tick) {
    Tick();
    EXPECT_EQ(bar->GetScrollPos(), 5) << "tick " << tick;
  }
  Tick();
  EXPECT_EQ(bar->GetScrollPos(), 10);
  Tick();
  EXPECT_EQ(bar->GetScrollPos(), 15);
  window.PostMouse(WM_LBUTTONUP, 18, 190);
  window.Pump();
  // The timer is stopped: a late tick changes nothing.
  Tick();
  EXPECT_EQ(bar->GetScrollPos(), 15);
  // A second press restarts the timer under the same id.
  window.PostMouse(WM_LBUTTONDOWN, 18, 190, MK_LBUTTON);
  window.Pump();
  for (int tick = 0; tick < 6; ++tick) Tick();
  EXPECT_EQ(bar->GetScrollPos(), 25);
  window.PostMouse(WM_LBUTTONUP, 18, 190);
  window.Pump();
}

TEST_F(FreeBar, AHeldTrackPagesTowardTheMouseAfterTheDelay) {
  window.PostMouse(WM_LBUTTONDOWN, 18, 150, MK_LBUTTON);
  window.Pump();
  ASSERT_EQ(bar->GetScrollPos(), 100);
  // The thumb now covers (72, 184); the mouse moves above it.
  window.PostMouse(WM_MOUSEMOVE, 18, 30, MK_LBUTTON);
  window.Pump();
  for (int tick = 0; tick < 5; ++tick) Tick();
  EXPECT_EQ(bar->GetScrollPos(), 100);
  Tick();
  EXPECT_EQ(bar->GetScrollPos(), 0);
  window.PostMouse(WM_LBUTTONUP, 18, 30);
  window.Pump();
}

TEST_F(FreeBar, DraggingTheThumbMovesByTheScaledDistanceAtEachTick) {
  // Thumb (16, 128): 112 long; it travels 200 - 32 - 112 = 56 pixels for
  // a range of 100.
  window.PostMouse(WM_LBUTTONDOWN, 18, 50, MK_LBUTTON);
  window.Pump();
  EXPECT_NE(bar->GetThumbState() & CScrollBarUI::UISTATE_CAPTURED, 0u);
  EXPECT_EQ(bar->GetScrollPos(), 0);
  window.PostMouse(WM_MOUSEMOVE, 18, 78, MK_LBUTTON);  // 28 pixels down
  window.Pump();
  EXPECT_EQ(bar->GetScrollPos(), 0);  // applied at the next tick
  Tick();
  EXPECT_EQ(bar->GetScrollPos(), 50);
  // Outside the bar the capture keeps the drag going.
  window.PostMouse(WM_MOUSEMOVE, 60, 500, MK_LBUTTON);
  window.Pump();
  Tick();
  EXPECT_EQ(bar->GetScrollPos(), 100);
  window.PostMouse(WM_LBUTTONUP, 60, 500);
  window.Pump();
  EXPECT_EQ(bar->GetThumbState() & CScrollBarUI::UISTATE_CAPTURED, 0u);
}

TEST_F(FreeBar, HoverMarksTheParts) {
  window.PostMouse(WM_MOUSEMOVE, 18, 50);
  window.Pump();
  EXPECT_NE(bar->GetButton1State() & CScrollBarUI::UISTATE_HOT, 0u);
  EXPECT_NE(bar->GetButton2State() & CScrollBarUI::UISTATE_HOT, 0u);
  EXPECT_NE(bar->GetThumbState() & CScrollBarUI::UISTATE_HOT, 0u);
  window.PostMouse(WM_MOUSEMOVE, 18, 150);  // off the thumb, still on the bar
  window.Pump();
  EXPECT_EQ(bar->GetThumbState() & CScrollBarUI::UISTATE_HOT, 0u);
  EXPECT_NE(bar->GetButton1State() & CScrollBarUI::UISTATE_HOT, 0u);
  window.PostMouse(WM_MOUSEMOVE, 60, 150);  // off the bar
  window.Pump();
  EXPECT_EQ(bar->GetButton1State() & CScrollBarUI::UISTATE_HOT, 0u);
}

TEST_F(FreeBar, ADisabledBarIgnoresPresses) {
  bar->SetEnabled(false);
  window.PostMouse(WM_LBUTTONDOWN, 18, 190, MK_LBUTTON);
  window.PostMouse(WM_LBUTTONUP, 18, 190);
  window.Pump();
  EXPECT_EQ(bar->GetScrollPos(), 0);
  EXPECT_EQ(Scrolls(), 0);
}

TEST_F(FreeBar, PartsWithoutImagesGetAnOutline) {
  window.Validate();
  ::InvalidateRect(window.Get(), nullptr, FALSE);
  window.Paint();
  const uint32_t outline = 0x85E4FF;
  // Button 1 (10, 0)-(26, 16): two pixels of outline, then nothing.
  EXPECT_EQ(window.Pixel(10, 8), outline);
  EXPECT_EQ(window.Pixel(11, 8), outline);
  EXPECT_EQ(window.Pixel(25, 8), outline);
  EXPECT_NE(window.Pixel(18, 8), outline);
  // The thumb (16, 128).
  EXPECT_EQ(window.Pixel(18, 16), outline);
  EXPECT_EQ(window.Pixel(18, 127), outline);
  EXPECT_NE(window.Pixel(18, 70), outline);
  // Button 2 (184, 200).
  EXPECT_EQ(window.Pixel(18, 199), outline);
  // Nothing beside the bar.
  EXPECT_NE(window.Pixel(30, 8), outline);
}

TEST(ScrollBarOwner, APressScrollsTheOwningContainer) {
  SkinTestWindow window(100, 100);
  auto* box = new CContainerUI;
  box->SetAttribute(L"vscrollbar", L"true");
  box->SetAttribute(L"scrollstepsize", L"7");
  window.Manager().AttachDialog(box);
  window.Paint();
  CScrollBarUI* bar = box->GetVerticalScrollBar();
  // A plain container lays out no bar; place it as a layout would.
  bar->SetPos(RECT{84, 0, 100, 100});
  bar->SetScrollRange(100);
  window.PostMouse(WM_LBUTTONDOWN, 90, 95, MK_LBUTTON);
  window.PostMouse(WM_LBUTTONUP, 90, 95);
  window.Pump();
  EXPECT_EQ(box->GetScrollPos().cy, 7);
  // The wheel over the bar goes to its owner.
  window.PostWheel(90, 50, -WHEEL_DELTA);
  window.Pump();
  EXPECT_EQ(box->GetScrollPos().cy, 14);
}

}  // namespace
