// The control base: skin attributes, setters and what they invalidate in a
// real window, placement and "PosChanged", visibility and focus, the
// search flags, hooks and default event handling, painting read back
// pixel by pixel, image drawing and GenerateBitmap.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RectCheck.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "tests/toolkit/core/ProbeControl.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CContainerUI;
using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;
using SkinUI::TEventUI;
using test::Argb;
using test::NotifyLog;
using test::ProbeControl;
using test::Record;
using test::RectText;
using test::RenderCanvas;
using test::Rgb;
using test::SameRect;
using test::SkinTestWindow;

// --- Attributes --------------------------------------------------------------

struct AttributeCase {
  const wchar_t* name;
  const wchar_t* value;
  std::function<bool(const CControlUI&)> holds;
  const char* expectation;
};

const AttributeCase kAttributes[] = {
    {L"bkcolor", L"#FF112233", [](const CControlUI& c) { return c.GetBkColor() == 0xFF112233; },
     "bkcolor read after #"},
    {L"bkcolor", L"  #FF112233", [](const CControlUI& c) { return c.GetBkColor() == 0xFF112233; },
     "bkcolor skips leading spaces"},
    {L"bkcolor1", L"80FF0000", [](const CControlUI& c) { return c.GetBkColor() == 0x80FF0000; },
     "bkcolor1 is bkcolor, # optional"},
    {L"bkcolor2", L"#FF00FF00", [](const CControlUI& c) { return c.GetBkColor2() == 0xFF00FF00; },
     "bkcolor2"},
    {L"bkcolor3", L" #FF0000FF", [](const CControlUI& c) { return c.GetBkColor3() == 0xFF0000FF; },
     "bkcolor3 skips spaces"},
    {L"bordercolor", L"#FF445566",
     [](const CControlUI& c) { return c.GetBorderColor() == 0xFF445566; }, "bordercolor"},
    {L"bordercolor", L" #FF445566", [](const CControlUI& c) { return c.GetBorderColor() == 0; },
     "bordercolor does not skip the space before #"},
    {L"focusbordercolor", L" #FF445566",
     [](const CControlUI& c) { return c.GetFocusBorderColor() == 0; },
     "focusbordercolor does not skip the space before #"},
    {L"focusbordercolor", L"FF445566",
     [](const CControlUI& c) { return c.GetFocusBorderColor() == 0xFF445566; }, "focusbordercolor"},
    {L"bordersize", L"2",
     [](const CControlUI& c) {
       RECT sides = c.GetBorderSizeRect();
       return c.GetBorderSize() == 2 && ::IsRectEmpty(&sides) && sides.left == 0 && sides.top == 0;
     },
     "bordersize without a comma is uniform"},
    {L"bordersize", L"0,1,0,1",
     [](const CControlUI& c) {
       return c.GetBorderSize() == 0 && c.GetTopBorderSize() == 1 && c.GetBottomBorderSize() == 1 &&
              c.GetLeftBorderSize() == 0 && c.GetRightBorderSize() == 0;
     },
     "bordersize with commas sets the sides"},
    {L"leftbordersize", L"3", [](const CControlUI& c) { return c.GetLeftBorderSize() == 3; },
     "leftbordersize"},
    {L"bottombordersize", L"4", [](const CControlUI& c) { return c.GetBottomBorderSize() == 4; },
     "bottombordersize"},
    {L"borderstyle", L"2", [](const CControlUI& c) { return c.GetBorderStyle() == 2; },
     "borderstyle"},
    {L"borderround", L"4,6",
     [](const CControlUI& c) { return c.GetBorderRound().cx == 4 && c.GetBorderRound().cy == 6; },
     "borderround"},
    {L"pos", L"10,20,110,50",
     [](const CControlUI& c) {
       return c.GetFixedXY().cx == 10 && c.GetFixedXY().cy == 20 && c.GetFixedWidth() == 100 &&
              c.GetFixedHeight() == 30;
     },
     "pos from the top-left"},
    {L"pos", L"-60,5,-10,25",
     [](const CControlUI& c) {
       return c.GetFixedXY().cx == -10 && c.GetFixedXY().cy == 5 && c.GetFixedWidth() == 50 &&
              c.GetFixedHeight() == 20;
     },
     "pos anchored to the right"},
    {L"pos", L"0 0 30 40",
     [](const CControlUI& c) { return c.GetFixedWidth() == 30 && c.GetFixedHeight() == 40; },
     "any separator reads"},
    {L"relativepos", L"50,0,0,100",
     [](const CControlUI& c) {
       auto r = c.GetRelativePos();
       return r.bRelative && r.nMoveXPercent == 50 && r.nMoveYPercent == 0 &&
              r.nZoomXPercent == 0 && r.nZoomYPercent == 100;
     },
     "relativepos"},
    {L"padding", L"1,2,3,4",
     [](const CControlUI& c) {
       return SameRect(c.GetPadding(), RECT{1, 2, 3, 4});
     },
     "padding"},
    {L"padding", L"7",
     [](const CControlUI& c) {
       return SameRect(c.GetPadding(), RECT{7, 0, 0, 0});
     },
     "missing numbers read as 0"},
    {L"width", L"33", [](const CControlUI& c) { return c.GetFixedWidth() == 33; }, "width"},
    {L"height", L"-5", [](const CControlUI& c) { return c.GetFixedHeight() == 0; },
     "negative height ignored"},
    {L"minwidth", L"4", [](const CControlUI& c) { return c.GetMinWidth() == 4; }, "minwidth"},
    {L"maxheight", L"77", [](const CControlUI& c) { return c.GetMaxHeight() == 77; }, "maxheight"},
    {L"name", L"ok", [](const CControlUI& c) { return c.GetName() == L"ok"; }, "name"},
    {L"text", L"hello", [](const CControlUI& c) { return c.GetText() == L"hello"; }, "text"},
    {L"tooltip", L"a<n>b", [](const CControlUI& c) { return c.GetToolTip() == L"a\r\nb"; },
     "<n> becomes a line break"},
    {L"userdata", L"u", [](const CControlUI& c) { return c.GetUserData() == L"u"; }, "userdata"},
    {L"enabled", L"false", [](const CControlUI& c) { return !c.IsEnabled(); }, "enabled false"},
    {L"enabled", L"True", [](const CControlUI& c) { return !c.IsEnabled(); },
     "only exact true is true"},
    {L"mouse", L"false", [](const CControlUI& c) { return !c.IsMouseEnabled(); }, "mouse"},
    {L"keyboard", L"false", [](const CControlUI& c) { return !c.IsKeyboardEnabled(); }, "keyboard"},
    {L"visible", L"false", [](const CControlUI& c) { return !c.IsVisible(); }, "visible"},
    {L"float", L"true", [](const CControlUI& c) { return c.IsFloat(); }, "float"},
    {L"menu", L"true", [](const CControlUI& c) { return c.IsContextMenuUsed(); }, "menu"},
    {L"shortcut", L"xyz", [](const CControlUI& c) { return c.GetShortcut() == L'x'; },
     "shortcut takes the first character"},
    {L"colorhsl", L"true", [](const CControlUI& c) { return c.IsColorHSL(); }, "colorhsl"},
    {L"bkimage", L"file='bk.png'",
     [](const CControlUI& c) { return std::wstring(c.GetBkImage()) == L"file='bk.png'"; },
     "bkimage"},
    {L"foreimage", L"fore.png",
     [](const CControlUI& c) { return std::wstring(c.GetForeImage()) == L"fore.png"; },
     "foreimage"},
    {L"Width", L"33", [](const CControlUI& c) { return c.GetFixedWidth() == 0; },
     "names are case-sensitive"},
    {L"nosuch", L"1", [](const CControlUI& c) { return c.GetFixedWidth() == 0; },
     "unknown names are ignored"},
};

