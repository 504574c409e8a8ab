// The horizontal layout: the row arithmetic, its own horizontal scroll
// bar, attributes, and its edge strip dragged with real mouse messages in
// both modes, with the tracking strip read back from the screen.

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/LayoutTestSupport.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/HorizontalLayoutUI.h"
#include "toolkit/controls/ScrollBarUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CHorizontalLayoutUI;
using test::NewBox;
using test::RectIs;
using test::SkinTestWindow;

// --- The row arithmetic ----------------------------------------------------------

TEST(HorizontalLayoutArithmetic, WidthsFollowTheStretchRules) {
  struct Child {
    int width;  // fixed; 0 stretches
    int minWidth;
    int maxWidth;
    RECT padding;
  };
  struct Span {
    int left;
    int right;
  };
  struct Case {
    const char* name;
    int layoutWidth;
    int childPadding;
    std::vector<Child> children;
    std::vector<Span> expected;
  };
  const Case cases[] = {
      {"two fixed and two stretching children with padding",
       100,
       5,
       {{30, 0, 9999, {}}, {20, 0, 9999, {}}, {0, 0, 9999, {}}, {0, 0, 9999, {}}},
       {{0, 30}, {35, 55}, {60, 77}, {82, 99}}},
      {"a maximum below the stretch width is not given to the others",
       90,
       0,
       {{0, 0, 10, {}}, {0, 0, 9999, {}}, {0, 0, 9999, {}}},
       {{0, 10}, {10, 40}, {40, 70}}},
      {"a fixed width counts as clamped to its limits",
       100,
       0,
       {{80, 0, 50, {}}, {5, 20, 9999, {}}, {0, 0, 9999, {}}},
       {{0, 50}, {50, 70}, {70, 100}}},
      {"horizontal paddings count as fixed width",
       100,
       0,
       {{20, 0, 9999, {5, 0, 5, 0}}, {0, 0, 9999, {}}},
       {{5, 25}, {30, 100}}},
      {"no room left: stretching children get no width",
       50,
       10,
       {{40, 0, 9999, {}}, {0, 0, 9999, {}}},
       {{0, 40}, {50, 50}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CHorizontalLayoutUI layout;
    layout.SetChildPadding(c.childPadding);
    std::vector<CControlUI*> children;
    for (const Child& wanted : c.children) {
      CControlUI* child = NewBox(L"child", wanted.width, 0);
      child->SetMinWidth(wanted.minWidth);
      child->SetMaxWidth(wanted.maxWidth);
      child->SetPadding(wanted.padding);
      layout.Add(child);
      children.push_back(child);
    }
    layout.SetPos(RECT{0, 0, c.layoutWidth, 40});
    ASSERT_EQ(children.size(), c.expected.size());
    for (size_t i = 0; i < children.size(); ++i) {
      SCOPED_TRACE("child " + std::to_string(i));
      EXPECT_EQ(children[i]->GetPos().left, c.expected[i].left);
      EXPECT_EQ(children[i]->GetPos().right, c.expected[i].right);
    }
  }
}

TEST(HorizontalLayoutArithmetic, ChildrenAreTopAlignedAtTheirHeight) {
  CHorizontalLayoutUI layout;
  layout.SetInset(RECT{2, 3, 4, 5});
  CControlUI* full = NewBox(L"full", 20, 0);
  CControlUI* padded = NewBox(L"padded", 20, 0);
  padded->SetPadding(RECT{1, 10, 1, 10});
  CControlUI* low = NewBox(L"low", 20, 15);
  CControlUI* limited = NewBox(L"limited", 20, 0);
  limited->SetMaxHeight(25);
  for (CControlUI* child : {full, padded, low, limited}) layout.Add(child);
  layout.SetPos(RECT{100, 100, 300, 200});
  EXPECT_TRUE(RectIs(full->GetPos(), RECT{102, 103, 122, 195}));
  EXPECT_TRUE(RectIs(padded->GetPos(), RECT{123, 113, 143, 185}));
  EXPECT_TRUE(RectIs(low->GetPos(), RECT{144, 103, 164, 118}));
  EXPECT_TRUE(RectIs(limited->GetPos(), RECT{164, 103, 184, 128}));
}

TEST(HorizontalLayoutArithmetic, ChildrenAreAskedWithTheWidthStillAvailable) {
  CHorizontalLayoutUI layout;
  layout.SetChildPadding(4);
  auto* a = new test::EstimatingControl(SIZE{50, 0});
  a->SetPadding(RECT{3, 0, 7, 0});
  auto* b = new test::EstimatingControl(SIZE{});
  layout.Add(a);
  layout.Add(b);
  layout.SetPos(RECT{0, 0, 200, 60});
  ASSERT_EQ(a->offered.size(), 2u);
  EXPECT_EQ(a->offered[0].cx, 200);
  EXPECT_EQ(a->offered[1].cx, 200 - 3);
  EXPECT_EQ(a->offered[1].cy, 60);
  ASSERT_EQ(b->offered.size(), 2u);
  EXPECT_EQ(b->offered[1].cx, 200 - 3 - 50 - 4 - 7);
  EXPECT_EQ(b->offered[1].cy, 60);
  EXPECT_TRUE(RectIs(b->GetPos(), RECT{64, 0, 200, 60}));
}

TEST(HorizontalLayoutAttributes, NamesAndTable) {
  CHorizontalLayoutUI layout;
  EXPECT_STREQ(layout.GetClass(), L"HorizontalLayoutUI");
  EXPECT_EQ(layout.GetInterface(L"HorizontalLayout"), &layout);
  EXPECT_EQ(layout.GetInterface(L"Container"), &layout);
  EXPECT_EQ(layout.GetInterface(L"VerticalLayout"), nullptr);
  layout.SetAttribute(L"sepwidth", L"4");
  layout.SetAttribute(L"sepimm", L"true");
  layout.SetAttribute(L"inset", L"1,2,3,4");
  EXPECT_EQ(layout.GetSepWidth(), 4);
  EXPECT_TRUE(layout.IsSepImmMode());
  EXPECT_TRUE(RectIs(layout.GetInset(), RECT{1, 2, 3, 4}));
  layout.SetPos(RECT{10, 20, 110, 70});
  EXPECT_TRUE(RectIs(layout.GetThumbRect(false), RECT{106, 20, 110, 70}));
  layout.SetSepWidth(-3);
  EXPECT_TRUE(RectIs(layout.GetThumbRect(false), RECT{10, 20, 13, 70}));
  EXPECT_EQ(layout.GetControlFlags(), static_cast<UINT>(SkinUI::ControlFlagSetCursor));
  layout.SetSepWidth(0);
  EXPECT_EQ(layout.GetControlFlags(), 0u);
}

// --- The horizontal scroll bar ----------------------------------------------------

TEST(HorizontalLayoutScroll, TheBarShowsTheExcessAndHidesWhenTheRowFits) {
  SkinTestWindow window(200, 100);
  auto* layout = new CHorizontalLayoutUI;
  layout->SetAttribute(L"hscrollbar", L"true");
  CControlUI* a = NewBox(L"a", 150, 0);
  CControlUI* b = NewBox(L"b", 150, 0);
  layout->Add(a);
  layout->Add(b);
  window.Manager().AttachDialog(layout);
  window.Paint();

  SkinUI::CScrollBarUI* bar = layout->GetHorizontalScrollBar();
  ASSERT_NE(bar, nullptr);
  const int thickness = bar->GetFixedHeight();
  ASSERT_GT(thickness, 0);
  ASSERT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetScrollRange(), 100);
  EXPECT_TRUE(RectIs(bar->GetPos(), RECT{0, 100 - thickness, 200, 100}));
  // The row stands above the bar.
  EXPECT_TRUE(RectIs(b->GetPos(), RECT{150, 0, 300, 100 - thickness}));

  // Scrolled, and laid out again, the row stays scrolled.
  layout->SetScrollPos(SIZE{40, 0});
  layout->NeedUpdate();
  window.Paint();
  EXPECT_EQ(bar->GetScrollPos(), 40);
  EXPECT_EQ(a->GetPos().left, -40);
  EXPECT_EQ(b->GetPos().left, 110);

  // Once the row fits, the bar goes and forgets where it was.
  layout->Remove(b);
  window.Paint();
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_EQ(bar->GetScrollRange(), 0);
  EXPECT_EQ(bar->GetScrollPos(), 0);
  EXPECT_TRUE(RectIs(a->GetPos(), RECT{0, 0, 150, 100}));

  // And comes back, from the start, when it does not.
  layout->Add(NewBox(L"c", 100, 0));
  window.Paint();
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetScrollRange(), 50);
  EXPECT_EQ(bar->GetScrollPos(), 0);
  EXPECT_TRUE(RectIs(a->GetPos(), RECT{0, 0, 150, 100 - thickness}));
}

