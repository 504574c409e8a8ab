// The vertical layout: the column arithmetic (stretching, truncation,
// limits, paddings), what it offers its children, scrolling, attributes,
// and its bottom-edge strip dragged with real mouse messages.

#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/LayoutTestSupport.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ScrollBarUI.h"
#include "toolkit/controls/VerticalLayoutUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CVerticalLayoutUI;
using test::NewBox;
using test::RectIs;
using test::SkinTestWindow;

// --- The column arithmetic -------------------------------------------------------

struct Child {
  int height = 0;  // fixed; 0 stretches
  int minHeight = 0;
  int maxHeight = 9999;
  RECT padding = {};
  bool hidden = false;
  bool floating = false;
};

struct Span {
  int top;
  int bottom;
};

struct StretchCase {
  const char* name;
  int layoutHeight;
  int childPadding;
  std::vector<Child> children;
  // One span per child placed in the flow, in order.
  std::vector<Span> expected;
};

Child Stretch() { return Child{}; }
Child Fixed(int height) {
  Child c;
  c.height = height;
  return c;
}

const StretchCase kStretchCases[] = {
    {"two fixed and two stretching children with padding",
     100,
     5,
     {Fixed(30), Fixed(20), Stretch(), Stretch()},
     {{0, 30}, {35, 55}, {60, 77}, {82, 99}}},
    {"the division's remainder stays empty",
     100,
     0,
     {Stretch(), Stretch(), Stretch()},
     {{0, 33}, {33, 66}, {66, 99}}},
    {"a maximum below the stretch height is not given to the others",
     100,
     0,
     {[] {
        Child c;
        c.maxHeight = 20;
        return c;
      }(),
      Stretch(), Stretch()},
     {{0, 20}, {20, 53}, {53, 86}}},
    {"a minimum above the stretch height overflows",
     100,
     0,
     {[] {
        Child c;
        c.minHeight = 60;
        return c;
      }(),
      Stretch()},
     {{0, 60}, {60, 110}}},
    {"a fixed height counts as clamped to its maximum",
     100,
     0,
     {[] {
        Child c;
        c.height = 50;
        c.maxHeight = 30;
        return c;
      }(),
      Stretch()},
     {{0, 30}, {30, 100}}},
    {"a fixed height counts as clamped to its minimum",
     100,
     0,
     {[] {
        Child c;
        c.height = 10;
        c.minHeight = 40;
        return c;
      }(),
      Stretch()},
     {{0, 40}, {40, 100}}},
    {"no room left: stretching children get no height",
     50,
     10,
     {Fixed(40), Fixed(30), Stretch()},
     {{0, 40}, {50, 80}, {90, 90}}},
    {"vertical paddings count as fixed height",
     100,
     0,
     {[] {
        Child c;
        c.height = 20;
        c.padding = RECT{0, 5, 0, 5};
        return c;
      }(),
      Stretch()},
     {{5, 25}, {30, 100}}},
    {"hidden and floating children take no part",
     100,
     10,
     {Fixed(30),
      [] {
        Child c;
        c.height = 40;
        c.hidden = true;
        return c;
      }(),
      [] {
        Child c;
        c.height = 40;
        c.floating = true;
        return c;
      }(),
      Stretch()},
     {{0, 30}, {40, 100}}},
};

TEST(VerticalLayoutArithmetic, HeightsFollowTheStretchRules) {
  for (const StretchCase& c : kStretchCases) {
    SCOPED_TRACE(c.name);
    CVerticalLayoutUI layout;
    layout.SetChildPadding(c.childPadding);
    std::vector<CControlUI*> inFlow;
    for (const Child& wanted : c.children) {
      CControlUI* child = NewBox(L"child", 0, wanted.height);
      child->SetMinHeight(wanted.minHeight);
      child->SetMaxHeight(wanted.maxHeight);
      child->SetPadding(wanted.padding);
      child->SetVisible(!wanted.hidden);
      child->SetFloat(wanted.floating);
      layout.Add(child);
      if (!wanted.hidden && !wanted.floating) inFlow.push_back(child);
    }
    layout.SetPos(RECT{0, 0, 200, c.layoutHeight});
    ASSERT_EQ(inFlow.size(), c.expected.size());
    for (size_t i = 0; i < inFlow.size(); ++i) {
      SCOPED_TRACE("child " + std::to_string(i));
      EXPECT_EQ(inFlow[i]->GetPos().top, c.expected[i].top);
      EXPECT_EQ(inFlow[i]->GetPos().bottom, c.expected[i].bottom);
    }
  }
}

