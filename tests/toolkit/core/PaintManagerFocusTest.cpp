// Keyboard focus: set and kill with their events and notifications, Tab
// and Shift+Tab through the window's message loop with wrap-around, Tab
// while a layout is pending, and Alt shortcuts.

#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/core/ProbeControl.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CContainerUI;
using SkinUI::ControlFlagTabStop;
using test::HeldKeys;
using test::NotifyLog;
using test::ProbeControl;
using test::Record;
using test::SkinTestWindow;

// Three tab stops "t1", "t2", "t3" with a plain control between the first
// two, and a hidden and a disabled tab stop that Tab skips.
class TabStops : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* root = new CContainerUI;
    t1 = Add(root, L"t1", ControlFlagTabStop);
    Add(root, L"plain", 0);
    t2 = Add(root, L"t2", ControlFlagTabStop);
    Add(root, L"hidden", ControlFlagTabStop)->SetVisible(false);
    Add(root, L"disabled", ControlFlagTabStop)->SetEnabled(false);
    t3 = Add(root, L"t3", ControlFlagTabStop);
    window.Manager().AttachDialog(root);
    window.Manager().AddNotifier(&notifications);
    window.Paint();
    log.clear();
  }
  void TearDown() override { window.Manager().RemoveNotifier(&notifications); }
  ProbeControl* Add(CContainerUI* root, const wchar_t* name, UINT flags) {
    auto* control = new ProbeControl(name, &log, flags);
    root->Add(control);
    return control;
  }
  void Tab() {
    window.PostKey(WM_KEYDOWN, VK_TAB);
    window.Pump();
  }
  std::wstring Focus() { return test::NameOf(window.Manager().GetFocus()); }

  SkinTestWindow window{200, 100};
  ProbeControl* t1 = nullptr;
  ProbeControl* t2 = nullptr;
  ProbeControl* t3 = nullptr;
  std::vector<Record> log;
  NotifyLog notifications{&log};
};

TEST_F(TabStops, TheFirstPaintFocusesTheFirstTabStop) {
  EXPECT_EQ(Focus(), L"t1");
  EXPECT_TRUE(t1->IsFocused());
}

TEST_F(TabStops, TabMovesForwardAndWraps) {
  Tab();
  EXPECT_EQ(Focus(), L"t2");
  EXPECT_EQ(log, (std::vector<Record>{{L"killfocus", L"t1"},
                                      {L"killfocus", L"t1"},
                                      {L"setfocus", L"t2"},
                                      {L"setfocus", L"t2"}}));
  // The kill-focus event names the control that gains the focus.
  EXPECT_EQ(t1->events.back().pSender, t2);
  Tab();
  EXPECT_EQ(Focus(), L"t3");
  Tab();
  EXPECT_EQ(Focus(), L"t1");
}

TEST_F(TabStops, ShiftTabMovesBackwardAndWraps) {
  HeldKeys shift({VK_SHIFT});
  Tab();
  EXPECT_EQ(Focus(), L"t3");
  Tab();
  EXPECT_EQ(Focus(), L"t2");
  Tab();
  EXPECT_EQ(Focus(), L"t1");
}

TEST_F(TabStops, TabWhileALayoutIsPendingMovesAtTheNextPaint) {
  t2->SetPadding(RECT{1, 1, 1, 1});  // the tree needs laying out
  ASSERT_TRUE(window.Manager().IsUpdateNeeded());
  window.PostKey(WM_KEYDOWN, VK_TAB);
  // Run the key alone, without the paint it causes.
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    if (!SkinUI::CPaintManagerUI::TranslateMessage(&msg)) ::DispatchMessageW(&msg);
  }
  EXPECT_EQ(Focus(), L"t1");
  RECT update = window.UpdateRect();
  EXPECT_FALSE(::IsRectEmpty(&update));
  window.Paint();
  EXPECT_EQ(Focus(), L"t2");
}

TEST_F(TabStops, FocusingClearsTheOldFocusAndNullTakesItAway) {
  window.Manager().SetFocus(t3);
  EXPECT_FALSE(t1->IsFocused());
  EXPECT_TRUE(t3->IsFocused());
  log.clear();
  window.Manager().SetFocus(nullptr);
  EXPECT_EQ(Focus(), L"-");
  EXPECT_EQ(log, (std::vector<Record>{{L"killfocus", L"t3"}, {L"killfocus", L"t3"}}));
  // Focusing the focused control again does nothing.
  window.Manager().SetFocus(t2);
  log.clear();
  window.Manager().SetFocus(t2);
  EXPECT_TRUE(log.empty());
}