TEST(HorizontalLayoutScroll, ABarEnabledOnALiveLayoutAlsoMakesRoomForItself) {
  SkinTestWindow window(200, 100);
  auto* layout = new CHorizontalLayoutUI;
  CControlUI* a = NewBox(L"a", 150, 0);
  layout->Add(a);
  window.Manager().AttachDialog(layout);
  window.Paint();
  // A bar made after the layout met its window is nobody's child; the
  // layout itself must see to the room the bar takes.
  layout->SetAttribute(L"hscrollbar", L"true");
  window.Paint();
  SkinUI::CScrollBarUI* bar = layout->GetHorizontalScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_TRUE(RectIs(a->GetPos(), RECT{0, 0, 150, 100}));

  layout->Add(NewBox(L"b", 150, 0));
  window.Paint();
  ASSERT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetScrollRange(), 100);
  EXPECT_TRUE(RectIs(a->GetPos(), RECT{0, 0, 150, 100 - bar->GetFixedHeight()}));
}

// --- The strip -------------------------------------------------------------------

// Pixels of the window compared with a tolerance: the tracking strip is
// blended by GDI+, whose rounding may differ by a unit per channel.
bool Near(uint32_t actual, uint32_t expected) {
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>((actual >> shift) & 0xFF);
    const int e = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - e) > 2) return false;
  }
  return true;
}