TEST(ControlAttributes, EachAttributeSetsItsField) {
  for (const AttributeCase& c : kAttributes) {
    CControlUI control;
    control.SetAttribute(c.name, c.value);
    EXPECT_TRUE(c.holds(control)) << c.expectation;
  }
}

TEST(ControlAttributes, DefaultsAreTheDocumentedOnes) {
  CControlUI control;
  EXPECT_STREQ(control.GetClass(), L"ControlUI");
  EXPECT_EQ(control.GetInterface(L"Control"), &control);
  EXPECT_EQ(control.GetInterface(L"Container"), nullptr);
  EXPECT_TRUE(control.IsUpdateNeeded());
  EXPECT_EQ(control.GetMaxWidth(), 9999);
  EXPECT_EQ(control.GetMaxHeight(), 9999);
  EXPECT_EQ(control.GetToolTipWidth(), 300);
  EXPECT_TRUE(control.IsVisible());
  EXPECT_TRUE(control.IsEnabled());
  EXPECT_TRUE(control.IsMouseEnabled());
  EXPECT_TRUE(control.IsKeyboardEnabled());
  EXPECT_FALSE(control.IsFocused());
  EXPECT_FALSE(control.IsFloat());
  EXPECT_EQ(control.GetControlFlags(), 0u);
  SIZE estimate = control.EstimateSize(SIZE{100, 100});
  EXPECT_EQ(estimate.cx, 0);
  EXPECT_EQ(estimate.cy, 0);
}

TEST(ControlAttributes, AnAttributeListStopsAtAnythingButOneSpace) {
  struct ListCase {
    const wchar_t* list;
    const wchar_t* text;
    int width;
  };
  const ListCase cases[] = {
      {L"text=\"a\" width=\"5\"", L"a", 5},
      {L"text=\"a\"  width=\"5\"", L"a", 0},  // two spaces
      {L"text=\"a\"width=\"5\"", L"a", 0},    // none
      {L"text = \"a\"", L"", 0},              // the name runs up to '='
      {L"text=a width=\"5\"", L"", 0},        // no opening quote
      {L"text=\"a width=\"5\"", L"a width=", 0},
      {L"text=\"unterminated", L"", 0},
      {L"", L"", 0},
  };
  for (const ListCase& c : cases) {
    CControlUI control;
    control.ApplyAttributeList(c.list);
    EXPECT_EQ(std::wstring(control.GetText().GetData()), c.text);
    EXPECT_EQ(control.GetFixedWidth(), c.width);
  }
}

// --- A control in a real window -------------------------------------------------

