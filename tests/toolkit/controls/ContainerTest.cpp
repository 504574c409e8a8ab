// Containers: items and their disposal, visibility and enabled state
// passed to children, floating placement, the search, scrolling by wheel
// and keys in a real window, fitting the scroll bars, and painting.

#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RectCheck.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "tests/toolkit/core/ProbeControl.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/IContainerUI.h"
#include "toolkit/controls/ScrollBarUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CContainerUI;
using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;
using SkinUI::CScrollBarUI;
using test::ProbeControl;
using test::Record;
using test::RectText;
using test::RenderCanvas;
using test::Rgb;
using test::SameRect;
using test::SkinTestWindow;

// Counts the deletions of the controls it is attached to.
struct DeathWatch {
  std::vector<CControlUI*> died;
  bool OnDestroy(void* control) {
    died.push_back(static_cast<CControlUI*>(control));
    return true;
  }
  void Watch(CControlUI* control) {
    control->OnDestroy += SkinUI::MakeDelegate(this, &DeathWatch::OnDestroy);
  }
  bool Died(CControlUI* control) const {
    for (CControlUI* c : died) {
      if (c == control) return true;
    }
    return false;
  }
};

// --- Items ---------------------------------------------------------------------

TEST(ContainerItems, AddInsertMoveAndFind) {
  CContainerUI container;
  EXPECT_STREQ(container.GetClass(), L"ContainerUI");
  EXPECT_EQ(container.GetInterface(L"Container"), &container);
  EXPECT_EQ(container.GetInterface(L"Control"), &container);
  auto* items = static_cast<SkinUI::IContainerUI*>(container.GetInterface(L"IContainer"));
  ASSERT_EQ(items, static_cast<SkinUI::IContainerUI*>(&container));
  EXPECT_EQ(container.GetInterface(L"ScrollBar"), nullptr);

  auto* a = new CControlUI;
  auto* b = new CControlUI;
  auto* c = new CControlUI;
  EXPECT_FALSE(items->Add(nullptr));
  EXPECT_TRUE(items->Add(a));
  EXPECT_TRUE(items->Add(c));
  EXPECT_FALSE(items->AddAt(b, 3));
  EXPECT_FALSE(items->AddAt(b, -1));
  EXPECT_TRUE(items->AddAt(b, 1));
  EXPECT_EQ(items->GetCount(), 3);
  EXPECT_EQ(items->GetItemAt(0), a);
  EXPECT_EQ(items->GetItemAt(1), b);
  EXPECT_EQ(items->GetItemAt(2), c);
  EXPECT_EQ(items->GetItemAt(3), nullptr);
  EXPECT_EQ(items->GetItemAt(-1), nullptr);
  EXPECT_EQ(items->GetItemIndex(c), 2);
  CControlUI stranger;
  EXPECT_EQ(items->GetItemIndex(&stranger), -1);
  EXPECT_TRUE(items->SetItemIndex(c, 0));
  EXPECT_EQ(items->GetItemAt(0), c);
  EXPECT_EQ(items->GetItemAt(1), a);
  // Moving to an index outside the items keeps the child where it was.
  EXPECT_FALSE(items->SetItemIndex(c, 3));
  EXPECT_EQ(items->GetItemIndex(c), 0);
  EXPECT_FALSE(items->SetItemIndex(&stranger, 0));
  EXPECT_FALSE(items->Remove(&stranger));
  EXPECT_FALSE(items->RemoveAt(5));
}

TEST(ContainerItems, RemovedChildrenAreDeletedUnlessTheContainerKeepsThem) {
  DeathWatch watch;
  auto* container = new CContainerUI;
  auto* a = new CControlUI;
  auto* b = new CControlUI;
  auto* c = new CControlUI;
  auto* kept = new CControlUI;
  for (CControlUI* control : {a, b, c}) {
    watch.Watch(control);
    container->Add(control);
  }
  // Without a manager deletion is immediate.
  EXPECT_TRUE(container->Remove(a));
  EXPECT_TRUE(watch.Died(a));
  EXPECT_TRUE(container->RemoveAt(0));
  EXPECT_TRUE(watch.Died(b));
  container->SetAutoDestroy(false);
  watch.Watch(kept);
  container->Add(kept);
  EXPECT_TRUE(container->Remove(kept));
  EXPECT_FALSE(watch.Died(kept));
  delete kept;
  container->SetAutoDestroy(true);
  // The container takes the rest with it.
  delete container;
  EXPECT_TRUE(watch.Died(c));
  EXPECT_EQ(watch.died.size(), 4u);
}

