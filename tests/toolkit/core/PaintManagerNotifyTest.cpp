// Notifications (synchronous and queued, the sender's own hooks first),
// the timers of controls with their id rule, and the delayed clean-up.

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
using SkinUI::CControlUI;
using test::NotifyLog;
using test::ProbeControl;
using test::Record;
using test::SkinTestWindow;

class Notifications : public ::testing::Test {
 protected:
  void SetUp() override {
    root = new CContainerUI;
    root->SetName(L"root");
    sender = new ProbeControl(L"sender", &log);
    root->Add(sender);
    window.Manager().AttachDialog(root);
    window.Manager().AddNotifier(&first);
    window.Manager().AddNotifier(&second);
    window.Paint();
    log.clear();
    sender->OnNotify += SkinUI::MakeDelegate(this, &Notifications::OwnHook);
  }
  void TearDown() override {
    window.Manager().RemoveNotifier(&first);
    window.Manager().RemoveNotifier(&second);
  }
  bool OwnHook(void* param) {
    log.push_back({L"hook:" + std::wstring(static_cast<SkinUI::TNotifyUI*>(param)->sType.GetData()),
                   L"sender"});
    return true;
  }

  SkinTestWindow window{200, 100};
  CContainerUI* root = nullptr;
  ProbeControl* sender = nullptr;
  std::vector<Record> log;
  NotifyLog first{&log};
  NotifyLog second{&log};
};

TEST_F(Notifications, ASynchronousOneReachesHooksThenNotifiersBeforeReturning) {
  window.PostMouse(WM_MOUSEMOVE, 150, 70);
  window.Pump();
  log.clear();
  window.Manager().SendNotify(sender, L"custom", 3, 4);
  EXPECT_EQ(log, (std::vector<Record>{
                     {L"hook:custom", L"sender"}, {L"custom", L"sender"}, {L"custom", L"sender"}}));
  const SkinUI::TNotifyUI& msg = first.received.back();
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(msg.lParam, 4);
  EXPECT_EQ(msg.ptMouse.x, 150);
  EXPECT_EQ(msg.ptMouse.y, 70);
  EXPECT_NE(msg.dwTimestamp, 0u);
  EXPECT_TRUE(msg.sVirtualWnd.IsEmpty());
}

TEST_F(Notifications, AQueuedOneArrivesAfterTheCurrentMessageInOrder) {
  window.Manager().SendNotify(sender, L"one", 0, 0, true);
  window.Manager().SendNotify(sender, L"two", 0, 0, true);
  EXPECT_TRUE(log.empty());
  ::PostMessageW(window.Get(), WM_NULL, 0, 0);
  window.Pump();
  EXPECT_EQ(log, (std::vector<Record>{{L"hook:one", L"sender"},
                                      {L"one", L"sender"},
                                      {L"one", L"sender"},
                                      {L"hook:two", L"sender"},
                                      {L"two", L"sender"},
                                      {L"two", L"sender"}}));
}

TEST_F(Notifications, AQueuedOneWhoseSenderWentArrivesWithoutSender) {
  window.Manager().SendNotify(sender, L"late", 0, 0, true);
  root->SetDelayedDestroy(false);
  root->Remove(sender);
  ::PostMessageW(window.Get(), WM_NULL, 0, 0);
  window.Pump();
  std::vector<SkinUI::TNotifyUI> late;
  for (const auto& msg : first.received) {
    if (msg.sType == L"late") late.push_back(msg);
  }
  ASSERT_EQ(late.size(), 1u);
  EXPECT_EQ(late[0].pSender, nullptr);
}

TEST_F(Notifications, VirtualWindowNamesAreFilledOnceInUse) {
  root->SetVirtualWnd(L"panel");
  window.Manager().SendNotify(sender, L"v");
  EXPECT_EQ(first.received.back().sVirtualWnd, L"panel");
}

TEST_F(Notifications, WindowInitIsSentOncePerAttach) {
  NotifyLog watcher(nullptr);
  SkinTestWindow other(100, 60);
  other.Manager().AddNotifier(&watcher);
  other.Manager().AttachDialog(new CContainerUI);
  other.Paint();
  ::InvalidateRect(other.Get(), nullptr, FALSE);
  other.Paint();
  int inits = 0;
  for (const auto& msg : watcher.received) inits += msg.sType == L"windowinit" ? 1 : 0;
  EXPECT_EQ(inits, 1);
  other.Manager().AttachDialog(new CContainerUI);
  other.Paint();
  inits = 0;
  for (const auto& msg : watcher.received) inits += msg.sType == L"windowinit" ? 1 : 0;
  EXPECT_EQ(inits, 2);
  other.Manager().RemoveNotifier(&watcher);
}

// --- Timers ---------------------------------------------------------------------