TEST_F(TabStops, FocusNeededLandsOnTheGivenControl) {
  window.Manager().SetFocusNeeded(t3);
  window.Paint();
  EXPECT_EQ(Focus(), L"t3");
  window.Manager().SetFocusNeeded(t1);
  window.Paint();
  EXPECT_EQ(Focus(), L"t1");
}

TEST_F(TabStops, RemovingTheFocusedControlForgetsIt) {
  window.Manager().SetFocus(t2);
  static_cast<CContainerUI*>(window.Manager().GetRoot())->Remove(t2);
  window.Pump();  // the delayed clean-up deletes it
  EXPECT_EQ(Focus(), L"-");
  Tab();
  EXPECT_EQ(Focus(), L"t1");
}

// Alt shortcuts search from the last control to the first.
TEST(Shortcuts, ALabelHandsItsShortcutToTheControlBeforeIt) {
  SkinTestWindow window(200, 100);
  std::vector<Record> log;
  auto* root = new CContainerUI;
  auto* edit = new ProbeControl(L"edit", &log, ControlFlagTabStop, L"EditUI");
  auto* label = new ProbeControl(L"label", &log, 0, L"LabelUI");
  label->SetShortcut(L'a');
  auto* button = new ProbeControl(L"button", &log, ControlFlagTabStop, L"ButtonUI");
  button->SetShortcut(L'B');
  root->Add(edit);
  root->Add(label);
  root->Add(button);
  window.Manager().AttachDialog(root);
  window.Paint();

  window.PostKey(WM_SYSCHAR, 'A');
  window.Pump();
  EXPECT_EQ(window.Manager().GetFocus(), edit);
  EXPECT_EQ(edit->activations, 1);
  EXPECT_EQ(label->activations, 0);
  // A control with its own shortcut is focused and activated itself, in
  // either case.
  window.PostKey(WM_SYSCHAR, 'b');
  window.Pump();
  EXPECT_EQ(window.Manager().GetFocus(), button);
  EXPECT_EQ(button->activations, 1);
  // No control has it: nothing happens.
  window.PostKey(WM_SYSCHAR, 'z');
  window.Pump();
  EXPECT_EQ(window.Manager().GetFocus(), button);
  // A hidden control never matches.
  button->SetVisible(false);
  window.PostKey(WM_SYSCHAR, 'b');
  window.Pump();
  EXPECT_EQ(button->activations, 1);
}

TEST(Shortcuts, SystemKeysGoToTheFocusedControl) {
  SkinTestWindow window(200, 100);
  auto* root = new CContainerUI;
  auto* control = new ProbeControl(L"c", nullptr, ControlFlagTabStop);
  root->Add(control);
  window.Manager().AttachDialog(root);
  window.Paint();
  ASSERT_EQ(window.Manager().GetFocus(), control);
  LRESULT result = 0;
  EXPECT_FALSE(window.Manager().PreMessageHandler(WM_SYSKEYDOWN, VK_F10, 0, result));
  ASSERT_FALSE(control->events.empty());
  EXPECT_EQ(control->events.back().Type, SkinUI::EventSysKey);
  EXPECT_EQ(control->events.back().chKey, static_cast<wchar_t>(VK_F10));
}

TEST(Accelerators, TheFirstThatAnswersZeroConsumesTheMessage) {
  SkinTestWindow window(200, 100);
  struct Accelerator : SkinUI::ITranslateAccelerator {
    LRESULT answer;
    int seen = 0;
    explicit Accelerator(LRESULT a) : answer(a) {}
    LRESULT TranslateAcceleratorW(MSG*) override {
      ++seen;
      return answer;
    }
  } declines(1), consumes(0), never(0);
  window.Manager().AddTranslateAccelerator(&declines);
  window.Manager().AddTranslateAccelerator(&consumes);
  window.Manager().AddTranslateAccelerator(&never);
  MSG msg = {window.Get(), WM_KEYDOWN, 'X', 0, 0, {}};
  EXPECT_TRUE(SkinUI::CPaintManagerUI::TranslateMessage(&msg));
  EXPECT_EQ(declines.seen, 1);
  EXPECT_EQ(consumes.seen, 1);
  EXPECT_EQ(never.seen, 0);
  EXPECT_TRUE(window.Manager().RemoveTranslateAccelerator(&consumes));
  EXPECT_TRUE(window.Manager().RemoveTranslateAccelerator(&never));
  EXPECT_FALSE(SkinUI::CPaintManagerUI::TranslateMessage(&msg));
  window.Manager().RemoveTranslateAccelerator(&declines);
  // A window no manager serves is not translated.
  MSG other = {::GetDesktopWindow(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_FALSE(SkinUI::CPaintManagerUI::TranslateMessage(&other));
}

}  // namespace