TEST(VerticalLayoutArithmetic, WidthsFillTheColumnWithinPaddingsAndLimits) {
  struct WidthCase {
    const char* name;
    int fixedWidth;
    int minWidth;
    int maxWidth;
    RECT padding;
    int left;
    int right;
  };
  const WidthCase cases[] = {
      {"no width of its own", 0, 0, 9999, {}, 0, 200},
      {"horizontal paddings", 0, 0, 9999, {10, 5, 10, 5}, 10, 190},
      {"a fixed width stays left-aligned", 50, 0, 9999, {}, 0, 50},
      {"a maximum width", 0, 0, 120, {}, 0, 120},
      {"a minimum width wider than the layout", 0, 250, 9999, {}, 0, 250},
      {"paddings wider than the layout leave no width", 0, 0, 9999, {150, 0, 150, 0}, 150, 150},
  };
  for (const WidthCase& c : cases) {
    SCOPED_TRACE(c.name);
    CVerticalLayoutUI layout;
    CControlUI* child = NewBox(L"child", c.fixedWidth, 20);
    child->SetMinWidth(c.minWidth);
    child->SetMaxWidth(c.maxWidth);
    child->SetPadding(c.padding);
    layout.Add(child);
    layout.SetPos(RECT{0, 0, 200, 100});
    EXPECT_EQ(child->GetPos().left, c.left);
    EXPECT_EQ(child->GetPos().right, c.right);
    EXPECT_EQ(child->GetPos().top, c.padding.top);
  }
}

TEST(VerticalLayoutArithmetic, TheInsetAndTheLayoutsOwnOffsetAreHonoured) {
  CVerticalLayoutUI layout;
  layout.SetInset(RECT{4, 6, 8, 10});
  CControlUI* first = NewBox(L"first", 0, 20);
  CControlUI* rest = NewBox(L"rest");
  layout.Add(first);
  layout.Add(rest);
  layout.SetPos(RECT{100, 50, 300, 150});
  EXPECT_TRUE(RectIs(first->GetPos(), RECT{104, 56, 292, 76}));
  EXPECT_TRUE(RectIs(rest->GetPos(), RECT{104, 76, 292, 140}));
}

TEST(VerticalLayoutArithmetic, ChildrenAreAskedWithTheHeightStillAvailable) {
  CVerticalLayoutUI layout;
  layout.SetChildPadding(5);
  auto* a = new test::EstimatingControl(SIZE{0, 30});
  auto* b = new test::EstimatingControl(SIZE{0, 20});
  b->SetPadding(RECT{0, 4, 0, 6});
  auto* c = new test::EstimatingControl(SIZE{});
  for (CControlUI* child :
       {static_cast<CControlUI*>(a), static_cast<CControlUI*>(b), static_cast<CControlUI*>(c)}) {
    layout.Add(child);
  }
  layout.SetPos(RECT{0, 0, 200, 100});
  // First the whole column, then what is left below the child's top
  // padding.
  ASSERT_EQ(a->offered.size(), 2u);
  EXPECT_EQ(a->offered[0].cx, 200);
  EXPECT_EQ(a->offered[0].cy, 100);
  EXPECT_EQ(a->offered[1].cy, 100);
  ASSERT_EQ(b->offered.size(), 2u);
  EXPECT_EQ(b->offered[1].cy, 100 - 30 - 5 - 4);
  ASSERT_EQ(c->offered.size(), 2u);
  EXPECT_EQ(c->offered[1].cy, 100 - 30 - 5 - 4 - 20 - 6 - 5);
  EXPECT_EQ(c->offered[1].cx, 200);
  // The estimate decides the height; the rest goes to the last child.
  EXPECT_TRUE(RectIs(b->GetPos(), RECT{0, 39, 200, 59}));
  EXPECT_TRUE(RectIs(c->GetPos(), RECT{0, 70, 200, 100}));
}