TEST(ContainerItems, ALiveWindowDefersDeletionToItsCleanUp) {
  SkinTestWindow window(200, 100);
  DeathWatch watch;
  auto* root = new CContainerUI;
  auto* child = new ProbeControl(L"child");
  watch.Watch(child);
  root->Add(child);
  window.Manager().AttachDialog(root);
  window.Paint();
  ASSERT_EQ(window.Manager().FindControl(L"child"), child);

  // A control may remove itself from inside its own event handling: it
  // lives until the clean-up message.
  ASSERT_TRUE(root->Remove(child));
  EXPECT_FALSE(watch.Died(child));
  EXPECT_EQ(child->GetParent(), nullptr);
  EXPECT_EQ(window.Manager().FindControl(L"child"), child);
  window.Pump();
  EXPECT_TRUE(watch.Died(child));
  EXPECT_EQ(window.Manager().FindControl(L"child"), nullptr);

  // Immediately when the container does not delay.
  auto* now = new ProbeControl(L"now");
  watch.Watch(now);
  root->Add(now);
  root->SetDelayedDestroy(false);
  root->RemoveAll();
  EXPECT_TRUE(watch.Died(now));
  EXPECT_EQ(root->GetCount(), 0);
}

TEST(ContainerItems, AddingInitialisesTheChildAndRegistersItsName) {
  SkinTestWindow window(200, 100);
  auto* root = new CContainerUI;
  window.Manager().AttachDialog(root);
  struct Initialised : ProbeControl {
    Initialised() : ProbeControl(L"late") {}
    int inits = 0;
    void DoInit() override { ++inits; }
  };
  auto* late = new Initialised;
  root->Add(late);
  EXPECT_EQ(late->GetManager(), &window.Manager());
  EXPECT_EQ(late->GetParent(), root);
  EXPECT_EQ(late->inits, 1);
  EXPECT_EQ(window.Manager().FindControl(L"late"), late);
  EXPECT_EQ(root->FindSubControl(L"LATE"), late);  // names ignoring case
  EXPECT_TRUE(root->SetSubControlText(L"late", L"t"));
  EXPECT_EQ(root->GetSubControlText(L"late"), L"t");
  EXPECT_TRUE(root->SetSubControlFixedHeight(L"late", 12));
  EXPECT_EQ(root->GetSubControlFixedHeight(L"late"), 12);
  EXPECT_TRUE(root->SetSubControlFixedWdith(L"late", 13));
  EXPECT_EQ(root->GetSubControlFixedWdith(L"late"), 13);
  EXPECT_TRUE(root->SetSubControlUserData(L"late", L"u"));
  EXPECT_EQ(root->GetSubControlUserData(L"late"), L"u");
  EXPECT_FALSE(root->SetSubControlText(L"none", L"t"));
  EXPECT_EQ(root->GetSubControlFixedHeight(L"none"), -1);
  EXPECT_TRUE(root->GetSubControlText(L"none").IsEmpty());
}

// --- State passed to children ---------------------------------------------------

