// The message box with the program's own skin: its two forms, which button
// gives which result, the keys and commands that must not (or must) close
// it, its place over its owner, and what it draws.
//
// The box runs its own modal loop, so each test acts from inside that loop:
// a timer of the owner window fires while the box is up, finds the box and
// drives it with posted mouse and keyboard messages.

#include "windows/MessageBoxWnd.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/controls/ControlUI.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;

constexpr wchar_t kQuestion[] = L"确定退出 Talmic 吗?";
constexpr UINT_PTR kStepTimer = 0x5150;

class ToolkitEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

// The box of this thread while it is up, with its object.
struct Box {
  HWND hWnd = nullptr;
  CMessageBoxWnd* wnd = nullptr;

  CControlUI* Find(const wchar_t* name) const { return wnd->GetPaintManager().FindControl(name); }
  void ClickAt(POINT pt) const {
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  }
  void Click(const wchar_t* name) const {
    CControlUI* control = Find(name);
    ASSERT_NE(control, nullptr);
    const RECT& rc = control->GetPos();
    ClickAt(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
  }
  void Key(WPARAM key) const {
    ::PostMessageW(hWnd, WM_KEYDOWN, key, 1);
    ::PostMessageW(hWnd, WM_KEYUP, key, 0xC0000001);
  }
  // What the window shows at a client point, 0x00RRGGBB.
  uint32_t Pixel(int x, int y) const {
    CWindowDc dc(hWnd);
    const COLORREF colour = ::GetPixel(dc.Get(), x, y);
    return (static_cast<uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
  }
};

Box FindBox() {
  Box box;
  box.hWnd = ::FindWindowW(L"CMessageBoxWnd", nullptr);
  if (box.hWnd != nullptr) {
    auto* object =
        reinterpret_cast<SkinUI::CWindowWnd*>(::GetWindowLongPtrW(box.hWnd, GWLP_USERDATA));
    box.wnd = dynamic_cast<CMessageBoxWnd*>(object);
  }
  return box;
}

// Steps run one per timer tick while the box is up.  A step that finds no
// box closes nothing, so a test whose box vanished early fails on its
// expectations instead of hanging.
class Script {
 public:
  void Add(std::function<void(const Box&)> step) { m_steps.push_back(std::move(step)); }

  UINT Run(HWND owner, bool twoButtons, const std::wstring& text) {
    s_current = this;
    ::SetTimer(owner, kStepTimer, 50, &Script::OnTick);
    const UINT result = ShowMessageBox(owner, twoButtons, text);
    ::KillTimer(owner, kStepTimer);
    s_current = nullptr;
    return result;
  }

  size_t StepsRun() const { return m_next; }

 private:
  static void CALLBACK OnTick(HWND owner, UINT, UINT_PTR, DWORD) {
    Script* self = s_current;
    if (self == nullptr) return;
    const Box box = FindBox();
    if (box.wnd == nullptr) return;
    // Laid out and painted before anything looks at it.
    ::UpdateWindow(box.hWnd);
    if (self->m_next >= self->m_steps.size()) {
      // Out of steps: the box is closed so that the test ends.
      ::KillTimer(owner, kStepTimer);
      box.wnd->Close(99);
      return;
    }
    self->m_steps[self->m_next++](box);
  }

  static Script* s_current;
  std::vector<std::function<void(const Box&)>> m_steps;
  size_t m_next = 0;
};
Script* Script::s_current = nullptr;

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(test::DistFolder().empty()) << "TALMIC_DIST is not set";
    CPaintManagerUI::SetResourcePath(test::InDist(L"skin").c_str());
    m_owner =
        ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 200, 150,
                          640, 420, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(m_owner, nullptr);
  }
  void TearDown() override {
    if (m_owner != nullptr) ::DestroyWindow(m_owner);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    CPaintManagerUI::SetResourcePath(L"");
  }

  HWND m_owner = nullptr;
};

struct ResultCase {
  const char* label;
  bool twoButtons;
  const wchar_t* button;
  UINT result;
};

const ResultCase kResultCases[] = {
    {"yes", true, L"msg_btn_yes", 1},         {"no", true, L"msg_btn_no", 0},
    {"close", true, L"btn_close", 0},         {"single", false, L"msg_btn_yes", 1},
    {"single_close", false, L"btn_close", 0},
};