TEST(VerticalLayoutArithmetic, AHorizontalBarWidensTheContentAndScrollsIt) {
  CVerticalLayoutUI layout;
  layout.SetAttribute(L"hscrollbar", L"true");
  SkinUI::CScrollBarUI* bar = layout.GetHorizontalScrollBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->IsVisible());
  bar->SetScrollRange(50);
  CControlUI* child = NewBox(L"child");
  layout.Add(child);
  layout.SetPos(RECT{0, 0, 200, 100});
  // Wider by the range, and above the bar.
  EXPECT_TRUE(RectIs(child->GetPos(), RECT{0, 0, 250, 100 - bar->GetFixedHeight()}));
  bar->SetScrollPos(20);
  layout.SetPos(RECT{0, 0, 200, 100});
  EXPECT_EQ(child->GetPos().left, -20);
}

// --- In a window -----------------------------------------------------------------

TEST(VerticalLayoutWindow, TheColumnIsPaintedWithTheLastRowLeftEmpty) {
  SkinTestWindow window(200, 100);
  auto* layout = new CVerticalLayoutUI;
  layout->SetBkColor(0xFFFFFFFF);
  layout->SetChildPadding(5);
  const DWORD colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000};
  const int heights[] = {30, 20, 0, 0};
  std::vector<CControlUI*> children;
  for (int i = 0; i < 4; ++i) {
    CControlUI* child = NewBox(L"child", 0, heights[i]);
    child->SetBkColor(colours[i]);
    layout->Add(child);
    children.push_back(child);
  }
  window.Manager().AttachDialog(layout);
  window.Paint();

  EXPECT_TRUE(RectIs(children[0]->GetPos(), RECT{0, 0, 200, 30}));
  EXPECT_TRUE(RectIs(children[1]->GetPos(), RECT{0, 35, 200, 55}));
  EXPECT_TRUE(RectIs(children[2]->GetPos(), RECT{0, 60, 200, 77}));
  EXPECT_TRUE(RectIs(children[3]->GetPos(), RECT{0, 82, 200, 99}));
  struct Probe {
    int y;
    uint32_t colour;
  };
  const Probe probes[] = {{0, 0xFF0000},  {29, 0xFF0000}, {32, 0xFFFFFF}, {35, 0x00FF00},
                          {59, 0xFFFFFF}, {76, 0x0000FF}, {98, 0x000000}, {99, 0xFFFFFF}};
  for (const Probe& p : probes) {
    EXPECT_EQ(window.Pixel(50, p.y), p.colour) << "row " << p.y;
  }
}

TEST(VerticalLayoutWindow, ContentTallerThanTheLayoutScrolls) {
  SkinTestWindow window(200, 100);
  auto* layout = new CVerticalLayoutUI;
  layout->SetAttribute(L"vscrollbar", L"true");
  layout->SetChildPadding(10);
  std::vector<CControlUI*> rows;
  for (int i = 0; i < 3; ++i) {
    rows.push_back(NewBox(L"row", 0, 50));
    rows.back()->SetPadding(RECT{0, 0, 0, 2});
    layout->Add(rows.back());
  }
  window.Manager().AttachDialog(layout);
  window.Paint();

  SkinUI::CScrollBarUI* bar = layout->GetVerticalScrollBar();
  ASSERT_TRUE(bar->IsVisible());
  // Three rows with their paddings and two gaps.
  EXPECT_EQ(bar->GetScrollRange(), 3 * 52 + 2 * 10 - 100);
  EXPECT_EQ(rows[1]->GetPos().right, 200 - bar->GetFixedWidth());

  // A later layout pass keeps the rows where the bar scrolled them.
  layout->SetScrollPos(SIZE{0, 30});
  layout->NeedUpdate();
  window.Paint();
  EXPECT_EQ(rows[0]->GetPos().top, -30);
  EXPECT_EQ(rows[1]->GetPos().top, 62 - 30);
}

