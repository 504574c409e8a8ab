// Message maps and virtual windows: which handler of a chain of maps a
// notification reaches, by type and sender name, and how notifications
// from inside a virtual window are routed.

#include "toolkit/core/NotifyPump.h"

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "toolkit/controls/ControlUI.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CNotifyPump;
using SkinUI::SKIN_MSGMAP;
using SkinUI::SKIN_MSGMAP_ENTRY;
using SkinUI::TNotifyUI;

// What every pump class with a map of its own declares: its table of
// entries (Pump::kEntries), linked to the map of the class it derives from.
template <class Pump, class Base>
class MappedPump : public Base {
 public:
  static const SKIN_MSGMAP* GetThisMessageMap() { return &kMap; }

 protected:
  const SKIN_MSGMAP* GetMessageMap() const override { return &kMap; }

 private:
  static const SKIN_MSGMAP kMap;
};

template <class Pump, class Base>
const SKIN_MSGMAP MappedPump<Pump, Base>::kMap = {&Base::GetThisMessageMap, Pump::kEntries};

// A base pump with a map of its own; each handler records its name.
class BasePump : public MappedPump<BasePump, CNotifyPump> {
 public:
  static const SKIN_MSGMAP_ENTRY kEntries[];

  std::vector<std::string> calls;
  WPARAM seenWParam = 0;
  LPARAM seenLParam = 0;

  void OnAnyClick(TNotifyUI&) { calls.push_back("base:any-click"); }
  void OnOkClick(TNotifyUI&) { calls.push_back("base:ok-click"); }
  void OnTimer(WPARAM wParam, LPARAM lParam) {
    calls.push_back("base:timer");
    seenWParam = wParam;
    seenLParam = lParam;
  }
  // Replaced by the derived pump: the map calls it virtually.
  virtual void OnMenu(TNotifyUI&) { calls.push_back("base:menu"); }
};

const SKIN_MSGMAP_ENTRY BasePump::kEntries[] = {
    SkinUI::SkinMapNotify(L"click", L"", &BasePump::OnAnyClick),
    SkinUI::SkinMapNotify(L"click", L"ok", &BasePump::OnOkClick),
    SkinUI::SkinMapWParamLParam(L"timer", L"", &BasePump::OnTimer),
    SkinUI::SkinMapNotify(L"menu", L"", &BasePump::OnMenu),
    SkinUI::SkinMapEnd(),
};

// A derived pump whose map comes first in the chain.  Its "click" entries
// name one control ("apply") and, later, any control twice: the last
// any-control entry is the one taken.
class DerivedPump : public MappedPump<DerivedPump, BasePump> {
 public:
  static const SKIN_MSGMAP_ENTRY kEntries[];

  void OnApplyClick(TNotifyUI&) { calls.push_back("derived:apply-click"); }
  void OnFirstAnyClick(TNotifyUI&) { calls.push_back("derived:first-any-click"); }
  void OnLastAnyClick(TNotifyUI&) { calls.push_back("derived:last-any-click"); }
  void OnSelect(TNotifyUI&) { calls.push_back("derived:select"); }
  void OnMenu(TNotifyUI&) override { calls.push_back("derived:menu"); }
};

const SKIN_MSGMAP_ENTRY DerivedPump::kEntries[] = {
    SkinUI::SkinMapNotify(L"click", L"", &DerivedPump::OnFirstAnyClick),
    SkinUI::SkinMapNotify(L"click", L"apply", &DerivedPump::OnApplyClick),
    SkinUI::SkinMapNotify(L"click", L"", &DerivedPump::OnLastAnyClick),
    SkinUI::SkinMapNotify(L"selectchanged", L"opt", &DerivedPump::OnSelect),
    SkinUI::SkinMapEnd(),
};

// A notification of a type from a control of a name (null: no sender).
struct Sent {
  TNotifyUI msg;
  CControlUI control;
  Sent(const wchar_t* type, const wchar_t* senderName, WPARAM wParam = 0, LPARAM lParam = 0) {
    msg.sType = type;
    msg.wParam = wParam;
    msg.lParam = lParam;
    if (senderName != nullptr) {
      control.SetName(senderName);
      msg.pSender = &control;
    }
  }
};

struct DispatchCase {
  const char* label;
  const wchar_t* type;
  const wchar_t* sender;  // null: the notification has no sender
  bool dispatched;
  const char* handler;  // empty: none called
};

// The derived pump's map decides whenever it has an entry for the type;
// the base map is consulted only for types the derived map lacks.
const DispatchCase kDerivedCases[] = {
    {"named entry wins over any-control entries", L"click", L"apply", true, "derived:apply-click"},
    {"other sender takes the last any-control entry", L"click", L"cancel", true,
     "derived:last-any-click"},
    {"named entry of the base map is shadowed", L"click", L"ok", true, "derived:last-any-click"},
    {"sender names compare case-sensitively", L"click", L"Apply", true, "derived:last-any-click"},
    {"no sender counts as an empty name", L"click", nullptr, true, "derived:first-any-click"},
    {"types compare case-sensitively", L"Click", L"apply", false, ""},
    {"named-only type for its control", L"selectchanged", L"opt", true, "derived:select"},
    {"named-only type for another control", L"selectchanged", L"other", false, ""},
    {"type only in the base map", L"timer", L"anything", true, "base:timer"},
    {"virtual handler through the base map", L"menu", L"x", true, "derived:menu"},
    {"type in no map", L"dbclick", L"apply", false, ""},
};

class DerivedDispatch : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(DerivedDispatch, ReachesTheHandlerTheChainChooses) {
  const DispatchCase& c = GetParam();
  DerivedPump pump;
  Sent sent(c.type, c.sender);
  EXPECT_EQ(pump.LoopDispatch(sent.msg), c.dispatched);
  if (c.handler[0] == '\0') {
    EXPECT_TRUE(pump.calls.empty());
  } else {
    EXPECT_EQ(pump.calls, std::vector<std::string>{c.handler});
  }
}

INSTANTIATE_TEST_SUITE_P(Chain, DerivedDispatch, ::testing::ValuesIn(kDerivedCases),
                         [](const ::testing::TestParamInfo<DispatchCase>& info) {
                           return "case" + std::to_string(info.index);
                         });

// On its own, the base pump's map is the first of the chain: its named
// entry wins there.
TEST(MessageMap, BaseMapAloneHonoursItsNamedEntry) {
  const struct {
    const wchar_t* sender;
    const char* handler;
  } cases[] = {{L"ok", "base:ok-click"}, {L"cancel", "base:any-click"}, {L"OK", "base:any-click"}};
  for (const auto& c : cases) {
    BasePump pump;
    Sent sent(L"click", c.sender);
    EXPECT_TRUE(pump.LoopDispatch(sent.msg));
    EXPECT_EQ(pump.calls, std::vector<std::string>{c.handler});
  }
}

TEST(MessageMap, WParamLParamHandlerGetsTheNotificationsValues) {
  DerivedPump pump;
  Sent sent(L"timer", L"t", 0x1234, -77);
  ASSERT_TRUE(pump.LoopDispatch(sent.msg));
  EXPECT_EQ(pump.seenWParam, 0x1234u);
  EXPECT_EQ(pump.seenLParam, -77);
}

TEST(MessageMap, ThePumpOfTheChainsEndHandlesNothing) {
  CNotifyPump pump;
  Sent sent(L"click", L"ok");
  EXPECT_FALSE(pump.LoopDispatch(sent.msg));
}

// A pump standing for one virtual window: it handles clicks only.
class PanePump : public MappedPump<PanePump, CNotifyPump> {
 public:
  static const SKIN_MSGMAP_ENTRY kEntries[];

  explicit PanePump(std::vector<std::string>* log, const char* name) : m_log(log), m_name(name) {}
  void OnClick(TNotifyUI&) { m_log->push_back(std::string(m_name) + ":click"); }

 private:
  std::vector<std::string>* m_log;
  const char* m_name;
};

const SKIN_MSGMAP_ENTRY PanePump::kEntries[] = {
    SkinUI::SkinMapNotify(L"click", L"", &PanePump::OnClick),
    SkinUI::SkinMapEnd(),
};

TEST(VirtualWindows, NamesAreAddedOnceAndRemovedOnce) {
  std::vector<std::string> log;
  PanePump pane(&log, "pane");
  PanePump other(&log, "other");
  CNotifyPump pump;
  EXPECT_TRUE(pump.AddVirtualWnd(L"pane", &pane));
  EXPECT_FALSE(pump.AddVirtualWnd(L"pane", &other));
  EXPECT_TRUE(pump.RemoveVirtualWnd(L"pane"));
  EXPECT_FALSE(pump.RemoveVirtualWnd(L"pane"));
  EXPECT_TRUE(pump.AddVirtualWnd(L"pane", &other));
}

TEST(VirtualWindows, NotificationsGoToTheirVirtualWindowFirst) {
  const struct {
    const wchar_t* virtualWnd;
    const wchar_t* type;
    std::vector<std::string> expected;
  } cases[] = {
      // Handled by the sub-handler of that name, compared ignoring case.
      {L"pane", L"click", {"pane:click"}},
      {L"PANE", L"click", {"pane:click"}},
      {L"side", L"click", {"side:click"}},
      // The sub-handler has no entry: the window's own maps take it.
      {L"pane", L"timer", {"base:timer"}},
      // No sub-handler of that name: the window's own maps.
      {L"nowhere", L"click", {"base:any-click"}},
      // Not from a virtual window: the window's own maps only.
      {L"", L"click", {"base:any-click"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> log;
    PanePump pane(&log, "pane");
    PanePump side(&log, "side");
    BasePump window;
    ASSERT_TRUE(window.AddVirtualWnd(L"pane", &pane));
    ASSERT_TRUE(window.AddVirtualWnd(L"side", &side));
    Sent sent(c.type, L"anything");
    sent.msg.sVirtualWnd = c.virtualWnd;
    window.NotifyPump(sent.msg);
    log.insert(log.end(), window.calls.begin(), window.calls.end());
    EXPECT_EQ(log, c.expected) << ::testing::PrintToString(std::wstring(c.virtualWnd));
  }
}

}  // namespace
