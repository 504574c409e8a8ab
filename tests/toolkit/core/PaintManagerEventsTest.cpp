// Mouse input through the window's message path: enter, move and leave,
// hover and the tooltip window, clicks and capture, the right button and
// the context menu, the wheel, and keys reaching the focused control.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/core/ProbeControl.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CContainerUI;
using test::NotifyLog;
using test::ProbeControl;
using test::Record;
using test::SkinTestWindow;

// Two controls side by side in a window: "a" at (10, 10, 60, 40) and "b"
// at (70, 10, 120, 40); the root has no name.
class TwoControls : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* root = new CContainerUI;
    a = Place(root, L"a", L"10,10,60,40");
    b = Place(root, L"b", L"70,10,120,40");
    window.Manager().AttachDialog(root);
    window.Manager().AddNotifier(&notifications);
    window.Paint();
    log.clear();
  }
  void TearDown() override { window.Manager().RemoveNotifier(&notifications); }
  ProbeControl* Place(CContainerUI* root, const wchar_t* name, const wchar_t* pos) {
    auto* control = new ProbeControl(name, &log);
    control->SetAttribute(L"float", L"true");
    control->SetAttribute(L"pos", pos);
    root->Add(control);
    return control;
  }
  // The log without the focus events and notifications a click brings.
  std::vector<Record> Mouse() const {
    std::vector<Record> mouse;
    for (const Record& r : log) {
      if (r.what == L"setfocus" || r.what == L"killfocus") continue;
      mouse.push_back(r);
    }
    return mouse;
  }

  SkinTestWindow window{200, 100};
  ProbeControl* a = nullptr;
  ProbeControl* b = nullptr;
  std::vector<Record> log;
  NotifyLog notifications{&log};
};

TEST_F(TwoControls, MovingAcrossSendsLeaveThenEnterThenMove) {
  window.PostMouse(WM_MOUSEMOVE, 20, 20);
  window.PostMouse(WM_MOUSEMOVE, 25, 20);
  window.PostMouse(WM_MOUSEMOVE, 80, 20);
  window.Pump();
  EXPECT_EQ(log, (std::vector<Record>{{L"enter", L"a"},
                                      {L"move", L"a"},
                                      {L"move", L"a"},
                                      {L"leave", L"a"},
                                      {L"enter", L"b"},
                                      {L"move", L"b"}}));
  ASSERT_FALSE(b->events.empty());
  EXPECT_EQ(b->events.back().ptMouse.x, 80);
  EXPECT_EQ(b->events.back().wKeyState, 0);
  EXPECT_EQ(window.Manager().GetMousePos().x, 80);
}

TEST_F(TwoControls, LeavingTheWindowSendsLeaveToTheHoverControl) {
  window.PostMouse(WM_MOUSEMOVE, 20, 20);
  window.Pump();
  log.clear();
  ::PostMessageW(window.Get(), WM_MOUSELEAVE, 0, 0);
  window.Pump();
  EXPECT_EQ(log, (std::vector<Record>{{L"leave", L"a"}}));
  // Tracking is off now: a second leave message finds nothing to do.
  log.clear();
  ::PostMessageW(window.Get(), WM_MOUSELEAVE, 0, 0);
  window.Pump();
  EXPECT_TRUE(log.empty());
}

TEST_F(TwoControls, HoverShowsTheTooltipWindowWithTheControlsText) {
  a->SetToolTip(L"first<n>line");
  a->SetToolTipWidth(120);
  window.PostMouse(WM_MOUSEMOVE, 20, 20);
  window.Pump();
  EXPECT_EQ(window.Manager().GetTooltipWindow(), nullptr);
  ::PostMessageW(window.Get(), WM_MOUSEHOVER, 0, MAKELPARAM(20, 20));
  window.Pump();
  EXPECT_EQ(test::EventName(a->events.back().Type), L"hover");

  HWND tooltip = window.Manager().GetTooltipWindow();
  ASSERT_NE(tooltip, nullptr);
  wchar_t className[64] = {};
  ::GetClassNameW(tooltip, className, 64);
  EXPECT_STREQ(className, TOOLTIPS_CLASSW);
  EXPECT_EQ(::GetWindow(tooltip, GW_OWNER), window.Get());
  EXPECT_TRUE(::IsWindowVisible(tooltip));
  EXPECT_EQ(::SendMessageW(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), 120);
  wchar_t text[64] = {};
  TOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.hwnd = window.Get();
  tool.uId = reinterpret_cast<UINT_PTR>(window.Get());
  tool.lpszText = text;
  ::SendMessageW(tooltip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"first\r\nline");

  // Moving to another control hides it again.
  window.PostMouse(WM_MOUSEMOVE, 80, 20);
  window.Pump();
  EXPECT_FALSE(::IsWindowVisible(tooltip));
}