// A window whose root container holds one control at (10, 10, 60, 40).
class ControlInWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    root = new CContainerUI;
    root->SetName(L"root");
    child = new ProbeControl(L"child", &log);
    child->SetFloat(true);
    child->SetAttribute(L"pos", L"10,10,60,40");
    root->Add(child);
    window.Manager().AttachDialog(root);
    window.Manager().AddNotifier(&notifications);
    window.Paint();
    log.clear();
    notifications.received.clear();
    window.Validate();
  }
  void TearDown() override { window.Manager().RemoveNotifier(&notifications); }

  SkinTestWindow window{200, 100};
  CContainerUI* root = nullptr;
  ProbeControl* child = nullptr;
  std::vector<Record> log;
  NotifyLog notifications{&log};
};

TEST_F(ControlInWindow, TheFirstLayoutPlacesTheFloatingChild) {
  EXPECT_TRUE(SameRect(root->GetPos(), RECT{0, 0, 200, 100})) << RectText(root->GetPos());
  EXPECT_TRUE(SameRect(child->GetPos(), RECT{10, 10, 60, 40})) << RectText(child->GetPos());
  EXPECT_FALSE(child->IsUpdateNeeded());
}

struct SetterCase {
  const char* name;
  std::function<void(CControlUI&)> apply;
  // Whether applying the same value a second time invalidates again.
  bool invalidatesWhenUnchanged;
};

const SetterCase kSetters[] = {
    {"SetText", [](CControlUI& c) { c.SetText(L"x"); }, false},
    {"SetBkColor", [](CControlUI& c) { c.SetBkColor(0xFF0000FF); }, false},
    {"SetBkColor2", [](CControlUI& c) { c.SetBkColor2(0xFF0000FF); }, false},
    {"SetBkColor3", [](CControlUI& c) { c.SetBkColor3(0xFF0000FF); }, false},
    {"SetBorderColor", [](CControlUI& c) { c.SetBorderColor(0xFF0000FF); }, false},
    {"SetFocusBorderColor", [](CControlUI& c) { c.SetFocusBorderColor(0xFF0000FF); }, false},
    {"SetColorHSL", [](CControlUI& c) { c.SetColorHSL(true); }, false},
    {"SetBorderSize(int)", [](CControlUI& c) { c.SetBorderSize(2); }, false},
    {"SetEnabled", [](CControlUI& c) { c.SetEnabled(false); }, false},
    {"SetNormalImage", [](CControlUI& c) { c.SetNormalImage(L"n.png"); }, true},
    {"SetHotImage", [](CControlUI& c) { c.SetHotImage(L"n.png"); }, true},
    {"SetPushedImage", [](CControlUI& c) { c.SetPushedImage(L"n.png"); }, true},
    {"SetFocusedImage", [](CControlUI& c) { c.SetFocusedImage(L"n.png"); }, true},
    {"SetDisabledImage", [](CControlUI& c) { c.SetDisabledImage(L"n.png"); }, true},
    {"SetForeImage", [](CControlUI& c) { c.SetForeImage(L"n.png"); }, true},
    {"SetLeftBorderSize", [](CControlUI& c) { c.SetLeftBorderSize(1); }, true},
    {"SetBorderSize(RECT)",
     [](CControlUI& c) {
       c.SetBorderSize(RECT{1, 1, 1, 1});
     },
     true},
    {"SetBorderStyle", [](CControlUI& c) { c.SetBorderStyle(1); }, true},
    {"SetBorderRound",
     [](CControlUI& c) {
       c.SetBorderRound(SIZE{2, 2});
     },
     true},
};

TEST_F(ControlInWindow, SettersInvalidateTheControlInTheWindow) {
  for (const SetterCase& c : kSetters) {
    ProbeControl* control = new ProbeControl(L"probe");
    control->SetFloat(true);
    control->SetAttribute(L"pos", L"20,30,70,60");
    root->Add(control);
    window.Paint();
    window.Validate();

    c.apply(*control);
    EXPECT_TRUE(SameRect(window.UpdateRect(), RECT{20, 30, 70, 60}))
        << c.name << ": " << RectText(window.UpdateRect());
    window.Validate();
    c.apply(*control);
    RECT again = window.UpdateRect();
    EXPECT_EQ(::IsRectEmpty(&again) == FALSE, c.invalidatesWhenUnchanged) << c.name;

    root->Remove(control);
    window.Pump();
  }
}

TEST_F(ControlInWindow, StoreOnlySettersLeaveTheWindowAlone) {
  const std::function<void(CControlUI&)> setters[] = {
      [](CControlUI& c) { c.SetName(L"other"); },
      [](CControlUI& c) { c.SetUserData(L"u"); },
      [](CControlUI& c) { c.SetTag(7); },
      [](CControlUI& c) { c.SetShortcut(L'q'); },
      [](CControlUI& c) { c.SetToolTipWidth(50); },
      [](CControlUI& c) { c.SetMouseEnabled(false); },
      [](CControlUI& c) { c.SetKeyboardEnabled(false); },
      [](CControlUI& c) { c.SetContextMenuUsed(true); },
      [](CControlUI& c) {
        c.SetRelativePos(SIZE{1, 1}, SIZE{1, 1});
      },
  };
  for (const auto& set : setters) {
    set(*child);
    RECT update = window.UpdateRect();
    EXPECT_TRUE(::IsRectEmpty(&update)) << RectText(update);
    EXPECT_FALSE(child->IsUpdateNeeded());
  }
}