// Black at two-thirds opacity over white.
constexpr uint32_t kStripOverWhite = 0x555555;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kWhite = 0xFFFFFF;

// A row whose left part ("side", green, 150 wide, between 100 and 200)
// has a 4-pixel strip inside its right edge; "rest" takes what is left
// and shows the white root.
class HorizontalStrip : public ::testing::Test {
 protected:
  void SetUp() override {
    root = new CHorizontalLayoutUI;
    root->SetBkColor(0xFFFFFFFF);
    side = new CHorizontalLayoutUI;
    side->SetBkColor(0xFF00FF00);
    side->SetFixedWidth(150);
    side->SetMinWidth(100);
    side->SetMaxWidth(200);
    side->SetSepWidth(4);
    rest = NewBox(L"rest");
    root->Add(side);
    root->Add(rest);
    window.Manager().AddNotifier(&moves);
    window.Manager().AttachDialog(root);
    test::AcceptOnlyTestMoves(window);
    window.Paint();
  }
  void TearDown() override { window.Manager().RemoveNotifier(&moves); }

  void Drag(UINT message, int x) {
    if (message == WM_MOUSEMOVE) {
      test::PostTestMove(window, x, 50, MK_LBUTTON);
    } else {
      window.PostMouse(message, x, 50, message == WM_LBUTTONUP ? 0 : MK_LBUTTON);
    }
    window.Pump();
    window.Paint();
  }

  SkinTestWindow window{400, 100};
  CHorizontalLayoutUI* root = nullptr;
  CHorizontalLayoutUI* side = nullptr;
  CControlUI* rest = nullptr;
  test::NotifyFilter moves{L"mmMode"};
};