TEST(ContainerState, VisibilityAndEnabledReachTheChildren) {
  CContainerUI outer;
  auto* inner = new CContainerUI;
  auto* leaf = new CControlUI;
  inner->Add(leaf);
  outer.Add(inner);
  outer.SetVisible(false);
  EXPECT_FALSE(inner->IsVisible());
  EXPECT_FALSE(leaf->IsVisible());
  outer.SetVisible(true);
  EXPECT_TRUE(leaf->IsVisible());
  // A child hidden itself stays hidden when the container shows again.
  leaf->SetVisible(false);
  outer.SetVisible(false);
  outer.SetVisible(true);
  EXPECT_FALSE(leaf->IsVisible());
  leaf->SetVisible(true);
  // A child added to a hidden container is hidden with it.
  outer.SetVisible(false);
  auto* added = new CControlUI;
  outer.Add(added);
  EXPECT_FALSE(added->IsVisible());

  outer.SetEnabled(false);
  EXPECT_FALSE(inner->IsEnabled());
  EXPECT_FALSE(leaf->IsEnabled());
  outer.SetEnabled(true);
  EXPECT_TRUE(leaf->IsEnabled());

  outer.EnableScrollBar(true, true);
  outer.SetMouseEnabled(false);
  EXPECT_FALSE(outer.GetVerticalScrollBar()->IsMouseEnabled());
  EXPECT_FALSE(outer.GetHorizontalScrollBar()->IsMouseEnabled());
}

TEST(ContainerAttributes, TheContainerTableAndTheBase) {
  CContainerUI container;
  container.SetAttribute(L"inset", L"1,2,3,4");
  container.SetAttribute(L"childpadding", L"6");
  container.SetAttribute(L"mousechild", L"false");
  container.SetAttribute(L"scrollstepsize", L"12");
  container.SetAttribute(L"scrollstepsize", L"-3");  // ignored
  container.SetAttribute(L"width", L"40");           // the base's
  EXPECT_TRUE(SameRect(container.GetInset(), RECT{1, 2, 3, 4}));
  EXPECT_EQ(container.GetChildPadding(), 6);
  EXPECT_FALSE(container.IsMouseChildEnabled());
  EXPECT_EQ(container.GetScrollStepSize(), 12);
  EXPECT_EQ(container.GetFixedWidth(), 40);

  container.SetAttribute(L"vscrollbar", L"true");
  ASSERT_NE(container.GetVerticalScrollBar(), nullptr);
  EXPECT_EQ(container.GetHorizontalScrollBar(), nullptr);
  container.SetAttribute(L"hscrollbarstyle", L"linesize=\"3\" range=\"50\"");
  ASSERT_NE(container.GetHorizontalScrollBar(), nullptr);
  EXPECT_NE(container.GetVerticalScrollBar(), nullptr);  // kept
  EXPECT_TRUE(container.GetHorizontalScrollBar()->IsHorizontal());
  EXPECT_EQ(container.GetHorizontalScrollBar()->GetLineSize(), 3);
  EXPECT_EQ(container.GetHorizontalScrollBar()->GetScrollRange(), 50);
  EXPECT_EQ(container.GetHorizontalScrollBar()->GetOwner(), &container);
  container.SetAttribute(L"vscrollbar", L"false");
  EXPECT_EQ(container.GetVerticalScrollBar(), nullptr);
  EXPECT_NE(container.GetHorizontalScrollBar(), nullptr);
}

TEST(ContainerAttributes, NewScrollBarsTakeTheSkinsDefaultStyle) {
  CPaintManagerUI manager;
  manager.AddDefaultAttributeList(L"VScrollBar", L"width=\"9\" linesize=\"4\"");
  CContainerUI container;
  container.SetManager(&manager, nullptr, false);
  container.EnableScrollBar(true, false);
  ASSERT_NE(container.GetVerticalScrollBar(), nullptr);
  EXPECT_EQ(container.GetVerticalScrollBar()->GetFixedWidth(), 9);
  EXPECT_EQ(container.GetVerticalScrollBar()->GetLineSize(), 4);
  container.EnableScrollBar(false, false);
  container.SetManager(nullptr, nullptr, false);
}

// --- Floating children ------------------------------------------------------------