TEST_F(TwoControls, HoverWithoutATooltipMakesNoTooltipWindow) {
  window.PostMouse(WM_MOUSEMOVE, 80, 20);
  ::PostMessageW(window.Get(), WM_MOUSEHOVER, 0, MAKELPARAM(80, 20));
  window.Pump();
  EXPECT_EQ(test::EventName(b->events.back().Type), L"hover");
  EXPECT_EQ(window.Manager().GetTooltipWindow(), nullptr);
}

TEST_F(TwoControls, APressedControlKeepsTheMouseUntilRelease) {
  window.PostMouse(WM_MOUSEMOVE, 20, 20);
  window.PostMouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  window.Pump();
  EXPECT_TRUE(window.Manager().IsCaptured());
  EXPECT_EQ(::GetCapture(), window.Get());
  EXPECT_EQ(window.Manager().GetFocus(), a);
  // Out of "a", across "b": the moves still go to "a".
  window.PostMouse(WM_MOUSEMOVE, 80, 20, MK_LBUTTON);
  window.PostMouse(WM_LBUTTONUP, 80, 20);
  window.Pump();
  EXPECT_FALSE(window.Manager().IsCaptured());
  EXPECT_EQ(Mouse(), (std::vector<Record>{{L"enter", L"a"},
                                          {L"move", L"a"},
                                          {L"down", L"a"},
                                          {L"leave", L"a"},
                                          {L"enter", L"b"},
                                          {L"move", L"a"},
                                          {L"up", L"a"}}));
  // Released outside: no click.
  for (const auto& msg : notifications.received) EXPECT_NE(msg.sType, L"click");
  for (const auto& e : a->events) {
    if (e.Type == SkinUI::EventButtonDown) {
      EXPECT_EQ(e.wKeyState, MK_LBUTTON);
    }
  }
}

TEST_F(TwoControls, AClickReachesTheControlUnderTheMouse) {
  window.PostMouse(WM_LBUTTONDOWN, 100, 30, MK_LBUTTON);
  window.PostMouse(WM_LBUTTONUP, 100, 30);
  window.Pump();
  std::vector<Record> clicks;
  for (const Record& r : log) {
    if (r.what == L"click") clicks.push_back(r);
  }
  EXPECT_EQ(clicks, (std::vector<Record>{{L"click", L"b"}}));
  EXPECT_TRUE(a->events.empty());
}

TEST_F(TwoControls, DoubleClickRightButtonAndContextMenu) {
  window.PostMouse(WM_LBUTTONDBLCLK, 20, 20, MK_LBUTTON);
  window.PostMouse(WM_LBUTTONUP, 20, 20);
  window.Pump();
  // A double click does not move the focus.
  EXPECT_EQ(window.Manager().GetFocus(), nullptr);
  log.clear();
  window.PostMouse(WM_RBUTTONDOWN, 80, 20, MK_RBUTTON);
  POINT screen = {80, 20};
  ::ClientToScreen(window.Get(), &screen);
  ::PostMessageW(window.Get(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.Get()),
                 MAKELPARAM(screen.x, screen.y));
  window.Pump();
  EXPECT_EQ(window.Manager().GetFocus(), b);
  EXPECT_EQ(Mouse(), (std::vector<Record>{{L"rdown", L"b"}, {L"contextmenu", L"b"}}));
  EXPECT_FALSE(window.Manager().IsCaptured());
  EXPECT_EQ(b->events.back().lParam, reinterpret_cast<LPARAM>(b));
}