TEST(VerticalLayoutAttributes, NamesAndTable) {
  CVerticalLayoutUI layout;
  EXPECT_STREQ(layout.GetClass(), L"VerticalLayoutUI");
  EXPECT_EQ(layout.GetInterface(L"VerticalLayout"), &layout);
  EXPECT_EQ(layout.GetInterface(L"Container"), &layout);
  EXPECT_NE(layout.GetInterface(L"IContainer"), nullptr);
  EXPECT_EQ(layout.GetInterface(L"HorizontalLayout"), nullptr);

  EXPECT_EQ(layout.GetSepHeight(), 0);
  EXPECT_FALSE(layout.IsSepImmMode());
  EXPECT_EQ(layout.GetControlFlags(), 0u);
  layout.SetAttribute(L"sepheight", L"-6");
  layout.SetAttribute(L"sepimm", L"true");
  layout.SetAttribute(L"childpadding", L"7");
  EXPECT_EQ(layout.GetSepHeight(), -6);
  EXPECT_TRUE(layout.IsSepImmMode());
  EXPECT_EQ(layout.GetChildPadding(), 7);
  EXPECT_EQ(layout.GetControlFlags(), static_cast<UINT>(SkinUI::ControlFlagSetCursor));
  layout.SetEnabled(false);
  EXPECT_EQ(layout.GetControlFlags(), 0u);
  layout.SetAttribute(L"sepimm", L"TRUE");
  EXPECT_FALSE(layout.IsSepImmMode());

  // The strip lies inside the edge the sign names.
  layout.SetPos(RECT{10, 20, 110, 220});
  EXPECT_TRUE(RectIs(layout.GetThumbRect(false), RECT{10, 20, 110, 26}));
  layout.SetSepHeight(4);
  EXPECT_TRUE(RectIs(layout.GetThumbRect(true), RECT{10, 216, 110, 220}));
}

// --- The strip -------------------------------------------------------------------

// A column whose upper part ("top", 100 high, 150 at most) has a 5-pixel
// strip along its bottom edge; "rest" takes what is left.
class VerticalStrip : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* root = new CVerticalLayoutUI;
    top = new CVerticalLayoutUI;
    top->SetFixedHeight(100);
    top->SetMaxHeight(150);
    top->SetMinHeight(60);
    top->SetSepHeight(5);
    rest = NewBox(L"rest");
    root->Add(top);
    root->Add(rest);
    window.Manager().AddNotifier(&moves);
    window.Manager().AttachDialog(root);
    test::AcceptOnlyTestMoves(window);
    window.Paint();
  }
  void TearDown() override { window.Manager().RemoveNotifier(&moves); }

  SkinTestWindow window{200, 300};
  CVerticalLayoutUI* top = nullptr;
  CControlUI* rest = nullptr;
  test::NotifyFilter moves{L"mmMode"};
};

TEST_F(VerticalStrip, ImmediateModeResizesWhileDraggingAndStopsAtTheLimits) {
  top->SetSepImmMode(true);
  window.PostMouse(WM_LBUTTONDOWN, 50, 98, MK_LBUTTON);
  window.Pump();
  EXPECT_EQ(window.Manager().GetPostPaintCount(), 0);

  struct Move {
    int y;
    int height;  // of "top" afterwards
  };
  const Move steps[] = {
      {110, 112},  // down by 12
      {170, 150},  // stops at the maximum
      {180, 150},  // already there: ignored
      {40, 60},    // up to the minimum
      {30, 60},    // already there: ignored
  };
  for (const Move& m : steps) {
    test::PostTestMove(window, 50, m.y, MK_LBUTTON);
    window.Pump();
    window.Paint();
    SCOPED_TRACE("move to " + std::to_string(m.y));
    EXPECT_EQ(top->GetFixedHeight(), m.height);
    EXPECT_TRUE(RectIs(top->GetPos(), RECT{0, 0, 200, m.height}));
    EXPECT_EQ(rest->GetPos().top, m.height);
  }
  // Every move that changed something told the window.
  EXPECT_EQ(moves.received.size(), 3u);
  for (const SkinUI::TNotifyUI& msg : moves.received) EXPECT_EQ(msg.pSender, top);

  window.PostMouse(WM_LBUTTONUP, 50, 30);
  window.Pump();
  window.Paint();
  // Moves after the release do nothing.
  test::PostTestMove(window, 50, 120);
  window.Pump();
  window.Paint();
  EXPECT_EQ(top->GetFixedHeight(), 60);
  EXPECT_EQ(moves.received.size(), 3u);
}

TEST_F(VerticalStrip, OverTheStripTheCursorIsTheNorthSouthArrow) {
  POINT screen = {50, 97};
  ::ClientToScreen(window.Get(), &screen);
  ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
  window.Pump();
  ::SendMessageW(window.Get(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Get()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZENS));

  screen = POINT{50, 50};
  ::ClientToScreen(window.Get(), &screen);
  ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
  window.Pump();
  ::SendMessageW(window.Get(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Get()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace
