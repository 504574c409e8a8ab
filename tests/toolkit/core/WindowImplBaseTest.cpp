// The skinned window base on real windows: creation from a skin, the
// frameless non-client handling (hit testing, maximising, region, size
// limits), system commands and system buttons driven through the message
// path, virtual windows, and the keys that must close nothing.

#include "toolkit/core/WindowImplBase.h"

#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/support/TempFolder.h"
#include "tests/toolkit/core/CoreTestSupport.h"
#include "tests/toolkit/core/ProbeControl.h"
#include "toolkit/controls/ControlUI.h"
#include "util/UniqueHandle.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;
using SkinUI::CSkinString;
using SkinUI::TNotifyUI;
using SkinUI::UILIB_RESOURCETYPE;
using SkinUI::WindowImplBase;

// Element names the test window creates itself, each a probe control with
// the class name hit testing looks at.
struct FakeClass {
  const wchar_t* element;
  const wchar_t* className;
};
const FakeClass kFakeClasses[] = {
    {L"FakeButton", L"ButtonUI"},   {L"FakeOption", L"OptionUI"}, {L"FakeText", L"TextUI"},
    {L"FakeSlider", L"SliderUI"},   {L"FakeLabel", L"LabelUI"},   {L"FakeLowerButton", L"buttonui"},
    {L"FakeButtonX", L"ButtonUIx"},
};

// A 300 x 200 window with a caption band from y 0 to 32 inset 8 pixels
// left and right, a 4-pixel size box, and a row of controls in the band.
constexpr wchar_t kSkin[] =
    L"<Window size=\"300,200\" caption=\"8,0,8,32\" sizebox=\"4,4,4,4\" mininfo=\"200,120\">"
    L" <Container name=\"root\" bkcolor=\"#FFF0F0F0\">"
    L"  <Control name=\"title\" float=\"true\" pos=\"10,4,60,28\"/>"
    L"  <FakeButton name=\"btn\" float=\"true\" pos=\"60,4,80,28\"/>"
    L"  <FakeOption name=\"opt\" float=\"true\" pos=\"80,4,100,28\"/>"
    L"  <FakeText name=\"txt\" float=\"true\" pos=\"100,4,120,28\"/>"
    L"  <FakeSlider name=\"sld\" float=\"true\" pos=\"120,4,140,28\"/>"
    L"  <FakeLabel name=\"lab\" float=\"true\" pos=\"140,4,160,28\"/>"
    L"  <FakeLowerButton name=\"lower\" float=\"true\" pos=\"160,4,180,28\"/>"
    L"  <FakeButtonX name=\"btnx\" float=\"true\" pos=\"180,4,200,28\"/>"
    L"  <FakeButton name=\"minbtn\" float=\"true\" pos=\"200,4,220,28\"/>"
    L"  <FakeButton name=\"maxbtn\" float=\"true\" pos=\"220,4,240,28\"/>"
    L"  <FakeButton name=\"restorebtn\" visible=\"false\" float=\"true\" pos=\"220,4,240,28\"/>"
    L"  <FakeButton name=\"closebtn\" float=\"true\" pos=\"240,4,260,28\"/>"
    L"  <Container virtualwnd=\"pane\" float=\"true\" pos=\"20,100,120,150\">"
    L"   <FakeButton name=\"closebtn\" float=\"true\" pos=\"10,10,40,40\"/>"
    L"   <FakeButton name=\"panebtn\" float=\"true\" pos=\"50,10,80,40\"/>"
    L"  </Container>"
    L" </Container>"
    L"</Window>";

constexpr int kX = 100;
constexpr int kY = 80;
constexpr int kWidth = 300;
constexpr int kHeight = 200;