class MessageBoxResults : public MessageBoxTest,
                          public ::testing::WithParamInterface<ResultCase> {};

TEST_P(MessageBoxResults, TheButtonClickedDecidesTheResult) {
  const ResultCase& c = GetParam();
  bool ownerDisabled = false;
  HWND boxWindow = nullptr;
  Script script;
  script.Add([&](const Box& box) {
    ownerDisabled = !::IsWindowEnabled(m_owner);
    boxWindow = box.hWnd;
    box.Click(c.button);
  });
  EXPECT_EQ(script.Run(m_owner, c.twoButtons, kQuestion), c.result);
  EXPECT_EQ(script.StepsRun(), 1u);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(::IsWindowEnabled(m_owner));
  EXPECT_FALSE(::IsWindow(boxWindow));
}

INSTANTIATE_TEST_SUITE_P(Buttons, MessageBoxResults, ::testing::ValuesIn(kResultCases),
                         [](const ::testing::TestParamInfo<ResultCase>& info) {
                           return std::string(info.param.label);
                         });

TEST_F(MessageBoxTest, TwoButtonFormShowsTheTextAndBothButtons) {
  Script script;
  script.Add([&](const Box& box) {
    ASSERT_NE(box.Find(L"lab_text"), nullptr);
    EXPECT_STREQ(box.Find(L"lab_text")->GetText().GetData(), kQuestion);
    CControlUI* yes = box.Find(L"msg_btn_yes");
    CControlUI* no = box.Find(L"msg_btn_no");
    ASSERT_NE(yes, nullptr);
    ASSERT_NE(no, nullptr);
    EXPECT_TRUE(yes->IsVisible());
    EXPECT_TRUE(no->IsVisible());
    EXPECT_STREQ(yes->GetText().GetData(), L"是");
    EXPECT_STREQ(no->GetText().GetData(), L"否");
    // Yes on the left of no, both in the window.
    EXPECT_LT(yes->GetPos().right, no->GetPos().left);
    box.Click(L"msg_btn_no");
  });
  EXPECT_EQ(script.Run(m_owner, true, kQuestion), 0u);
  EXPECT_EQ(script.StepsRun(), 1u);
}

TEST_F(MessageBoxTest, OneButtonFormShowsOnlyAnEightyPixelOkButton) {
  Script script;
  script.Add([&](const Box& box) {
    CControlUI* yes = box.Find(L"msg_btn_yes");
    CControlUI* no = box.Find(L"msg_btn_no");
    ASSERT_NE(yes, nullptr);
    ASSERT_NE(no, nullptr);
    EXPECT_FALSE(no->IsVisible());
    EXPECT_TRUE(yes->IsVisible());
    EXPECT_STREQ(yes->GetText().GetData(), L"确定");
    EXPECT_EQ(yes->GetFixedWidth(), 80);
    EXPECT_EQ(yes->GetPos().right - yes->GetPos().left, 80);
    EXPECT_STREQ(box.Find(L"lab_text")->GetText().GetData(), L"已保存");
    box.Click(L"msg_btn_yes");
  });
  EXPECT_EQ(script.Run(m_owner, false, L"已保存"), 1u);
}

TEST_F(MessageBoxTest, IsCentredOnItsOwnerInsideTheWorkArea) {
  // A large owner, and one so small and close to the corner that the
  // centred box would stick out of the work area at the left.
  const RECT owners[] = {{200, 150, 840, 570}, {40, 30, 300, 200}};
  for (const RECT& rcOwner : owners) {
    ::SetWindowPos(m_owner, nullptr, rcOwner.left, rcOwner.top, rcOwner.right - rcOwner.left,
                   rcOwner.bottom - rcOwner.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rcBox = {};
    HWND owner = nullptr;
    Script script;
    script.Add([&](const Box& box) {
      ::GetWindowRect(box.hWnd, &rcBox);
      owner = ::GetWindow(box.hWnd, GW_OWNER);
      box.Click(L"msg_btn_no");
    });
    script.Run(m_owner, true, kQuestion);
    EXPECT_EQ(owner, m_owner);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(m_owner, MONITOR_DEFAULTTONEAREST), &info);
    const int w = rcBox.right - rcBox.left;
    const int h = rcBox.bottom - rcBox.top;
    // The skin's size, centred on the owner's (truncated) centre, pushed
    // back inside the work area.
    EXPECT_EQ(w, 380);
    EXPECT_EQ(h, 180);
    const int x = (rcOwner.left + rcOwner.right) / 2 - w / 2;
    const int y = (rcOwner.top + rcOwner.bottom) / 2 - h / 2;
    EXPECT_EQ(rcBox.left, std::max(x, static_cast<int>(info.rcWork.left)));
    EXPECT_EQ(rcBox.top, std::max(y, static_cast<int>(info.rcWork.top)));
  }
  // The second owner's box really was pushed.
  EXPECT_LT((40 + 300) / 2 - 380 / 2, 0);
}

TEST_F(MessageBoxTest, ReturnAndEscapeCloseNothing) {
  bool openAfterKeys = false;
  Script script;
  script.Add([&](const Box& box) {
    ::SetFocus(box.hWnd);
    box.Key(VK_ESCAPE);
    box.Key(VK_RETURN);
  });
  script.Add([&](const Box& box) {
    openAfterKeys = ::IsWindowVisible(box.hWnd) != FALSE;
    box.Click(L"msg_btn_yes");
  });
  EXPECT_EQ(script.Run(m_owner, true, kQuestion), 1u);
  EXPECT_EQ(script.StepsRun(), 2u);
  EXPECT_TRUE(openAfterKeys);
}

TEST_F(MessageBoxTest, SystemCloseGivesZero) {
  HWND boxWindow = nullptr;
  Script script;
  script.Add([&](const Box& box) {
    boxWindow = box.hWnd;
    ::PostMessageW(box.hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(script.Run(m_owner, true, kQuestion), 0u);
  EXPECT_EQ(script.StepsRun(), 1u);
  EXPECT_FALSE(::IsWindow(boxWindow));
}

TEST_F(MessageBoxTest, AQuitMessageEndsTheBoxAndIsPassedOn) {
  HWND boxWindow = nullptr;
  Script script;
  script.Add([&](const Box& box) {
    boxWindow = box.hWnd;
    ::PostQuitMessage(9);
  });
  EXPECT_EQ(script.Run(m_owner, true, kQuestion), 0u);
  // The box is gone with its object, and the loop around it still gets
  // the quit message.
  EXPECT_FALSE(::IsWindow(boxWindow));
  EXPECT_TRUE(::IsWindowEnabled(m_owner));
  MSG msg = {};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 9u);
}

// The skin's images are drawn: the yes button's blue, the no button's
// white face inside its grey border, the question icon's blue.  Points are
// a few pixels inside the shapes, away from text and anti-aliased edges;
// the tolerance allows for the stretching of the nine-grid images.
TEST_F(MessageBoxTest, DrawsTheSkinsImages) {
  const auto isNear = [](uint32_t actual, uint32_t expected) {
    for (int shift : {0, 8, 16}) {
      const int a = static_cast<int>((actual >> shift) & 0xFF);
      const int e = static_cast<int>((expected >> shift) & 0xFF);
      if (std::abs(a - e) > 12) return false;
    }
    return true;
  };
  Script script;
  script.Add([&](const Box& box) {
    const RECT yes = box.Find(L"msg_btn_yes")->GetPos();
    const RECT no = box.Find(L"msg_btn_no")->GetPos();
    const RECT icon = box.Find(L"msg_icon")->GetPos();
    const int yesMid = (yes.top + yes.bottom) / 2;
    const int noMid = (no.top + no.bottom) / 2;
    EXPECT_PRED2(isNear, box.Pixel(yes.left + 5, yesMid), 0x2563EBu);
    EXPECT_PRED2(isNear, box.Pixel(no.left + 5, noMid), 0xFFFFFFu);
    EXPECT_PRED2(isNear, box.Pixel(no.left, noMid), 0xCBD5E1u);
    EXPECT_PRED2(isNear, box.Pixel(icon.left + 4, (icon.top + icon.bottom) / 2), 0x2563EBu);
    box.Click(L"msg_btn_no");
  });
  script.Run(m_owner, true, kQuestion);
  EXPECT_EQ(script.StepsRun(), 1u);
}

}  // namespace