TEST(ContainerFloat, FloatingChildrenAreAnchoredToTheirEdges) {
  SkinTestWindow window(200, 100);
  auto* root = new CContainerUI;
  root->SetAttribute(L"inset", L"5,5,5,5");  // floating children ignore it
  auto* corner = new CControlUI;
  corner->SetAttribute(L"float", L"true");
  corner->SetAttribute(L"pos", L"-30,-30,-10,-10");  // fixed XY (-10, -10), 20 x 20
  root->Add(corner);
  auto* plain = new CControlUI;
  root->Add(plain);
  window.Manager().AttachDialog(root);
  window.Paint();
  EXPECT_EQ(corner->GetFixedXY().cx, -10);
  EXPECT_TRUE(SameRect(corner->GetPos(), RECT{170, 70, 190, 90})) << RectText(corner->GetPos());
  EXPECT_TRUE(SameRect(plain->GetPos(), RECT{5, 5, 195, 95})) << RectText(plain->GetPos());
}

TEST(ContainerFloat, ARelativeChildMovesAndGrowsWithItsParent) {
  SkinTestWindow window(200, 100);
  auto* root = new CContainerUI;
  auto* relative = new CControlUI;
  relative->SetAttribute(L"float", L"true");
  relative->SetAttribute(L"pos", L"10,10,50,30");
  relative->SetAttribute(L"relativepos", L"50,0,0,100");
  root->Add(relative);
  window.Manager().AttachDialog(root);
  window.Paint();
  // The first placement only records the parent's size.
  EXPECT_TRUE(SameRect(relative->GetPos(), RECT{10, 10, 50, 30})) << RectText(relative->GetPos());
  EXPECT_EQ(relative->GetRelativePos().szParent.cx, 200);
  // The parent grows by 100 x 40: half the width to the right, all the
  // height taller.
  ::SetWindowPos(window.Get(), nullptr, 0, 0, 300, 140, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  window.Paint();
  EXPECT_TRUE(SameRect(root->GetPos(), RECT{0, 0, 300, 140})) << RectText(root->GetPos());
  EXPECT_TRUE(SameRect(relative->GetPos(), RECT{60, 10, 100, 70})) << RectText(relative->GetPos());
}

// --- The search ---------------------------------------------------------------------

CControlUI* CALLBACK Collect(CControlUI* control, LPVOID data) {
  static_cast<std::vector<std::wstring>*>(data)->push_back(control->GetName().GetData());
  return nullptr;
}

CControlUI* CALLBACK Hit(CControlUI* control, LPVOID /*data*/) { return control; }

class ContainerSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    box.SetName(L"box");
    box.SetPos(RECT{0, 0, 100, 100});
    box.SetInset(RECT{10, 10, 10, 10});
    for (const wchar_t* name : {L"a", L"b"}) {
      auto* child = new CControlUI;
      child->SetName(name);
      child->SetPos(RECT{0, 0, 100, 100});
      box.Add(child);
    }
  }
  CContainerUI box;
};

TEST_F(ContainerSearch, TheOrderFollowsTheFlags) {
  std::vector<std::wstring> seen;
  box.FindControl(Collect, &seen, 0);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"a", L"b", L"box"}));
  seen.clear();
  box.FindControl(Collect, &seen, SkinUI::FindMeFirst);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"box", L"a", L"b"}));
  seen.clear();
  box.FindControl(Collect, &seen, SkinUI::FindTopFirst);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"b", L"a", L"box"}));
  seen.clear();
  static_cast<CControlUI*>(box.GetItemAt(0))->SetVisible(false);
  box.FindControl(Collect, &seen, SkinUI::FindVisible);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"b", L"box"}));
  seen.clear();
  box.SetEnabled(false);
  box.FindControl(Collect, &seen, SkinUI::FindEnabled);
  EXPECT_TRUE(seen.empty());
}

TEST_F(ContainerSearch, HitTestingKeepsToTheInnerRectangle) {
  const UINT flags = SkinUI::FindVisible | SkinUI::FindHitTest | SkinUI::FindTopFirst;
  POINT middle = {50, 50};
  POINT inset = {5, 5};
  POINT outside = {150, 50};
  EXPECT_EQ(box.FindControl(Hit, &middle, flags), box.GetItemAt(1));
  // Over the inset the children do not count, the container does.
  EXPECT_EQ(box.FindControl(Hit, &inset, flags), &box);
  EXPECT_EQ(box.FindControl(Hit, &outside, flags), nullptr);
  // A floating child counts over the inset too.
  static_cast<CControlUI*>(box.GetItemAt(1))->SetFloat(true);
  EXPECT_EQ(box.FindControl(Hit, &inset, flags), box.GetItemAt(1));
  // Without mouse children, hit testing stops at the container.
  box.SetMouseChildEnabled(false);
  EXPECT_EQ(box.FindControl(Hit, &middle, flags), &box);
}