TEST_F(ControlInWindow, InvalidationIsClippedByEveryAncestor) {
  // A nested container that shows only part of its child.
  auto* inner = new CContainerUI;
  inner->SetFloat(true);
  inner->SetAttribute(L"pos", L"100,0,150,50");
  auto* deep = new ProbeControl(L"deep");
  deep->SetFloat(true);
  deep->SetAttribute(L"pos", L"30,30,90,90");  // reaches beyond the container
  inner->Add(deep);
  root->Add(inner);
  window.Paint();
  window.Validate();

  deep->SetBkColor(0xFF00FF00);
  EXPECT_TRUE(SameRect(window.UpdateRect(), RECT{130, 30, 150, 50}))
      << RectText(window.UpdateRect());
  window.Validate();

  // Entirely outside its container: nothing to repaint.
  deep->SetPos(RECT{160, 60, 170, 70});
  window.Validate();
  deep->SetBkColor(0xFF0000FF);
  RECT update = window.UpdateRect();
  EXPECT_TRUE(::IsRectEmpty(&update)) << RectText(update);
}

TEST_F(ControlInWindow, SetPosInvalidatesOldAndNewAndSendsPosChanged) {
  child->SetPos(RECT{100, 50, 120, 70});
  // The union of the old and the new rectangle.
  EXPECT_TRUE(SameRect(window.UpdateRect(), RECT{10, 10, 120, 70}))
      << RectText(window.UpdateRect());
  ASSERT_EQ(notifications.received.size(), 1u);
  EXPECT_STREQ(notifications.received[0].sType, L"PosChanged");
  EXPECT_EQ(notifications.received[0].pSender, child);
  EXPECT_EQ(notifications.received[0].wParam, 0u);
}

TEST_F(ControlInWindow, AReversedRectangleBecomesZeroWide) {
  child->SetPos(RECT{50, 40, 20, 10});
  EXPECT_TRUE(SameRect(child->GetPos(), RECT{50, 40, 50, 40})) << RectText(child->GetPos());
}

TEST_F(ControlInWindow, AFloatingControlKeepsItsAnchorWhenMoved) {
  // Anchored to the right and bottom edges: moving re-derives offsets
  // from those edges.
  child->SetFixedXY(SIZE{-20, -30});
  child->SetPos(RECT{150, 40, 170, 60});
  EXPECT_EQ(child->GetFixedXY().cx, 170 - 200);
  EXPECT_EQ(child->GetFixedXY().cy, 60 - 100);
  EXPECT_EQ(child->GetFixedWidth(), 20);
  EXPECT_EQ(child->GetFixedHeight(), 20);
  // Anchored to the left and top.
  child->SetFixedXY(SIZE{1, 1});
  child->SetPos(RECT{15, 25, 45, 35});
  EXPECT_EQ(child->GetFixedXY().cx, 15);
  EXPECT_EQ(child->GetFixedXY().cy, 25);
  EXPECT_EQ(child->GetFixedWidth(), 30);
}

TEST_F(ControlInWindow, SizeHooksRunOnceWithoutReentry) {
  int calls = 0;
  struct Hook {
    int* calls;
    ProbeControl* control;
    bool OnSize(void* param) {
      ++*calls;
      EXPECT_EQ(param, control);
      // Re-entering SetPos from the hook does not run the hook again.
      control->SetPos(RECT{12, 12, 30, 30});
      return true;
    }
  } hook{&calls, child};
  child->OnSize += SkinUI::MakeDelegate(&hook, &Hook::OnSize);
  child->SetPos(RECT{11, 11, 40, 40});
  EXPECT_EQ(calls, 1);
  child->OnSize -= SkinUI::MakeDelegate(&hook, &Hook::OnSize);
  child->SetPos(RECT{13, 13, 40, 40});
  EXPECT_EQ(calls, 1);
}

TEST_F(ControlInWindow, NeedUpdateIsLaidOutAtTheNextPaint) {
  child->SetFixedWidth(80);  // floating: the control itself needs an update
  EXPECT_TRUE(child->IsUpdateNeeded());
  EXPECT_TRUE(window.Manager().IsUpdateNeeded());
  window.Paint();
  EXPECT_FALSE(child->IsUpdateNeeded());
  EXPECT_EQ(child->GetWidth(), 50);  // its own SetPos keeps its rectangle
  // A non-floating control asks its parent, which places it again.
  child->SetFloat(false);
  window.Paint();
  EXPECT_TRUE(SameRect(child->GetPos(), RECT{0, 0, 200, 100})) << RectText(child->GetPos());
  child->SetPadding(RECT{1, 1, 1, 1});
  EXPECT_TRUE(root->IsUpdateNeeded());
}