TEST_F(Notifications, TimersUseWin32IdsFromSeventeenAndKeepThemForARestart) {
  auto* other = new ProbeControl(L"other");
  root->Add(other);
  SkinUI::CPaintManagerUI& manager = window.Manager();
  EXPECT_TRUE(manager.SetTimer(sender, 5, 10000));
  EXPECT_FALSE(manager.SetTimer(sender, 5, 10000));  // running already
  EXPECT_TRUE(manager.SetTimer(other, 5, 10000));    // another control, id 18

  // A tick as the system posts it reaches the control with its own id.
  ::SendMessageW(window.Get(), WM_TIMER, 17, 0);
  ASSERT_FALSE(sender->events.empty());
  EXPECT_EQ(sender->events.back().Type, SkinUI::EventTimer);
  EXPECT_EQ(sender->events.back().wParam, 5u);
  ::SendMessageW(window.Get(), WM_TIMER, 18, 0);
  ASSERT_FALSE(other->events.empty());
  EXPECT_EQ(other->events.back().Type, SkinUI::EventTimer);
  // The base control turns a tick into a "timer" notification.
  EXPECT_EQ(first.received.back().sType, L"timer");
  EXPECT_EQ(first.received.back().wParam, 5u);

  EXPECT_TRUE(manager.KillTimer(sender, 5));
  EXPECT_FALSE(manager.KillTimer(sender, 5));
  EXPECT_FALSE(manager.KillTimer(sender, 6));
  const size_t before = sender->events.size();
  ::SendMessageW(window.Get(), WM_TIMER, 17, 0);
  EXPECT_EQ(sender->events.size(), before);
  // A restart takes the same Win32 id again.
  EXPECT_TRUE(manager.SetTimer(sender, 5, 10000));
  ::SendMessageW(window.Get(), WM_TIMER, 17, 0);
  EXPECT_EQ(sender->events.size(), before + 1);
  // A new timer never takes an id still held.
  EXPECT_TRUE(manager.SetTimer(sender, 6, 10000));
  ::SendMessageW(window.Get(), WM_TIMER, 19, 0);
  EXPECT_EQ(sender->events.back().wParam, 6u);

  // Killing all of a control's timers drops their records.
  manager.KillTimer(sender);
  EXPECT_FALSE(manager.KillTimer(sender, 5));
  const size_t after = sender->events.size();
  ::SendMessageW(window.Get(), WM_TIMER, 17, 0);
  ::SendMessageW(window.Get(), WM_TIMER, 19, 0);
  EXPECT_EQ(sender->events.size(), after);
  // A removed control's timers go with it.
  root->SetDelayedDestroy(false);
  root->Remove(other);
  ::SendMessageW(window.Get(), WM_TIMER, 18, 0);  // must not reach a deleted control
  manager.RemoveAllTimers();
}

TEST_F(Notifications, TimerIdsSkipThoseStillInUseWhenTheyWrapAround) {
  // 239 timers use up the ids 17...239 and 1...16; the next finds none
  // free, and after one is freed exactly that one is reused.
  SkinUI::CPaintManagerUI& manager = window.Manager();
  for (UINT i = 0; i < 239; ++i) ASSERT_TRUE(manager.SetTimer(sender, 100 + i, 100000)) << i;
  EXPECT_FALSE(manager.SetTimer(sender, 999, 100000));
  auto* other = new ProbeControl(L"other");
  root->Add(other);
  manager.KillTimer(sender);
  EXPECT_TRUE(manager.SetTimer(other, 1, 100000));
  ::SendMessageW(window.Get(), WM_TIMER, 17, 0);
  ASSERT_FALSE(other->events.empty());
  EXPECT_EQ(other->events.back().wParam, 1u);
  manager.RemoveAllTimers();
}

// --- Delayed clean-up ---------------------------------------------------------------

TEST_F(Notifications, DelayedControlsAreDeletedWhenTheCleanUpMessageArrives) {
  struct Watch {
    int deaths = 0;
    bool OnDestroy(void*) {
      ++deaths;
      return true;
    }
  } watch;
  auto* doomed = new ProbeControl(L"doomed");
  doomed->OnDestroy += SkinUI::MakeDelegate(&watch, &Watch::OnDestroy);
  window.Manager().AddDelayedCleanup(doomed);
  EXPECT_EQ(doomed->GetManager(), &window.Manager());
  EXPECT_EQ(doomed->GetParent(), nullptr);
  EXPECT_EQ(watch.deaths, 0);
  window.Pump();  // the posted WM_APP + 1
  EXPECT_EQ(watch.deaths, 1);
  // The message from anyone else with nothing listed does nothing.
  ::PostMessageW(window.Get(), WM_APP + 1, 0, 0);
  window.Pump();
  EXPECT_EQ(watch.deaths, 1);
}

TEST_F(Notifications, ReattachingHandsTheOldTreeToTheCleanUp) {
  struct Watch {
    int deaths = 0;
    bool OnDestroy(void*) {
      ++deaths;
      return true;
    }
  } watch;
  root->OnDestroy += SkinUI::MakeDelegate(&watch, &Watch::OnDestroy);
  window.Manager().AttachDialog(new CContainerUI);
  EXPECT_EQ(watch.deaths, 0);
  window.Pump();
  EXPECT_EQ(watch.deaths, 1);
  EXPECT_EQ(window.Manager().FindControl(L"sender"), nullptr);
}

}  // namespace