TEST_F(HorizontalStrip, TrackingModeShowsTheStripAndResizesOnRelease) {
  Drag(WM_LBUTTONDOWN, 148);
  EXPECT_EQ(window.Manager().GetPostPaintCount(), 1);
  EXPECT_TRUE(RectIs(side->GetThumbRect(true), RECT{146, 0, 150, 100}));

  struct Move {
    int x;
    int right;  // of the tracking rectangle afterwards
  };
  const Move steps[] = {
      {170, 172},  // right by 22
      {230, 200},  // stops at exactly the maximum width
      {240, 200},  // already there: ignored
      {220, 200},  // back left while still right of the edge: ignored
      {198, 178},  // back over the strip: the edge moves by the step
  };
  for (const Move& m : steps) {
    SCOPED_TRACE("move to " + std::to_string(m.x));
    Drag(WM_MOUSEMOVE, m.x);
    EXPECT_TRUE(RectIs(side->GetThumbRect(true), RECT{m.right - 4, 0, m.right, 100}));
    EXPECT_EQ(side->GetFixedWidth(), m.right);
    // The layout itself waits for the release.
    EXPECT_TRUE(RectIs(side->GetPos(), RECT{0, 0, 150, 100}));
    EXPECT_TRUE(RectIs(side->GetThumbRect(false), RECT{146, 0, 150, 100}));
  }
  // The strip is drawn where the drag has taken it, over everything.
  EXPECT_TRUE(Near(window.Pixel(175, 50), kStripOverWhite)) << std::hex << window.Pixel(175, 50);
  EXPECT_EQ(window.Pixel(173, 50), kWhite);
  EXPECT_EQ(window.Pixel(178, 50), kWhite);
  // Where it was before is repainted clean.
  EXPECT_EQ(window.Pixel(197, 50), kWhite);
  EXPECT_EQ(window.Pixel(148, 50), kGreen);
  EXPECT_TRUE(moves.received.empty());

  Drag(WM_LBUTTONUP, 198);
  EXPECT_EQ(window.Manager().GetPostPaintCount(), 0);
  EXPECT_TRUE(RectIs(side->GetPos(), RECT{0, 0, 178, 100}));
  EXPECT_EQ(rest->GetPos().left, 178);
  EXPECT_EQ(window.Pixel(175, 50), kGreen);
  EXPECT_EQ(window.Pixel(177, 50), kGreen);
  EXPECT_EQ(window.Pixel(178, 50), kWhite);
  EXPECT_TRUE(moves.received.empty());
}

TEST_F(HorizontalStrip, ImmediateModeResizesOnEveryMoveAndStopsAtTheMaximum) {
  side->SetSepImmMode(true);
  Drag(WM_LBUTTONDOWN, 149);
  EXPECT_EQ(window.Manager().GetPostPaintCount(), 0);
  const int steps[][2] = {{160, 161}, {200, 200}, {260, 200}};
  for (const auto& step : steps) {
    SCOPED_TRACE("move to " + std::to_string(step[0]));
    Drag(WM_MOUSEMOVE, step[0]);
    EXPECT_TRUE(RectIs(side->GetPos(), RECT{0, 0, step[1], 100}));
    EXPECT_EQ(rest->GetPos().left, step[1]);
  }
  EXPECT_EQ(window.Pixel(199, 50), kGreen);
  EXPECT_EQ(window.Pixel(200, 50), kWhite);
  // Two moves changed the width; the third found it at the limit.
  ASSERT_EQ(moves.received.size(), 2u);
  EXPECT_EQ(moves.received[0].pSender, side);
  EXPECT_EQ(moves.received[0].wParam, 0u);
  EXPECT_EQ(moves.received[0].lParam, 0);
  Drag(WM_LBUTTONUP, 260);
  EXPECT_EQ(side->GetFixedWidth(), 200);
}

TEST_F(HorizontalStrip, SwitchingToImmediateModeMidDragStopsTheTrackingStrip) {
  Drag(WM_LBUTTONDOWN, 148);
  ASSERT_EQ(window.Manager().GetPostPaintCount(), 1);
  side->SetSepImmMode(true);
  EXPECT_EQ(window.Manager().GetPostPaintCount(), 0);
  Drag(WM_MOUSEMOVE, 160);
  EXPECT_TRUE(RectIs(side->GetPos(), RECT{0, 0, 162, 100}));
  Drag(WM_LBUTTONUP, 160);
  EXPECT_EQ(window.Manager().GetPostPaintCount(), 0);
}

TEST_F(HorizontalStrip, APressWithoutAReleaseRestartsTheDrag) {
  Drag(WM_LBUTTONDOWN, 148);
  Drag(WM_MOUSEMOVE, 160);
  Drag(WM_LBUTTONDOWN, 147);
  EXPECT_EQ(window.Manager().GetPostPaintCount(), 1);
  EXPECT_TRUE(RectIs(side->GetThumbRect(true), RECT{146, 0, 150, 100}));
  Drag(WM_LBUTTONUP, 147);
  EXPECT_EQ(window.Manager().GetPostPaintCount(), 0);
}