// --- Scrolling ------------------------------------------------------------------------

// A test layout: children stacked top to bottom at their fixed heights,
// moved by the vertical scroll position, with the scroll bar fitted to
// what they need.
class StackLayout : public CContainerUI {
 public:
  void SetPos(RECT rc) override {
    CControlUI::SetPos(rc);
    RECT inner = GetInnerRect();
    int y = inner.top - GetScrollPos().cy;
    int needed = 0;
    for (int i = 0; i < GetCount(); ++i) {
      CControlUI* child = GetItemAt(i);
      if (!child->IsVisible()) continue;
      if (child->IsFloat()) {
        SetFloatPos(i);
        continue;
      }
      child->SetPos(RECT{inner.left, y, inner.right, y + child->GetFixedHeight()});
      y += child->GetFixedHeight();
      needed += child->GetFixedHeight();
    }
    ProcessScrollBar(inner, 0, needed);
  }
};

class ScrollingWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    stack = new StackLayout;
    stack->SetName(L"stack");
    stack->SetAttribute(L"vscrollbar", L"true");
    stack->SetAttribute(L"scrollstepsize", L"10");
    for (int i = 0; i < 5; ++i) {
      auto* row = new ProbeControl((L"row" + std::to_wstring(i)).c_str());
      row->SetFixedHeight(50);
      rows.push_back(row);
      stack->Add(row);
    }
    badge = new ProbeControl(L"badge");
    badge->SetAttribute(L"float", L"true");
    badge->SetAttribute(L"pos", L"0,0,20,20");
    stack->Add(badge);
    window.Manager().AttachDialog(stack);
    window.Paint();
  }
  CScrollBarUI* Bar() { return stack->GetVerticalScrollBar(); }

  SkinTestWindow window{200, 100};
  StackLayout* stack = nullptr;
  std::vector<ProbeControl*> rows;
  ProbeControl* badge = nullptr;
};

TEST_F(ScrollingWindow, ContentTallerThanTheContainerShowsTheBar) {
  ASSERT_TRUE(Bar()->IsVisible());
  EXPECT_EQ(Bar()->GetScrollRange(), 250 - 100);
  EXPECT_EQ(Bar()->GetScrollPos(), 0);
  // The bar stands right of the content, which gave up its width.
  EXPECT_TRUE(SameRect(Bar()->GetPos(), RECT{184, 0, 200, 100})) << RectText(Bar()->GetPos());
  EXPECT_TRUE(SameRect(rows[1]->GetPos(), RECT{0, 50, 184, 100})) << RectText(rows[1]->GetPos());
  EXPECT_EQ(stack->GetScrollRange().cy, 150);
}

TEST_F(ScrollingWindow, TheWheelScrollsByTheStepAndOnlyNonFloatingChildrenMove) {
  window.PostWheel(50, 50, -WHEEL_DELTA);  // toward the user: down
  window.Pump();
  EXPECT_EQ(stack->GetScrollPos().cy, 10);
  EXPECT_EQ(rows[0]->GetPos().top, -10);
  EXPECT_EQ(rows[1]->GetPos().top, 40);
  EXPECT_TRUE(SameRect(badge->GetPos(), RECT{0, 0, 20, 20})) << RectText(badge->GetPos());
  window.PostWheel(50, 50, WHEEL_DELTA);
  window.PostWheel(50, 50, WHEEL_DELTA);  // stops at the top
  window.Pump();
  EXPECT_EQ(stack->GetScrollPos().cy, 0);
  EXPECT_EQ(rows[0]->GetPos().top, 0);
}