TEST_F(ControlInWindow, HidingTheFocusedControlTakesTheFocusAway) {
  auto* other = new ProbeControl(L"other", &log);
  root->Add(other);
  child->SetFocus();
  EXPECT_EQ(window.Manager().GetFocus(), child);
  EXPECT_TRUE(child->IsFocused());
  child->SetVisible(false);
  EXPECT_EQ(window.Manager().GetFocus(), nullptr);
  EXPECT_FALSE(child->IsFocused());
  // An invisible or disabled control cannot take the focus.
  child->SetFocus();
  EXPECT_EQ(window.Manager().GetFocus(), nullptr);
  other->SetEnabled(false);
  other->SetFocus();
  EXPECT_EQ(window.Manager().GetFocus(), nullptr);
  // Hidden by its parent: inner visibility takes the focus away too.
  other->SetEnabled(true);
  other->SetFocus();
  ASSERT_EQ(window.Manager().GetFocus(), other);
  other->SetInternVisible(false);
  EXPECT_EQ(window.Manager().GetFocus(), nullptr);
  EXPECT_FALSE(other->IsVisible());
}

TEST_F(ControlInWindow, SetVisibleAsksForLayoutOnlyWhenVisibilityChanges) {
  child->SetInternVisible(false);
  window.Paint();
  window.Validate();
  root->SetAttribute(L"inset", L"0,0,0,0");
  window.Paint();
  ASSERT_FALSE(root->IsUpdateNeeded());
  // Still hidden by the parent: nothing to lay out.
  child->SetVisible(false);
  EXPECT_FALSE(root->IsUpdateNeeded());
  child->SetInternVisible(true);
  child->SetVisible(true);
  EXPECT_TRUE(root->IsUpdateNeeded());
}

// --- Events ---------------------------------------------------------------------

TEST_F(ControlInWindow, EventHooksCanVetoDoEvent) {
  struct Veto {
    bool allow;
    int seen = 0;
    bool OnEvent(void* param) {
      ++seen;
      EXPECT_EQ(static_cast<TEventUI*>(param)->Type, SkinUI::EventChar);
      return allow;
    }
  } veto{false};
  child->OnEvent += SkinUI::MakeDelegate(&veto, &Veto::OnEvent);
  TEventUI event;
  event.Type = SkinUI::EventChar;
  child->Event(event);
  EXPECT_EQ(veto.seen, 1);
  EXPECT_TRUE(child->events.empty());
  veto.allow = true;
  child->Event(event);
  EXPECT_EQ(child->events.size(), 1u);
}

TEST_F(ControlInWindow, DefaultEventHandling) {
  TEventUI timer;
  timer.Type = SkinUI::EventTimer;
  timer.wParam = 5;
  timer.lParam = 6;
  child->Event(timer);
  TEventUI menu;
  menu.Type = SkinUI::EventContextMenu;
  child->Event(menu);  // the context-menu flag is off
  child->SetContextMenuUsed(true);
  menu.wParam = 9;
  child->Event(menu);
  ASSERT_EQ(notifications.received.size(), 2u);
  EXPECT_STREQ(notifications.received[0].sType, L"timer");
  EXPECT_EQ(notifications.received[0].wParam, 5u);
  EXPECT_EQ(notifications.received[0].lParam, 6);
  EXPECT_STREQ(notifications.received[1].sType, L"menu");
  EXPECT_EQ(notifications.received[1].wParam, 9u);

  TEventUI focus;
  focus.Type = SkinUI::EventSetFocus;
  child->Event(focus);
  EXPECT_TRUE(child->IsFocused());
  EXPECT_TRUE(SameRect(window.UpdateRect(), child->GetPos()));
  focus.Type = SkinUI::EventKillFocus;
  child->Event(focus);
  EXPECT_FALSE(child->IsFocused());
}

TEST_F(ControlInWindow, UnhandledEventsBubbleToTheParent) {
  auto* parent = new ProbeControl(L"parent", &log);
  // A probe parent above a probe child: the child's unhandled key event
  // reaches the parent's DoEvent.
  auto* leaf = new ProbeControl(L"leaf", &log);
  leaf->SetManager(&window.Manager(), parent, false);
  TEventUI key;
  key.Type = SkinUI::EventKeyDown;
  leaf->Event(key);
  EXPECT_EQ(log, (std::vector<Record>{{L"keydown", L"leaf"}, {L"keydown", L"parent"}}));
  delete leaf;
  delete parent;
}

TEST(ControlVirtualWnd, ANameIsInheritedFromTheParent) {
  CPaintManagerUI manager;
  CControlUI parent;
  CControlUI child;
  child.SetManager(&manager, &parent, false);
  parent.SetManager(&manager, nullptr, false);
  EXPECT_TRUE(child.GetVirtualWnd().IsEmpty());
  parent.SetVirtualWnd(L"side");
  EXPECT_EQ(child.GetVirtualWnd(), L"side");
  child.SetVirtualWnd(L"own");
  EXPECT_EQ(child.GetVirtualWnd(), L"own");
  child.SetManager(nullptr, nullptr, false);
  parent.SetManager(nullptr, nullptr, false);
}

int g_initHooks = 0;
bool CountInitHook(void* /*control*/) {
  ++g_initHooks;
  return true;
}

TEST(ControlInit, InitRunsOnlyWithAParentAndThenItsHooks) {
  struct Counting : CControlUI {
    int inits = 0;
    int hooksAtInit = -1;
    void DoInit() override {
      ++inits;
      hooksAtInit = g_initHooks;
    }
  };
  g_initHooks = 0;
  CPaintManagerUI manager;
  Counting control;
  control.OnInit += CountInitHook;
  control.OnInit += CountInitHook;  // an equal delegate is added once
  control.SetManager(&manager, nullptr, true);
  EXPECT_EQ(control.inits, 0);
  CControlUI parent;
  control.SetManager(&manager, &parent, false);
  EXPECT_EQ(control.inits, 0);
  control.SetManager(&manager, &parent, true);
  EXPECT_EQ(control.inits, 1);
  EXPECT_EQ(control.hooksAtInit, 0);  // DoInit first, then the hooks
  EXPECT_EQ(g_initHooks, 1);
  control.SetManager(nullptr, nullptr, false);
}