TEST_F(TwoControls, TheWheelGoesToTheControlUnderTheMouse) {
  window.PostWheel(90, 20, -WHEEL_DELTA);
  window.PostWheel(90, 20, WHEEL_DELTA);
  window.Pump();
  std::vector<SkinUI::TEventUI> wheels;
  for (const auto& e : b->events) {
    if (e.Type == SkinUI::EventScrollWheel) wheels.push_back(e);
  }
  ASSERT_EQ(wheels.size(), 2u);
  EXPECT_EQ(wheels[0].wParam, static_cast<WPARAM>(SB_LINEDOWN));
  EXPECT_EQ(wheels[1].wParam, static_cast<WPARAM>(SB_LINEUP));
  EXPECT_EQ(wheels[0].ptMouse.x, 90);
  // The wheel is followed by a move, so hover follows the content.
  EXPECT_EQ(test::EventName(b->events.back().Type), L"move");
}

TEST_F(TwoControls, KeysGoToTheFocusedControlAndKeyUpToWhoGotTheKeyDown) {
  window.Manager().SetFocus(a);
  log.clear();
  window.PostKey(WM_KEYDOWN, 'Q');
  window.PostKey(WM_CHAR, 'q');
  window.Pump();
  window.Manager().SetFocus(b);
  log.clear();
  window.PostKey(WM_KEYUP, 'Q');
  window.Pump();
  EXPECT_EQ(log, (std::vector<Record>{{L"keyup", L"a"}}));
  EXPECT_EQ(a->events[a->events.size() - 1].chKey, L'Q');
}

TEST_F(TwoControls, AControlOfAnotherWindowIsNeverGivenEvents) {
  SkinUI::CPaintManagerUI other;
  a->SetManager(&other, a->GetParent(), false);
  window.PostMouse(WM_MOUSEMOVE, 20, 20);
  window.PostMouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  window.PostMouse(WM_LBUTTONUP, 20, 20);
  window.Pump();
  EXPECT_TRUE(a->events.empty());
  a->SetManager(&window.Manager(), a->GetParent(), false);
}

TEST_F(TwoControls, AMessageFilterSeesMessagesFirst) {
  struct Filter : SkinUI::IMessageFilterUI {
    UINT swallow = WM_MOUSEMOVE;
    int seen = 0;
    LRESULT MessageHandler(UINT message, WPARAM, LPARAM, bool& handled) override {
      if (message == swallow) {
        ++seen;
        handled = true;
      }
      return 0;
    }
  } filter;
  window.Manager().AddMessageFilter(&filter);
  window.PostMouse(WM_MOUSEMOVE, 20, 20);
  window.Pump();
  EXPECT_GE(filter.seen, 1);
  EXPECT_TRUE(a->events.empty());
  EXPECT_TRUE(window.Manager().RemoveMessageFilter(&filter));
  EXPECT_FALSE(window.Manager().RemoveMessageFilter(&filter));
  window.PostMouse(WM_MOUSEMOVE, 21, 20);
  window.Pump();
  EXPECT_FALSE(a->events.empty());
}

TEST(PaintManagerMessages, NothingIsHandledBeforeInit) {
  SkinUI::CPaintManagerUI manager;
  LRESULT result = 0;
  EXPECT_FALSE(manager.MessageHandler(WM_PAINT, 0, 0, result));
  EXPECT_FALSE(manager.MessageHandler(WM_ERASEBKGND, 0, 0, result));
}

TEST(PaintManagerMessages, SizeLimitsAndErasing) {
  SkinTestWindow window(200, 100);
  window.Manager().SetMinInfo(150, 0);
  window.Manager().SetMaxInfo(0, 300);
  MINMAXINFO info = {};
  info.ptMinTrackSize = {1, 2};
  info.ptMaxTrackSize = {3, 4};
  LRESULT result = 0;
  window.Manager().MessageHandler(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), result);
  EXPECT_EQ(info.ptMinTrackSize.x, 150);
  EXPECT_EQ(info.ptMinTrackSize.y, 2);
  EXPECT_EQ(info.ptMaxTrackSize.x, 3);
  EXPECT_EQ(info.ptMaxTrackSize.y, 300);
  EXPECT_TRUE(window.Manager().MessageHandler(WM_ERASEBKGND, 0, 0, result));
  EXPECT_EQ(result, 1);
}

}  // namespace