TEST_F(HorizontalStrip, TheMinimumStopsTheEdgeExactly) {
  Drag(WM_LBUTTONDOWN, 147);
  Drag(WM_MOUSEMOVE, 20);
  EXPECT_TRUE(RectIs(side->GetThumbRect(true), RECT{96, 0, 100, 100}));
  Drag(WM_MOUSEMOVE, 10);
  EXPECT_TRUE(RectIs(side->GetThumbRect(true), RECT{96, 0, 100, 100}));
  Drag(WM_LBUTTONUP, 10);
  EXPECT_TRUE(RectIs(side->GetPos(), RECT{0, 0, 100, 100}));
}

TEST_F(HorizontalStrip, PressesOffTheStripOrOnADisabledLayoutStartNoDrag) {
  // Left of the strip: an ordinary press on the layout.
  Drag(WM_LBUTTONDOWN, 140);
  Drag(WM_MOUSEMOVE, 180);
  Drag(WM_LBUTTONUP, 180);
  EXPECT_EQ(side->GetFixedWidth(), 150);
  EXPECT_EQ(window.Manager().GetPostPaintCount(), 0);

  side->SetEnabled(false);
  EXPECT_EQ(side->GetControlFlags(), 0u);
  Drag(WM_LBUTTONDOWN, 148);
  Drag(WM_MOUSEMOVE, 180);
  Drag(WM_LBUTTONUP, 180);
  EXPECT_EQ(side->GetFixedWidth(), 150);
  EXPECT_TRUE(RectIs(side->GetPos(), RECT{0, 0, 150, 100}));

  // Without a strip the edge is nothing special.
  side->SetEnabled(true);
  side->SetSepWidth(0);
  Drag(WM_LBUTTONDOWN, 148);
  Drag(WM_MOUSEMOVE, 180);
  Drag(WM_LBUTTONUP, 180);
  EXPECT_EQ(side->GetFixedWidth(), 150);
}

TEST_F(HorizontalStrip, OverTheStripTheCursorIsTheWestEastArrow) {
  struct CursorCase {
    int x;
    LPCWSTR cursor;
  };
  const CursorCase cases[] = {{147, IDC_SIZEWE}, {100, IDC_ARROW}, {149, IDC_SIZEWE}};
  for (const CursorCase& c : cases) {
    SCOPED_TRACE("x " + std::to_string(c.x));
    POINT screen = {c.x, 50};
    ::ClientToScreen(window.Get(), &screen);
    ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
    window.Pump();
    ::SetCursor(nullptr);
    ::SendMessageW(window.Get(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Get()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, c.cursor));
  }
}

// A strip of negative width lies inside the left edge; dragging it moves
// the left edge, here of a layout standing at the right of the row.
TEST(HorizontalStripLeftEdge, TheLeftEdgeMovesAndStopsAtTheMinimum) {
  SkinTestWindow window(400, 100);
  auto* root = new CHorizontalLayoutUI;
  CControlUI* rest = NewBox(L"rest");
  auto* side = new CHorizontalLayoutUI;
  side->SetFixedWidth(150);
  side->SetMinWidth(120);
  side->SetSepWidth(-4);
  side->SetSepImmMode(true);
  root->Add(rest);
  root->Add(side);
  window.Manager().AttachDialog(root);
  test::AcceptOnlyTestMoves(window);
  window.Paint();
  ASSERT_TRUE(RectIs(side->GetPos(), RECT{250, 0, 400, 100}));
  EXPECT_TRUE(RectIs(side->GetThumbRect(false), RECT{250, 0, 254, 100}));

  struct Move {
    int x;
    int left;
  };
  const Move steps[] = {
      {242, 240},  // wider to the left by 10
      {202, 200},
      {302, 280},  // narrower, stopping at the minimum
      {312, 280},  // already there: ignored
  };
  window.PostMouse(WM_LBUTTONDOWN, 252, 50, MK_LBUTTON);
  window.Pump();
  for (const Move& m : steps) {
    SCOPED_TRACE("move to " + std::to_string(m.x));
    test::PostTestMove(window, m.x, 50, MK_LBUTTON);
    window.Pump();
    window.Paint();
    EXPECT_TRUE(RectIs(side->GetPos(), RECT{m.left, 0, 400, 100}));
    EXPECT_EQ(rest->GetPos().right, m.left);
  }
  window.PostMouse(WM_LBUTTONUP, 312, 50);
  window.Pump();
  window.Paint();
  EXPECT_EQ(side->GetFixedWidth(), 120);
}

}  // namespace