// --- The search -----------------------------------------------------------------

CControlUI* CALLBACK Collect(CControlUI* control, LPVOID data) {
  static_cast<std::vector<std::wstring>*>(data)->push_back(control->GetName().GetData());
  return nullptr;
}

CControlUI* CALLBACK TakeFirst(CControlUI* control, LPVOID /*data*/) { return control; }

TEST(ControlFind, TheFlagsDecideWhoIsVisited) {
  CControlUI control;
  control.SetName(L"c");
  control.SetPos(RECT{0, 0, 10, 10});
  std::vector<std::wstring> seen;
  EXPECT_EQ(control.FindControl(Collect, &seen, 0), nullptr);
  EXPECT_EQ(seen.size(), 1u);

  control.SetVisible(false);
  EXPECT_EQ(control.FindControl(TakeFirst, nullptr, SkinUI::FindVisible), nullptr);
  EXPECT_EQ(control.FindControl(TakeFirst, nullptr, 0), &control);
  control.SetVisible(true);
  control.SetEnabled(false);
  EXPECT_EQ(control.FindControl(TakeFirst, nullptr, SkinUI::FindEnabled), nullptr);
  control.SetEnabled(true);

  POINT inside = {5, 5};
  POINT outside = {10, 5};  // right edge is exclusive
  EXPECT_EQ(control.FindControl(TakeFirst, &inside, SkinUI::FindHitTest), &control);
  EXPECT_EQ(control.FindControl(TakeFirst, &outside, SkinUI::FindHitTest), nullptr);
  control.SetMouseEnabled(false);
  EXPECT_EQ(control.FindControl(TakeFirst, &inside, SkinUI::FindHitTest), nullptr);
  // Without hit testing the mouse flag does not matter.
  EXPECT_EQ(control.FindControl(TakeFirst, &inside, 0), &control);
}

// --- Painting -------------------------------------------------------------------

// A control that records the order of its painting steps and draws a
// mark in the status-image and text slots.
class PaintProbe : public CControlUI {
 public:
  std::vector<std::string> steps;
  void PaintBkColor(HDC dc) override {
    steps.push_back("bkcolor");
    CControlUI::PaintBkColor(dc);
  }
  void PaintBkImage(HDC dc) override {
    steps.push_back("bkimage");
    CControlUI::PaintBkImage(dc);
  }
  void PaintStatusImage(HDC dc) override {
    steps.push_back("status");
    DrawImage(dc, m_diNormal);
    DrawImage(dc, m_diFore);
  }
  void PaintText(HDC dc) override {
    steps.push_back("text");
    if (textColour != 0) SkinUI::CRenderEngine::DrawColor(dc, textRect, textColour);
  }
  void PaintBorder(HDC dc) override {
    steps.push_back("border");
    CControlUI::PaintBorder(dc);
  }
  DWORD textColour = 0;
  RECT textRect = {};
  SkinUI::CImageAttribute& Normal() { return m_diNormal; }
  SkinUI::CImageAttribute& Hot() { return m_diHot; }
};

// A paint manager with images of one colour each, and a control placed at
// (10, 10, 50, 40) on a white canvas.
class ControlPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    AddPlain(L"red", 0xFFFF0000);
    AddPlain(L"green", 0xFF00FF00);
    AddPlain(L"blue", 0xFF0000FF);
    control.SetManager(&manager, nullptr, false);
    control.SetPos(RECT{10, 10, 50, 40});
  }
  void TearDown() override { control.SetManager(nullptr, nullptr, false); }
  void AddPlain(const wchar_t* name, uint32_t pixel) {
    HBITMAP bitmap = test::MakeBitmap(8, 8, [pixel](int, int) { return pixel; });
    manager.AddImage(name, bitmap, 8, 8, false);
  }
  void Paint(const RECT& paint = RECT{0, 0, 60, 50}) { control.DoPaint(canvas.Dc(), paint); }

  CPaintManagerUI manager;
  PaintProbe control;
  RenderCanvas canvas{60, 50};
};

TEST_F(ControlPaint, StepsRunInOrderAndLaterOnesCoverEarlierOnes) {
  control.SetBkColor(0xFFFF0000);
  control.SetBkImage(L"file='green' dest='0,0,30,30'");
  control.SetNormalImage(L"file='blue' dest='0,0,20,20'");
  control.SetForeImage(L"file='red' dest='0,0,10,10'");
  control.textColour = 0xFFFFFF00;
  control.textRect = RECT{10, 10, 15, 15};
  control.SetBorderColor(0xFF000000);
  control.SetBorderSize(1);
  Paint();
  EXPECT_EQ(control.steps,
            (std::vector<std::string>{"bkcolor", "bkimage", "status", "text", "border"}));
  EXPECT_EQ(Rgb(canvas.At(45, 35)), 0xFF0000u);  // background colour only
  EXPECT_EQ(Rgb(canvas.At(35, 35)), 0x00FF00u);  // background image over it
  EXPECT_EQ(Rgb(canvas.At(27, 27)), 0x0000FFu);  // normal image over that
  EXPECT_EQ(Rgb(canvas.At(18, 18)), 0xFF0000u);  // fore image over that
  EXPECT_EQ(Rgb(canvas.At(12, 12)), 0xFFFF00u);  // the text slot over all images
  EXPECT_EQ(Rgb(canvas.At(10, 20)), 0x000000u);  // the border last
  EXPECT_EQ(Rgb(canvas.At(49, 39)), 0x000000u);
  EXPECT_EQ(Rgb(canvas.At(9, 20)), 0xFFFFFFu);  // nothing outside
  EXPECT_EQ(Rgb(canvas.At(50, 20)), 0xFFFFFFu);
}

TEST_F(ControlPaint, NothingOutsideTheItemIsPainted) {
  control.SetBkColor(0xFFFF0000);
  Paint(RECT{0, 0, 10, 50});
  EXPECT_TRUE(control.steps.empty());
  // An opaque colour fills only the dirty part.
  Paint(RECT{0, 0, 20, 20});
  EXPECT_EQ(Rgb(canvas.At(15, 15)), 0xFF0000u);
  EXPECT_EQ(Rgb(canvas.At(25, 15)), 0xFFFFFFu);
}

TEST_F(ControlPaint, GradientsRunTopToBottom) {
  // Two colours: one gradient over the whole height.
  control.SetBkColor(0xFFFF0000);
  control.SetBkColor2(0xFF0000FF);
  Paint();
  EXPECT_GT(test::RedOf(canvas.At(30, 11)), 230);
  EXPECT_GT(test::BlueOf(canvas.At(30, 38)), 230);
  // Three colours: red to green in the upper half, green to blue below.
  control.SetBkColor2(0xFF00FF00);
  control.SetBkColor3(0xFF0000FF);
  canvas.Fill(0xFFFFFFFF);
  Paint();
  EXPECT_GT(test::RedOf(canvas.At(30, 10)), 230);
  // The middle row (25) starts the lower half in pure green.
  EXPECT_GT(test::GreenOf(canvas.At(30, 25)), 240);
  EXPECT_LT(test::RedOf(canvas.At(30, 25)), 16);
  EXPECT_GT(test::BlueOf(canvas.At(30, 39)), 230);
}

TEST_F(ControlPaint, ATranslucentColourBlendsOverWhatIsBelow) {
  control.SetBkColor(0x80000000);
  Paint(RECT{0, 0, 20, 20});
  // Half-transparent black over white, within rounding.
  EXPECT_TRUE(test::Near(canvas.At(15, 15) | 0xFF000000, 0xFF7F7F7F, 2))
      << std::hex << canvas.At(15, 15);
}

struct BorderCase {
  const char* name;
  const wchar_t* size;
  // Points on the edges, inside: left, top, right, bottom.
  bool left, top, right, bottom;
};

TEST_F(ControlPaint, BordersFollowTheirSizeAttribute) {
  const BorderCase cases[] = {
      {"uniform 2", L"2", true, true, true, true},
      {"top and bottom", L"0,1,0,1", false, true, false, true},
      {"left and right", L"1,0,1,0", true, false, true, false},
      {"odd widths", L"3,0,3,0", true, false, true, false},
  };
  for (const BorderCase& c : cases) {
    canvas.Fill(0xFFFFFFFF);
    control.SetBorderColor(0xFF000000);
    control.SetAttribute(L"bordersize", c.size);
    Paint();
    // Middle of each edge, on the control's own outermost pixels.
    EXPECT_EQ(Rgb(canvas.At(10, 25)) == 0, c.left) << c.name << " left";
    EXPECT_EQ(Rgb(canvas.At(30, 10)) == 0, c.top) << c.name << " top";
    EXPECT_EQ(Rgb(canvas.At(49, 25)) == 0, c.right) << c.name << " right";
    EXPECT_EQ(Rgb(canvas.At(30, 39)) == 0, c.bottom) << c.name << " bottom";
    // Never outside, never in the middle.
    EXPECT_EQ(Rgb(canvas.At(9, 25)), 0xFFFFFFu) << c.name;
    EXPECT_EQ(Rgb(canvas.At(50, 25)), 0xFFFFFFu) << c.name;
    EXPECT_EQ(Rgb(canvas.At(30, 40)), 0xFFFFFFu) << c.name;
    EXPECT_EQ(Rgb(canvas.At(30, 25)), 0xFFFFFFu) << c.name;
  }
  // Three pixels wide: columns 10...12 inside the left edge, not 13.
  EXPECT_EQ(Rgb(canvas.At(12, 25)), 0u);
  EXPECT_EQ(Rgb(canvas.At(13, 25)), 0xFFFFFFu);
  EXPECT_EQ(Rgb(canvas.At(47, 25)), 0u);
  EXPECT_EQ(Rgb(canvas.At(46, 25)), 0xFFFFFFu);
}

TEST_F(ControlPaint, ABorderColourWrittenWithASpaceDrawsNothing) {
  control.SetAttribute(L"bordercolor", L" #FF112233");
  control.SetAttribute(L"bordersize", L"2");
  Paint();
  EXPECT_EQ(canvas.CountRgb(RECT{0, 0, 60, 50}, 0xFFFFFF), 60 * 50);
}

TEST_F(ControlPaint, TheFocusBorderColourWinsWhileFocused) {
  control.SetBorderColor(0xFF000000);
  control.SetFocusBorderColor(0xFF0000FF);
  control.SetBorderSize(1);
  Paint();
  EXPECT_EQ(Rgb(canvas.At(10, 25)), 0u);
  TEventUI focus;
  focus.Type = SkinUI::EventSetFocus;
  control.Event(focus);
  Paint();
  EXPECT_EQ(Rgb(canvas.At(10, 25)), 0x0000FFu);
}

TEST_F(ControlPaint, ARoundedControlIsClippedAtItsCorners) {
  control.SetBkColor(0xFFFF0000);
  control.SetBorderRound(SIZE{8, 8});
  control.SetBorderColor(0xFF0000FF);
  control.SetBorderSize(1);
  Paint();
  EXPECT_EQ(Rgb(canvas.At(10, 10)), 0xFFFFFFu);  // the corner is cut away
  EXPECT_EQ(Rgb(canvas.At(49, 39)), 0xFFFFFFu);
  EXPECT_EQ(Rgb(canvas.At(30, 25)), 0xFF0000u);
  // The rounded outline runs along the straight part of each edge.
  EXPECT_EQ(Rgb(canvas.At(30, 10)), 0x0000FFu);
  EXPECT_EQ(Rgb(canvas.At(10, 25)), 0x0000FFu);
}

TEST_F(ControlPaint, ColoursPassThroughTheWindowAdjustmentWhenAsked) {
  short h = 0, s = 0, l = 0;
  CPaintManagerUI::GetHSL(&h, &s, &l);
  CPaintManagerUI::SetHSL(true, 180, 100, 50);  // half the lightness
  EXPECT_EQ(control.GetAdjustColor(0xFFFFFFFF), 0xFFFFFFFFu);
  control.SetColorHSL(true);
  const DWORD adjusted = control.GetAdjustColor(0xFFFFFFFF);
  CPaintManagerUI::SetHSL(true, h, s, l);
  EXPECT_TRUE(test::Near(adjusted, 0xFF7F7F7F, 1)) << std::hex << adjusted;
}

TEST_F(ControlPaint, DrawImageVariants) {
  control.SetNormalImage(L"green");
  // A missing image reports false and draws nothing.
  control.SetHotImage(L"missing.png");
  Paint();  // sets the paint rectangle
  canvas.Fill(0xFFFFFFFF);
  EXPECT_FALSE(control.DrawImage(canvas.Dc(), control.Hot()));
  EXPECT_EQ(canvas.CountRgb(RECT{0, 0, 60, 50}, 0xFFFFFF), 60 * 50);
  // At a destination relative to the control.
  EXPECT_TRUE(control.DrawImage(canvas.Dc(), control.Normal(), RECT{5, 5, 10, 10}));
  EXPECT_EQ(Rgb(canvas.At(17, 17)), 0x00FF00u);
  EXPECT_EQ(Rgb(canvas.At(14, 14)), 0xFFFFFFu);
  EXPECT_EQ(Rgb(canvas.At(20, 20)), 0xFFFFFFu);
  // A variant from extra pairs; the slot itself is unchanged.
  canvas.Fill(0xFFFFFFFF);
  EXPECT_TRUE(control.DrawImage(canvas.Dc(), control.Normal(), L"dest='30,0,40,10'"));
  EXPECT_EQ(Rgb(canvas.At(45, 15)), 0x00FF00u);
  EXPECT_EQ(Rgb(canvas.At(15, 15)), 0xFFFFFFu);
  canvas.Fill(0xFFFFFFFF);
  EXPECT_TRUE(control.DrawImage(canvas.Dc(), control.Normal()));
  EXPECT_EQ(Rgb(canvas.At(15, 15)), 0x00FF00u);
}

TEST_F(ControlInWindow, GenerateBitmapCapturesTheControlsPainting) {
  child->SetBkColor(0xFF204060);
  child->SetBorderColor(0xFF000000);
  child->SetBorderSize(1);
  CGdiObject bitmap(
      SkinUI::CRenderEngine::GenerateBitmap(&window.Manager(), child, RECT{10, 10, 60, 40}));
  ASSERT_TRUE(bitmap);
  DIBSECTION section = {};
  ASSERT_EQ(::GetObjectW(bitmap.Get(), sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 50);
  EXPECT_EQ(section.dsBm.bmHeight, 30);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
  ::GdiFlush();
  const auto* bits = static_cast<const uint32_t*>(section.dsBm.bmBits);
  EXPECT_EQ(Rgb(bits[0]), 0u);  // the border's corner
  EXPECT_EQ(Rgb(bits[15 * 50 + 25]), 0x204060u);
  EXPECT_EQ(SkinUI::CRenderEngine::GenerateBitmap(nullptr, child, RECT{0, 0, 5, 5}), nullptr);
  EXPECT_EQ(SkinUI::CRenderEngine::GenerateBitmap(&window.Manager(), child, RECT{5, 5, 5, 9}),
            nullptr);
}

}  // namespace