// Runs the thread's queue empty the way the program's modal loop does.
// Timer messages are dropped so that no real timer adds work.
void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_TIMER) continue;
    if (!CPaintManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

// A window of the base with its skin given by the test.  It records what
// reaches the hooks a derived window has.
class TestSkinWindow : public WindowImplBase {
 public:
  explicit TestSkinWindow(std::wstring skin = kSkin, UILIB_RESOURCETYPE type = SkinUI::ResourceFile)
      : m_skin(std::move(skin)), m_type(type) {}

  LPCWSTR GetWindowClassName() const override { return L"TalmicTestSkinWindow"; }
  CSkinString GetSkinFolderName() override { return skinFolder.c_str(); }
  CSkinString GetSkinFileName() override { return m_skin.c_str(); }
  UILIB_RESOURCETYPE GetResourceType() const override { return m_type; }
  CSkinString GetZIPFileName() const override { return zipName.c_str(); }
  LPCWSTR GetResourceID() const override { return resourceId.c_str(); }

  void InitWindow() override {
    ++initCount;
    rootAtInit = m_PaintManager.GetRoot();
    if (paneHandlesClicks) {
      m_PaintManager.UsedVirtualWnd(true);
      AddVirtualWnd(L"pane", &m_pane);
    }
  }

  CControlUI* CreateControl(LPCWSTR pstrClass) override {
    for (const FakeClass& fake : kFakeClasses) {
      if (std::wcscmp(fake.element, pstrClass) == 0) {
        return new test::ProbeControl(L"", nullptr, 0, fake.className);
      }
    }
    return nullptr;
  }

  LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override {
    closeWParams.push_back(wParam);
    if (keepOpenOnClose) return 0;
    return WindowImplBase::OnClose(uMsg, wParam, lParam, bHandled);
  }

  // Records the place of every window move or resize.
  LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override {
    if (uMsg == WM_WINDOWPOSCHANGED) {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if ((pos->flags & SWP_NOSIZE) == 0) {
        placements.push_back(RECT{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy});
      }
    }
    return WindowImplBase::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
  }

  LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override {
    defaultKeys.push_back(wParam);
    return WindowImplBase::ResponseDefaultKeyEvent(wParam);
  }

  void OnFinalMessage(HWND hWnd) override {
    WindowImplBase::OnFinalMessage(hWnd);
    ++finalMessages;
  }

  // Creates the window at (kX, kY); the skin gives its size.
  HWND Open(DWORD style = WS_POPUP | WS_VISIBLE) {
    HWND hWnd = Create(nullptr, L"skin window", style, WS_EX_TOOLWINDOW, kX, kY, 50, 50);
    Settle();
    return hWnd;
  }

  // Lays the tree out and paints it, so that controls have their places.
  void Settle() {
    if (!::IsWindow(m_hWnd)) return;
    ::UpdateWindow(m_hWnd);
    Pump();
    ::UpdateWindow(m_hWnd);
    Pump();
  }

  CControlUI* Find(const wchar_t* name) { return m_PaintManager.FindControl(name); }

  // A click of the left button at a client point, posted as input arrives.
  void Click(POINT pt) {
    ::PostMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::PostMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::PostMessageW(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  }

  void ClickControl(const wchar_t* name) {
    CControlUI* control = Find(name);
    ASSERT_NE(control, nullptr) << "no control named this";
    const RECT& rc = control->GetPos();
    Click(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
  }

  // The hit code for a client point, asked at its real screen position.
  LRESULT HitTest(int x, int y) {
    POINT pt = {x, y};
    ::ClientToScreen(m_hWnd, &pt);
    return ::SendMessageW(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
  }

  std::wstring skinFolder;
  std::wstring zipName;
  std::wstring resourceId;
  bool keepOpenOnClose = false;
  bool paneHandlesClicks = false;
  int initCount = 0;
  int finalMessages = 0;
  CControlUI* rootAtInit = nullptr;
  std::vector<WPARAM> closeWParams;
  std::vector<WPARAM> defaultKeys;
  std::vector<RECT> placements;

  // The virtual window "pane": it takes every click from inside it.
  class PanePump : public SkinUI::CNotifyPump {
   public:
    std::vector<std::wstring> clicks;
    void OnClick(TNotifyUI& msg) { clicks.push_back(msg.pSender->GetName().GetData()); }

   protected:
    const SkinUI::SKIN_MSGMAP* GetMessageMap() const override { return &kMap; }

   private:
    static const SkinUI::SKIN_MSGMAP_ENTRY kEntries[];
    static const SkinUI::SKIN_MSGMAP kMap;
  };
  PanePump m_pane;

 private:
  std::wstring m_skin;
  UILIB_RESOURCETYPE m_type;
};

const SkinUI::SKIN_MSGMAP_ENTRY TestSkinWindow::PanePump::kEntries[] = {
    SkinUI::SkinMapNotify(L"click", L"", &TestSkinWindow::PanePump::OnClick),
    SkinUI::SkinMapEnd(),
};
const SkinUI::SKIN_MSGMAP TestSkinWindow::PanePump::kMap = {&SkinUI::CNotifyPump::GetThisMessageMap,
                                                            kEntries};

// Every test starts from "no skin settings" and ends with no window left.
class WindowImplBaseTest : public test::SkinSettingsTest {
 protected:
  void TearDown() override {
    if (::IsWindow(m_window.GetHWND())) ::DestroyWindow(m_window.GetHWND());
    Pump();
    test::SkinSettingsTest::TearDown();
  }

  RECT WindowRect() const {
    RECT rc = {};
    ::GetWindowRect(m_window.GetHWND(), &rc);
    return rc;
  }

  static RECT WorkArea(HWND hWnd) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
  }

  TestSkinWindow m_window;
};

void ExpectRect(const RECT& actual, const RECT& expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

// --- Creation ---------------------------------------------------------------

TEST_F(WindowImplBaseTest, CreationDropsTheCaptionAndKeepsThePlace) {
  ASSERT_NE(m_window.Open(WS_OVERLAPPEDWINDOW | WS_VISIBLE), nullptr);
  const HWND hWnd = m_window.GetHWND();
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_STYLE));
  EXPECT_EQ(style & WS_CAPTION, 0u);
  EXPECT_EQ(style & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN), WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  EXPECT_EQ(::GetClassLongPtrW(hWnd, GCL_STYLE) & CS_DBLCLKS, static_cast<ULONG_PTR>(CS_DBLCLKS));
  // The skin's size, at the place the window was created.
  ExpectRect(WindowRect(), RECT{kX, kY, kX + kWidth, kY + kHeight});
  // No frame is left: the whole window is client area, even with a
  // sizing border in the style.
  RECT rcClient = {};
  ::GetClientRect(hWnd, &rcClient);
  ExpectRect(rcClient, RECT{0, 0, kWidth, kHeight});
}

TEST_F(WindowImplBaseTest, InitWindowRunsOnceTheControlsExist) {
  ASSERT_NE(m_window.Open(), nullptr);
  EXPECT_EQ(m_window.initCount, 1);
  ASSERT_NE(m_window.rootAtInit, nullptr);
  EXPECT_EQ(m_window.rootAtInit, m_window.GetPaintManager().GetRoot());
  EXPECT_STREQ(m_window.rootAtInit->GetName().GetData(), L"root");
  ASSERT_NE(m_window.Find(L"maxbtn"), nullptr);
  EXPECT_STREQ(m_window.Find(L"maxbtn")->GetClass(), L"ButtonUI");
}

TEST_F(WindowImplBaseTest, AnEmptyResourcePathBecomesTheSkinFolderBesideTheProgram) {
  m_window.skinFolder = L"skinfolder";
  ASSERT_NE(m_window.Open(), nullptr);
  const CSkinString expected = CPaintManagerUI::GetInstancePath() + L"skinfolder\\";
  EXPECT_STREQ(CPaintManagerUI::GetResourcePath().GetData(), expected.GetData());
}

TEST_F(WindowImplBaseTest, AResourcePathAlreadySetIsKept) {
  test::TempFolder folder;
  CPaintManagerUI::SetResourcePath(folder.Path().c_str());
  m_window.skinFolder = L"skinfolder";
  ASSERT_NE(m_window.Open(), nullptr);
  EXPECT_STREQ(CPaintManagerUI::GetResourcePath().GetData(), folder.Path().c_str());
}

// Each resource type reads the skin from its own place; each place holds a
// skin whose root control says where it came from.
struct SourceCase {
  const char* label;
  UILIB_RESOURCETYPE type;
  const wchar_t* skinFile;
  const wchar_t* zipName;
  const wchar_t* resourceId;
  const wchar_t* rootName;
};

class SkinSources : public WindowImplBaseTest, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(SkinSources, TheTreeComesFromTheResourceTypesPlace) {
  const SourceCase& c = GetParam();
  test::TempFolder folder;
  ASSERT_TRUE(test::WriteFileBytes(folder / L"folder.xml",
                                   "<Window size=\"120,80\"><Container name=\"from-folder\"/>"
                                   "</Window>"));
  ASSERT_TRUE(::CopyFileW(test::CoreData(L"windowbase\\skin.zip").c_str(),
                          (folder / L"skin.zip").c_str(), FALSE));
  CPaintManagerUI::SetResourcePath(folder.Path().c_str());

  TestSkinWindow window(c.skinFile, c.type);
  window.zipName = c.zipName;
  window.resourceId = c.resourceId;
  ASSERT_NE(window.Open(), nullptr);
  ASSERT_NE(window.GetPaintManager().GetRoot(), nullptr);
  EXPECT_STREQ(window.GetPaintManager().GetRoot()->GetName().GetData(), c.rootName);
  EXPECT_EQ(window.initCount, 1);
  ::DestroyWindow(window.GetHWND());
  // An archive opened for this window must not leak into the next test.
  CPaintManagerUI::SetResourceZip(L"", false);
}

const SourceCase kSourceCases[] = {
    {"file", SkinUI::ResourceFile, L"folder.xml", L"", L"", L"from-folder"},
    {"zip", SkinUI::ResourceZip, L"skin.xml", L"skin.zip", L"", L"from-zip"},
    {"module", SkinUI::ResourceModule, L"310", L"", L"", L"from-module"},
    {"zipmodule", SkinUI::ResourceZipModule, L"skin.xml", L"", L"WINDOWBASE_SKIN", L"from-zip"},
};

INSTANTIATE_TEST_SUITE_P(ResourceTypes, SkinSources, ::testing::ValuesIn(kSourceCases),
                         [](const ::testing::TestParamInfo<SourceCase>& info) {
                           return std::string(info.param.label);
                         });

TEST_F(WindowImplBaseTest, AMissingArchiveResourceLeavesAnEmptyWorkingWindow) {
  TestSkinWindow window(L"skin.xml", SkinUI::ResourceZipModule);
  window.resourceId = L"NO_SUCH_ARCHIVE";
  ASSERT_NE(window.Open(), nullptr);
  EXPECT_TRUE(::IsWindow(window.GetHWND()));
  EXPECT_EQ(window.GetPaintManager().GetRoot(), nullptr);
  EXPECT_EQ(window.initCount, 0);
  // It still answers messages.
  EXPECT_EQ(window.HitTest(50, 50), HTCLIENT);
  ::DestroyWindow(window.GetHWND());
  EXPECT_EQ(window.finalMessages, 1);
}

// --- Hit testing ---------------------------------------------------------------

struct HitCase {
  const char* label;
  int x;
  int y;
  LRESULT expected;
};

const HitCase kHitCases[] = {
    // The size box: 4 pixels on every side, corners first.
    {"top-left corner", 1, 1, HTTOPLEFT},
    {"top edge", 150, 3, HTTOP},
    {"top-right corner", 298, 1, HTTOPRIGHT},
    {"left edge", 1, 100, HTLEFT},
    {"right edge", 297, 100, HTRIGHT},
    {"bottom-left corner", 2, 198, HTBOTTOMLEFT},
    {"bottom edge", 150, 197, HTBOTTOM},
    {"bottom-right corner", 298, 198, HTBOTTOMRIGHT},
    {"just inside the right border", 296, 100, HTCLIENT},
    {"just inside the bottom border", 150, 196, HTCLIENT},
    // The caption band: 8 pixels in from either side, y from 0 to 32.
    {"band left of its inset", 6, 10, HTCLIENT},
    {"band at its left inset", 8, 10, HTCAPTION},
    {"band at its right inset", 291, 10, HTCAPTION},
    {"band past its right inset", 292, 10, HTCLIENT},
    {"last row of the band", 270, 31, HTCAPTION},
    {"first row below the band", 270, 32, HTCLIENT},
    // Controls inside the band: only the clickable classes keep clicks.
    {"plain control", 30, 16, HTCAPTION},
    {"button", 70, 16, HTCLIENT},
    {"option", 90, 16, HTCLIENT},
    {"text", 110, 16, HTCLIENT},
    {"slider", 130, 16, HTCLIENT},
    {"label", 150, 16, HTCAPTION},
    {"class name in other case", 170, 16, HTCLIENT},
    {"longer class name", 190, 16, HTCAPTION},
    {"system button", 230, 16, HTCLIENT},
    {"below the band", 150, 100, HTCLIENT},
};

class HitTesting : public WindowImplBaseTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(HitTesting, AnswersFromTheSkinsCaptionAndSizeBox) {
  ASSERT_NE(m_window.Open(), nullptr);
  EXPECT_EQ(m_window.HitTest(GetParam().x, GetParam().y), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Points, HitTesting, ::testing::ValuesIn(kHitCases),
                         [](const ::testing::TestParamInfo<HitCase>& info) {
                           return "point" + std::to_string(info.index);
                         });

TEST_F(WindowImplBaseTest, WithoutASizeBoxTheBordersDoNotResize) {
  TestSkinWindow window(L"<Window size=\"300,200\" caption=\"0,0,0,32\"><Container/></Window>");
  ASSERT_NE(window.Open(), nullptr);
  EXPECT_EQ(window.HitTest(0, 0), HTCAPTION);
  EXPECT_EQ(window.HitTest(299, 199), HTCLIENT);
  EXPECT_EQ(window.HitTest(0, 100), HTCLIENT);
  ::DestroyWindow(window.GetHWND());
}

// --- Maximising and the system buttons --------------------------------------------

TEST_F(WindowImplBaseTest, MaximiseFillsTheWorkAreaAndSwapsTheButtons) {
  ASSERT_NE(m_window.Open(), nullptr);
  const HWND hWnd = m_window.GetHWND();
  CControlUI* maxbtn = m_window.Find(L"maxbtn");
  CControlUI* restorebtn = m_window.Find(L"restorebtn");
  ASSERT_NE(maxbtn, nullptr);
  ASSERT_NE(restorebtn, nullptr);

  // Real clicks on the buttons, through the paint manager and the maps.
  m_window.placements.clear();
  m_window.ClickControl(L"maxbtn");
  Pump();
  ASSERT_TRUE(::IsZoomed(hWnd));
  const RECT rcWork = WorkArea(hWnd);
  // The system places the maximised window on the work area.  (Here the
  // work area is the whole screen, which makes Wine hand the window to a
  // window manager; without one on the display it then takes the old size
  // back, so the first placement is the one that tells.)
  ASSERT_FALSE(m_window.placements.empty());
  ExpectRect(m_window.placements.front(), rcWork);
  RECT rcClient = {};
  ::GetClientRect(hWnd, &rcClient);
  EXPECT_EQ(rcClient.right, rcWork.right - rcWork.left);
  EXPECT_EQ(rcClient.bottom, rcWork.bottom - rcWork.top);
  EXPECT_FALSE(maxbtn->IsVisible());
  EXPECT_TRUE(restorebtn->IsVisible());
  // Nothing resizes by the border while maximised.
  EXPECT_EQ(m_window.HitTest(150, 1), HTCAPTION);
  EXPECT_EQ(m_window.HitTest(1, 100), HTCLIENT);

  m_window.Settle();
  m_window.ClickControl(L"restorebtn");
  Pump();
  EXPECT_FALSE(::IsZoomed(hWnd));
  ExpectRect(WindowRect(), RECT{kX, kY, kX + kWidth, kY + kHeight});
  EXPECT_TRUE(maxbtn->IsVisible());
  EXPECT_FALSE(restorebtn->IsVisible());
  EXPECT_EQ(m_window.HitTest(150, 1), HTTOP);
}

TEST_F(WindowImplBaseTest, WithoutARestoreButtonMaximisingLeavesTheMaxButtonAlone) {
  TestSkinWindow window(
      L"<Window size=\"300,200\"><Container>"
      L"<FakeButton name=\"maxbtn\" float=\"true\" pos=\"220,4,240,28\"/></Container></Window>");
  ASSERT_NE(window.Open(), nullptr);
  window.ClickControl(L"maxbtn");
  Pump();
  EXPECT_TRUE(::IsZoomed(window.GetHWND()));
  EXPECT_TRUE(window.Find(L"maxbtn")->IsVisible());
  ::DestroyWindow(window.GetHWND());
}

TEST_F(WindowImplBaseTest, MinButtonMinimisesTheWindow) {
  ASSERT_NE(m_window.Open(), nullptr);
  m_window.ClickControl(L"minbtn");
  Pump();
  EXPECT_TRUE(::IsIconic(m_window.GetHWND()));
  EXPECT_TRUE(m_window.closeWParams.empty());
}

TEST_F(WindowImplBaseTest, CloseButtonClosesTheModalLoopWithResultOne) {
  ASSERT_NE(m_window.Open(), nullptr);
  m_window.ClickControl(L"closebtn");
  EXPECT_EQ(m_window.ShowModal(), 1u);
  EXPECT_FALSE(::IsWindow(m_window.GetHWND()));
  EXPECT_EQ(m_window.closeWParams, std::vector<WPARAM>{1});
  EXPECT_EQ(m_window.finalMessages, 1);
}

TEST_F(WindowImplBaseTest, ClicksInsideAVirtualWindowGoToItsPumpFirst) {
  m_window.paneHandlesClicks = true;
  ASSERT_NE(m_window.Open(), nullptr);
  // The pane's "closebtn" belongs to the pane: its pump takes the click,
  // and the window's own system-button handling never sees it.
  const RECT pane = {20, 100, 120, 150};
  m_window.Click(POINT{pane.left + 25, pane.top + 25});
  m_window.Click(POINT{pane.left + 65, pane.top + 25});
  Pump();
  EXPECT_EQ(m_window.m_pane.clicks, (std::vector<std::wstring>{L"closebtn", L"panebtn"}));
  EXPECT_TRUE(::IsWindow(m_window.GetHWND()));
  EXPECT_TRUE(m_window.closeWParams.empty());

  // The caption's "closebtn" is the window's own.  (Its name is taken by
  // the pane's button in the name table, so it is clicked by place.)
  m_window.Click(POINT{250, 16});
  Pump();
  EXPECT_FALSE(::IsWindow(m_window.GetHWND()));
  EXPECT_EQ(m_window.m_pane.clicks.size(), 2u);
}

// --- System commands --------------------------------------------------------------

TEST_F(WindowImplBaseTest, SystemCloseSendsOneCloseBeforeItReturns) {
  m_window.keepOpenOnClose = true;
  ASSERT_NE(m_window.Open(), nullptr);
  const HWND hWnd = m_window.GetHWND();
  EXPECT_EQ(::SendMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
  // Handled inside the command, with wParam 0, and nothing left queued.
  EXPECT_EQ(m_window.closeWParams, std::vector<WPARAM>{0});
  MSG msg;
  EXPECT_FALSE(::PeekMessageW(&msg, hWnd, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
  Pump();
  EXPECT_EQ(m_window.closeWParams.size(), 1u);
  EXPECT_TRUE(::IsWindow(hWnd));
}

TEST_F(WindowImplBaseTest, SystemCloseEndsAModalLoopWithResultZero) {
  ASSERT_NE(m_window.Open(), nullptr);
  ::PostMessageW(m_window.GetHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(m_window.ShowModal(), 0u);
  EXPECT_FALSE(::IsWindow(m_window.GetHWND()));
  EXPECT_EQ(m_window.closeWParams, std::vector<WPARAM>{0});
}

// --- Keys -------------------------------------------------------------------------

TEST_F(WindowImplBaseTest, ReturnAndEscapeCloseNothing) {
  ASSERT_NE(m_window.Open(), nullptr);
  const HWND hWnd = m_window.GetHWND();
  for (WPARAM key : {VK_ESCAPE, VK_RETURN, VK_SPACE}) {
    ::PostMessageW(hWnd, WM_KEYDOWN, key, 1);
    ::PostMessageW(hWnd, WM_KEYUP, key, 0xC0000001);
  }
  // Only a Close ends the loop, and its result is the one returned.
  ::PostMessageW(hWnd, WM_CLOSE, 5, 0);
  EXPECT_EQ(m_window.ShowModal(), 5u);
  EXPECT_EQ(m_window.closeWParams, std::vector<WPARAM>{5});
  // Both default keys were offered to the window, and only those.
  EXPECT_EQ(m_window.defaultKeys, (std::vector<WPARAM>{VK_ESCAPE, VK_RETURN}));
}

TEST_F(WindowImplBaseTest, DefaultKeysAreAnsweredButNeverConsumed) {
  ASSERT_NE(m_window.Open(), nullptr);
  const struct {
    UINT message;
    WPARAM key;
    LRESULT result;
  } cases[] = {{WM_KEYDOWN, VK_ESCAPE, 1},
               {WM_KEYDOWN, VK_RETURN, 0},
               {WM_KEYDOWN, 'A', 0},
               {WM_KEYUP, VK_ESCAPE, 0}};
  for (const auto& c : cases) {
    bool handled = false;
    EXPECT_EQ(m_window.MessageHandler(c.message, c.key, 0, handled), c.result);
    EXPECT_FALSE(handled);
  }
}

// --- Sizes and region ---------------------------------------------------------------

TEST_F(WindowImplBaseTest, SizeLimitsComeFromTheWorkAreaAndTheSkin) {
  const struct {
    const wchar_t* skin;
    SIZE minTrack;
    SIZE maxTrack;  // 0: the work area's size
  } cases[] = {
      {L"<Window size=\"300,200\" mininfo=\"200,120\"><Container/></Window>", {200, 120}, {0, 0}},
      {L"<Window size=\"300,200\" maxinfo=\"500,400\"><Container/></Window>", {0, 0}, {500, 400}},
  };
  for (const auto& c : cases) {
    TestSkinWindow window(c.skin);
    ASSERT_NE(window.Open(), nullptr);
    const HWND hWnd = window.GetHWND();
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
    const RECT& work = info.rcWork;

    MINMAXINFO mmi = {};
    mmi.ptMinTrackSize = POINT{1, 1};
    ::SendMessageW(hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMaxPosition.x, work.left - info.rcMonitor.left);
    EXPECT_EQ(mmi.ptMaxPosition.y, work.top - info.rcMonitor.top);
    EXPECT_EQ(mmi.ptMinTrackSize.x, c.minTrack.cx);
    EXPECT_EQ(mmi.ptMinTrackSize.y, c.minTrack.cy);
    EXPECT_EQ(mmi.ptMaxSize.x, work.right - work.left);
    EXPECT_EQ(mmi.ptMaxSize.y, work.bottom - work.top);
    EXPECT_EQ(mmi.ptMaxTrackSize.x, c.maxTrack.cx != 0 ? c.maxTrack.cx : work.right - work.left);
    EXPECT_EQ(mmi.ptMaxTrackSize.y, c.maxTrack.cy != 0 ? c.maxTrack.cy : work.bottom - work.top);
    ::DestroyWindow(hWnd);
  }
}

// Whether each point of the window lies inside its region.
std::vector<bool> InRegion(HWND hWnd, const std::vector<POINT>& points) {
  CGdiObject region(::CreateRectRgn(0, 0, 0, 0));
  std::vector<bool> inside;
  if (::GetWindowRgn(hWnd, static_cast<HRGN>(region.Get())) == ERROR) return inside;
  for (const POINT& pt : points) {
    inside.push_back(::PtInRegion(static_cast<HRGN>(region.Get()), pt.x, pt.y) != FALSE);
  }
  return inside;
}

TEST_F(WindowImplBaseTest, TheRegionFollowsTheRoundCornerAndTheSize) {
  // The four corner pixels, the middle of the edges, the centre.
  const auto points = [](int w, int h) {
    return std::vector<POINT>{{0, 0},         {w - 1, 0},     {0, h - 1},
                              {w - 1, h - 1}, {w / 2, 0},     {0, h / 2},
                              {w - 1, h / 2}, {w / 2, h - 1}, {w / 2, h / 2}};
  };
  const std::vector<bool> square(9, true);
  const std::vector<bool> rounded = {false, false, false, false, true, true, true, true, true};

  TestSkinWindow plain(L"<Window size=\"300,200\"><Container/></Window>");
  ASSERT_NE(plain.Open(), nullptr);
  EXPECT_EQ(InRegion(plain.GetHWND(), points(300, 200)), square);
  ::DestroyWindow(plain.GetHWND());

  TestSkinWindow round(L"<Window size=\"300,200\" roundcorner=\"12,12\"><Container/></Window>");
  ASSERT_NE(round.Open(), nullptr);
  EXPECT_EQ(InRegion(round.GetHWND(), points(300, 200)), rounded);
  // A new size gets a new region.
  ::SetWindowPos(round.GetHWND(), nullptr, 0, 0, 420, 260,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(InRegion(round.GetHWND(), points(420, 260)), rounded);
  ::DestroyWindow(round.GetHWND());
}

}  // namespace