TEST_F(ScrollingWindow, KeysScrollTheFocusedContainer) {
  window.Manager().SetFocus(stack);
  ASSERT_EQ(window.Manager().GetFocus(), stack);
  struct KeyCase {
    WPARAM key;
    int position;
  };
  const KeyCase keys[] = {
      {VK_DOWN, 10},  {VK_NEXT, 110}, {VK_END, 150},  {VK_UP, 140},
      {VK_PRIOR, 40}, {VK_HOME, 0},   {VK_NEXT, 100},
  };
  for (const KeyCase& k : keys) {
    window.PostKey(WM_KEYDOWN, k.key);
    window.PostKey(WM_KEYUP, k.key);
    window.Pump();
    EXPECT_EQ(stack->GetScrollPos().cy, k.position) << "key " << k.key;
    EXPECT_EQ(rows[0]->GetPos().top, -k.position);
  }
}

TEST_F(ScrollingWindow, ShrinkingContentHidesTheBarAndResetsIt) {
  stack->SetScrollPos(SIZE{0, 60});
  ASSERT_EQ(Bar()->GetScrollPos(), 60);
  for (int i = 4; i >= 1; --i) stack->Remove(rows[i]);
  window.Paint();
  EXPECT_FALSE(Bar()->IsVisible());
  EXPECT_EQ(Bar()->GetScrollPos(), 0);
  EXPECT_EQ(Bar()->GetScrollRange(), 0);
  EXPECT_EQ(stack->GetScrollPos().cy, 0);
  EXPECT_TRUE(SameRect(rows[0]->GetPos(), RECT{0, 0, 200, 50})) << RectText(rows[0]->GetPos());
}

TEST_F(ScrollingWindow, AContainerThatIgnoresTheMousePassesTheWheelOn) {
  // An inner container not taking the mouse hands the wheel to its parent,
  // the stack, which scrolls.
  auto* inner = new CContainerUI;
  inner->SetFixedHeight(50);
  inner->SetMouseEnabled(false);
  auto* probe = new ProbeControl(L"probe");
  probe->SetMouseEnabled(false);
  inner->Add(probe);
  stack->AddAt(inner, 0);
  window.Paint();
  SkinUI::TEventUI wheel;
  wheel.Type = SkinUI::EventScrollWheel;
  wheel.wParam = SB_LINEDOWN;
  inner->Event(wheel);
  EXPECT_EQ(stack->GetScrollPos().cy, 10);
}

// --- Painting ------------------------------------------------------------------------

TEST(ContainerPaint, ChildrenAreClippedToTheInnerRectangleButFloatingOnesAreNot) {
  CPaintManagerUI manager;
  CContainerUI box;
  box.SetManager(&manager, nullptr, false);
  box.SetBkColor(0xFF0000FF);
  box.SetInset(RECT{10, 10, 10, 10});
  auto* child = new CControlUI;
  child->SetBkColor(0xFFFF0000);
  box.Add(child);
  auto* floating = new CControlUI;
  floating->SetFloat(true);
  floating->SetBkColor(0xFF00FF00);
  box.Add(floating);
  box.SetPos(RECT{0, 0, 60, 60});
  child->SetPos(RECT{0, 0, 60, 60});   // reaches over the inset
  floating->SetPos(RECT{0, 0, 8, 8});  // lies on the inset
  RenderCanvas canvas(70, 70);
  box.DoPaint(canvas.Dc(), RECT{0, 0, 70, 70});
  EXPECT_EQ(Rgb(canvas.At(30, 30)), 0xFF0000u);  // the child inside
  EXPECT_EQ(Rgb(canvas.At(5, 30)), 0x0000FFu);   // the inset shows the container
  EXPECT_EQ(Rgb(canvas.At(4, 4)), 0x00FF00u);    // the floating child over the inset
  EXPECT_EQ(Rgb(canvas.At(65, 65)), 0xFFFFFFu);  // nothing outside
  // A paint rectangle on the inset alone still paints floating children.
  canvas.Fill(0xFFFFFFFF);
  box.DoPaint(canvas.Dc(), RECT{0, 0, 9, 9});
  EXPECT_EQ(Rgb(canvas.At(4, 4)), 0x00FF00u);
  box.SetManager(nullptr, nullptr, false);
}

}  // namespace
