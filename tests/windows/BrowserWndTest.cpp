// The main window with the program's own skin, in this process and without
// the browser engine: the controls it binds, the private messages (title
// text and colour, restore and size, maximise), where it puts the browser's
// window, the quit question on every way of closing, and the tab strip's
// styling rules.
//
// The browser's window is stood in for by a plain child window that the
// test announces with WM_APP_BROWSER_CREATED, as the engine's thread would.

#include "windows/BrowserWnd.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/AppConfig.h"
#include "browser/BrowserWindowMessages.h"
#include "browser/SentWindowText.h"
#include "gtest/gtest.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/controls/ButtonUI.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/LabelUI.h"
#include "toolkit/controls/OptionUI.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"
#include "windows/MessageBoxWnd.h"
#include "windows/TabItem.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;

constexpr wchar_t kQuestion[] = L"确定退出 Talmic 吗?";
constexpr UINT_PTR kBoxTimer = 0x6150;

class ToolkitEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

RECT WindowRect(HWND hWnd) {
  RECT rc = {};
  ::GetWindowRect(hWnd, &rc);
  return rc;
}

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
  RECT rc = WindowRect(child);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected) {
  if (::EqualRect(&actual, &expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << actual.left << ", " << actual.top << ", " << actual.right << ", "
         << actual.bottom << ") instead of (" << expected.left << ", " << expected.top << ", "
         << expected.right << ", " << expected.bottom << ")";
}

// Pumps this thread's messages for a while, noting a quit message instead
// of losing it.
struct Pump {
  bool sawQuit = false;
  WPARAM quitCode = 0xFFFF;

  bool Until(const std::function<bool()>& condition, DWORD timeoutMs = 10000) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
      if (condition()) return true;
      if (::GetTickCount64() >= deadline) return condition();
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
          sawQuit = true;
          quitCode = message.wParam;
          continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  void For(DWORD ms) {
    Until([] { return false; }, ms);
  }
};

void PostClick(HWND hWnd, POINT pt) {
  ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  ::PostMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
}

POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

// What the screen shows at a client point of the window, 0x00RRGGBB.
uint32_t PixelAt(HWND hWnd, int x, int y) {
  CWindowDc dc(hWnd);
  const COLORREF colour = ::GetPixel(dc.Get(), x, y);
  return (static_cast<uint32_t>(GetRValue(colour)) << 16) |
         (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

// Every pixel of a client rectangle.
std::vector<uint32_t> PixelsOf(HWND hWnd, const RECT& rc) {
  std::vector<uint32_t> pixels;
  for (int y = rc.top; y < rc.bottom; ++y) {
    for (int x = rc.left; x < rc.right; ++x) pixels.push_back(PixelAt(hWnd, x, y));
  }
  return pixels;
}

class BrowserWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(test::DistFolder().empty()) << "TALMIC_DIST is not set";
    CPaintManagerUI::SetResourcePath(test::InDist(L"skin").c_str());
    g_hBrowserWnd = nullptr;
    // Created the way the application creates it.  The object deletes
    // itself when its window is destroyed.
    m_wnd = new CBrowserWnd;
    m_hWnd = m_wnd->Create(nullptr, L"Talmic", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr);
    ASSERT_NE(m_hWnd, nullptr);
    m_wnd->CenterWindow();
    Settle();
  }
  void TearDown() override {
    if (m_stand_in != nullptr) ::DestroyWindow(m_stand_in);
    if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    m_pump.For(50);
    CPaintManagerUI::SetResourcePath(L"");
  }

  // Lets layout and painting catch up.
  void Settle() {
    ::UpdateWindow(m_hWnd);
    m_pump.For(60);
    ::UpdateWindow(m_hWnd);
  }
  CControlUI* Find(const wchar_t* name) const { return m_wnd->GetPaintManager().FindControl(name); }
  RECT PosOf(const wchar_t* name) const {
    CControlUI* control = Find(name);
    return control != nullptr ? control->GetPos() : RECT{};
  }
  // Announces a stand-in for the browser's window, as the engine would.
  HWND AnnounceBrowser() {
    m_stand_in = MakeStandIn();
    ::PostMessageW(m_hWnd, WM_APP_BROWSER_CREATED, reinterpret_cast<WPARAM>(m_stand_in), 0);
    m_pump.For(50);
    return m_stand_in;
  }
  HWND MakeStandIn() const {
    return ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 3, 5, 10, 10, m_hWnd,
                             nullptr, ::GetModuleHandleW(nullptr), nullptr);
  }

  CBrowserWnd* m_wnd = nullptr;
  HWND m_hWnd = nullptr;
  HWND m_stand_in = nullptr;
  Pump m_pump;
};

TEST_F(BrowserWndTest, BindsItsControlsAndBecomesTheMainWindow) {
  wchar_t className[64] = {};
  ::GetClassNameW(m_hWnd, className, 64);
  EXPECT_STREQ(className, L"CBrowserWnd");
  EXPECT_EQ(g_hMainWnd, m_hWnd);
  ASSERT_NE(m_wnd->GetTitlePanel(), nullptr);
  EXPECT_EQ(m_wnd->GetTitlePanel(), Find(L"pan_title"));
  ASSERT_NE(m_wnd->GetBody(), nullptr);
  EXPECT_EQ(m_wnd->GetBody(), Find(L"body"));
  EXPECT_NE(::SendMessageW(m_hWnd, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(::SendMessageW(m_hWnd, WM_GETICON, ICON_SMALL, 0), 0);

  // The controls the application relies on, all from our skin.
  for (const wchar_t* name :
       {L"lab_title", L"close", L"minbtn", L"maxbtn", L"restorebtn", L"closebtn"}) {
    EXPECT_NE(Find(name), nullptr) << "no control named " << testing::PrintToString(name);
  }

  // The skin's tab strip is bound, and its tab knows its title and its
  // close button, which is the control named "close".
  SkinUI::CContainerUI* strip = m_wnd->GetTabContainer();
  ASSERT_NE(strip, nullptr);
  ASSERT_GE(strip->GetCount(), 1);
  auto* tab = static_cast<TabItem*>(strip->GetItemAt(0)->GetInterface(L"TabItem"));
  ASSERT_NE(tab, nullptr);
  ASSERT_NE(tab->GetTitle(), nullptr);
  EXPECT_EQ(tab->GetCloseButton(), Find(L"close"));

  // The body lies below the title panel, across the window.
  const RECT body = PosOf(L"body");
  const RECT title = PosOf(L"pan_title");
  EXPECT_GE(body.top, title.bottom);
  EXPECT_EQ(body.left, title.left);
  EXPECT_EQ(body.right, title.right);
}

TEST_F(BrowserWndTest, IsCentredAtTheSkinsSize) {
  // The application centres the window it created at (0, 0); the skin
  // gives its size.
  const RECT rc = WindowRect(m_hWnd);
  EXPECT_EQ(rc.right - rc.left, 1100);
  EXPECT_EQ(rc.bottom - rc.top, 700);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  EXPECT_NEAR((rc.left + rc.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((rc.top + rc.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

TEST_F(BrowserWndTest, OpenLoginPageUsesTheConfiguredAddressAndMaximises) {
  // The address given is only a starting value: the configuration file is
  // read again (here, beside the test program, where there normally is
  // none, so the address becomes empty).
  const std::wstring configured = ReadLoginUrl();
  ASSERT_NE(configured, L"http://given.example/login");
  m_wnd->OpenLoginPage(L"http://given.example/login");
  EXPECT_EQ(m_wnd->GetUrl(), configured);
  // Without an engine no browser comes, but the window maximises all the
  // same once the queue runs.
  EXPECT_FALSE(::IsZoomed(m_hWnd));
  EXPECT_TRUE(m_pump.Until([&] { return ::IsZoomed(m_hWnd) != FALSE; }, 3000));
  EXPECT_EQ(g_hBrowserWnd, nullptr);
}

TEST_F(BrowserWndTest, TitleTextArrivesAsUtf8) {
  struct Case {
    const char* utf8;
    const wchar_t* shown;
  };
  const Case cases[] = {
      {"Orders", L"Orders"},
      {"\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8CTalmic", L"你好，Talmic"},
      {"\xF0\x9F\x93\xA6 Box", L"\U0001F4E6 Box"},
      {"", L""},
      // Malformed UTF-8 converts to nothing rather than to wrong text.
      {"bad \xC3", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    const CSentWindowText text(c.utf8);
    ::SendMessageW(m_hWnd, WM_USER_TITLE_TEXT, reinterpret_cast<WPARAM>(text.Text()), 0);
    EXPECT_STREQ(Find(L"lab_title")->GetText().GetData(), c.shown);
  }
}

TEST_F(BrowserWndTest, TitleTextIsReadOnlyFromTheClientsOwnSend) {
  {
    const CSentWindowText kept("Kept");
    ::SendMessageW(m_hWnd, WM_USER_TITLE_TEXT, reinterpret_cast<WPARAM>(kept.Text()), 0);
  }
  ASSERT_STREQ(Find(L"lab_title")->GetText().GetData(), L"Kept");

  // What another process could send: no address, a number that is no
  // address here (reading through it would fault), a real text that is
  // not the one being sent, and a text whose send has ended.
  const std::string unregistered("Forged");
  const char* ended = nullptr;
  {
    const CSentWindowText finished("Finished");
    ended = finished.Text();
  }
  const CSentWindowText other("Other");
  const WPARAM addresses[] = {0, 0x10, 0xFFFFF000u, reinterpret_cast<WPARAM>(unregistered.c_str()),
                              reinterpret_cast<WPARAM>(ended)};
  for (const WPARAM address : addresses) {
    SCOPED_TRACE(address);
    ::SendMessageW(m_hWnd, WM_USER_TITLE_TEXT, address, 0);
    ::PostMessageW(m_hWnd, WM_USER_TITLE_TEXT, address, 0);
    m_pump.For(50);
    EXPECT_STREQ(Find(L"lab_title")->GetText().GetData(), L"Kept");
  }
}

TEST_F(BrowserWndTest, TitleColourFillsTheTitlePanel) {
  // A point of the panel that no control covers: between the tab strip's
  // tab and the system buttons.
  const RECT strip = PosOf(L"tab_strip");
  const RECT tab = m_wnd->GetTabContainer()->GetItemAt(0)->GetPos();
  const POINT free = {(tab.right + strip.right) / 2, PosOf(L"pan_title").top + 3};
  const uint32_t before = PixelAt(m_hWnd, free.x, free.y);
  EXPECT_NE(before, 0xFF0000u);

  ::PostMessageW(m_hWnd, WM_USER_TITLE_COLOR, 0xFFFF0000, 0);
  m_pump.For(30);
  Settle();
  EXPECT_EQ(m_wnd->GetTitlePanel()->GetBkColor(), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(m_hWnd, free.x, free.y), 0xFF0000u);
  // The body keeps its own colour.
  const POINT inBody = Centre(PosOf(L"body"));
  EXPECT_EQ(PixelAt(m_hWnd, inBody.x, inBody.y), 0xFFFFFFu);

  ::PostMessageW(m_hWnd, WM_USER_TITLE_COLOR, 0xFF2563EB, 0);
  m_pump.For(30);
  Settle();
  EXPECT_EQ(PixelAt(m_hWnd, free.x, free.y), 0x2563EBu);
}

// The primary monitor's work area, as the window's monitor reports it.
RECT PrimaryWorkArea() {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return monitor.rcWork;
}

TEST_F(BrowserWndTest, RestoreAndSizeInTenthsOfTheScreenCentresTheSizeTheWindowGets) {
  const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
  const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
  // Under Wine the work area is the X desktop's, which a test cannot make
  // smaller without changing it for every test on the display; here it is
  // the whole screen.
  const RECT work = PrimaryWorkArea();
  const SIZE minimum = {800, 500};  // the skin's mininfo
  struct Case {
    WPARAM wide;
    LPARAM high;
    bool resizes;
  };
  const Case cases[] = {
      {8, 9, true},   {10, 10, true}, {5, 5, true},  {7, 6, true},   {3, 3, true},  {9, 2, true},
      {20, 20, true}, {5, 0, false},  {0, 5, false}, {4, -3, false}, {0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "wParam " << c.wide << ", lParam " << c.high);
    // Each case starts from a known window at a place of its own, hidden
    // title panel included, so that every effect shows.
    ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    ::MoveWindow(m_hWnd, 40, 30, 900, 600, TRUE);
    m_wnd->GetTitlePanel()->SetVisible(false);
    ::SendMessageW(m_hWnd, WM_USER_RESTORE_SIZE, c.wide, c.high);
    m_pump.For(30);

    EXPECT_TRUE(m_wnd->GetTitlePanel()->IsVisible());
    EXPECT_FALSE(::IsZoomed(m_hWnd));
    if (c.resizes) {
      // Tenths of the screen, truncated; then held between the skin's
      // minimum and the work area, and centred in the work area.
      int cx = static_cast<int>(c.wide / 10.0 * cxScreen);
      int cy = static_cast<int>(c.high / 10.0 * cyScreen);
      cx = std::max(std::min(cx, static_cast<int>(work.right - work.left)), int{minimum.cx});
      cy = std::max(std::min(cy, static_cast<int>(work.bottom - work.top)), int{minimum.cy});
      const int x = work.left + (work.right - work.left - cx) / 2;
      const int y = work.top + (work.bottom - work.top - cy) / 2;
      EXPECT_TRUE(SameRect(WindowRect(m_hWnd), RECT{x, y, x + cx, y + cy}));
    } else {
      EXPECT_TRUE(SameRect(WindowRect(m_hWnd), RECT{40, 30, 940, 630}));
    }
  }
  // Ten tenths each way fill the work area exactly.
  ::SendMessageW(m_hWnd, WM_USER_RESTORE_SIZE, 10, 10);
  m_pump.For(30);
  EXPECT_TRUE(SameRect(WindowRect(m_hWnd), work));
}

TEST_F(BrowserWndTest, RestoringAMaximisedWindowGivesItsPlaceBack) {
  const RECT normal = WindowRect(m_hWnd);
  ::SendMessageW(m_hWnd, WM_USER_MAXIMIZE_FULL, 0, 0);
  m_pump.For(30);
  EXPECT_TRUE(::IsZoomed(m_hWnd));
  EXPECT_FALSE(m_wnd->GetTitlePanel()->IsVisible());
  // The system buttons follow the state (the restore button is in the
  // hidden panel, so only the maximise button tells).
  EXPECT_FALSE(Find(L"maxbtn")->IsVisible());

  ::SendMessageW(m_hWnd, WM_USER_RESTORE_SIZE, 5, 0);
  m_pump.For(30);
  EXPECT_FALSE(::IsZoomed(m_hWnd));
  EXPECT_TRUE(m_wnd->GetTitlePanel()->IsVisible());
  EXPECT_TRUE(SameRect(WindowRect(m_hWnd), normal));
  EXPECT_TRUE(Find(L"maxbtn")->IsVisible());
  EXPECT_FALSE(Find(L"restorebtn")->IsVisible());
}

TEST_F(BrowserWndTest, TheBrowserWindowFollowsTheBody) {
  // Before the browser exists, layout changes move nothing: neither the
  // window's own child that will become the browser's nor any other.  The
  // body did get a new rectangle, so its "PosChanged" came.
  HWND early = MakeStandIn();
  ASSERT_NE(early, nullptr);
  const RECT bodyBefore = PosOf(L"body");
  ::MoveWindow(m_hWnd, 20, 20, 1000, 640, TRUE);
  Settle();
  const RECT bodyAfter = PosOf(L"body");
  ASSERT_FALSE(::EqualRect(&bodyBefore, &bodyAfter)) << "the body was not laid out again";
  EXPECT_TRUE(SameRect(ChildRect(early), RECT{3, 5, 13, 15}));
  EXPECT_EQ(g_hBrowserWnd, nullptr);

  // Announcing it moves it over the body at once.
  m_stand_in = early;
  ::PostMessageW(m_hWnd, WM_APP_BROWSER_CREATED, reinterpret_cast<WPARAM>(early), 0);
  m_pump.For(50);
  EXPECT_TRUE(SameRect(ChildRect(early), bodyAfter));
  m_stand_in = nullptr;
  g_hBrowserWnd = nullptr;
  ::DestroyWindow(early);

  HWND browser = AnnounceBrowser();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(g_hBrowserWnd, browser);
  EXPECT_TRUE(SameRect(ChildRect(browser), PosOf(L"body")));

  // Every new size of the window gives the body a new rectangle, and the
  // browser goes with it.
  const SIZE sizes[] = {{900, 600}, {1200, 760}, {820, 520}};
  for (const SIZE& size : sizes) {
    SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy);
    const RECT before = PosOf(L"body");
    ::MoveWindow(m_hWnd, 10, 10, size.cx, size.cy, TRUE);
    Settle();
    const RECT body = PosOf(L"body");
    EXPECT_FALSE(::EqualRect(&before, &body));
    EXPECT_TRUE(SameRect(ChildRect(browser), body));
  }

  // Hiding the title panel gives the body the panel's room, and the
  // browser follows; showing it again takes it back.
  ::SendMessageW(m_hWnd, WM_USER_MAXIMIZE_FULL, 0, 0);
  Settle();
  EXPECT_EQ(PosOf(L"body").top, PosOf(L"frame").top + 1);
  EXPECT_TRUE(SameRect(ChildRect(browser), PosOf(L"body")));
  ::SendMessageW(m_hWnd, WM_USER_RESTORE_SIZE, 8, 9);
  Settle();
  EXPECT_GE(PosOf(L"body").top, PosOf(L"pan_title").bottom);
  EXPECT_TRUE(SameRect(ChildRect(browser), PosOf(L"body")));
}

TEST_F(BrowserWndTest, TheBrowsersOtherReportsChangeNothing) {
  HWND browser = AnnounceBrowser();
  const RECT frame = PosOf(L"frame");
  const RECT title = PosOf(L"pan_title");
  const std::vector<uint32_t> before = PixelsOf(m_hWnd, title);
  const RECT windowBefore = WindowRect(m_hWnd);

  const std::wstring address = L"http://127.0.0.1/elsewhere";
  const std::wstring pageTitle = L"Another title";
  const WPARAM wBrowser = reinterpret_cast<WPARAM>(browser);
  ::SendMessageW(m_hWnd, WM_APP_ADDRESS_CHANGED, wBrowser,
                 reinterpret_cast<LPARAM>(address.c_str()));
  ::SendMessageW(m_hWnd, WM_APP_ADDRESS_CHANGED, wBrowser, 0);
  ::PostMessageW(m_hWnd, WM_APP_LOADING_STATE, wBrowser, (1 << 16) | 1);
  ::SendMessageW(m_hWnd, WM_APP_TITLE_CHANGED, wBrowser,
                 reinterpret_cast<LPARAM>(pageTitle.c_str()));
  ::PostMessageW(m_hWnd, WM_USER_BROWSER_CLOSING, wBrowser, 0);
  m_pump.For(50);
  Settle();

  EXPECT_FALSE(m_pump.sawQuit);
  EXPECT_TRUE(::IsWindow(browser));
  EXPECT_TRUE(::IsWindowVisible(m_hWnd));
  EXPECT_TRUE(SameRect(WindowRect(m_hWnd), windowBefore));
  EXPECT_TRUE(SameRect(PosOf(L"frame"), frame));
  EXPECT_STREQ(Find(L"lab_title")->GetText().GetData(), L"Talmic");
  EXPECT_EQ(PixelsOf(m_hWnd, title), before);
}

// How a test closes the window, and how it answers the question.
struct CloseCase {
  const char* label;
  std::function<void(BrowserWndTest*, HWND, CBrowserWnd*)> close;
  const wchar_t* answer;
  bool quits;
};

// The message box of this thread while it is up.
CMessageBoxWnd* FindBox(HWND* hBox) {
  *hBox = ::FindWindowW(L"CMessageBoxWnd", nullptr);
  if (*hBox == nullptr) return nullptr;
  return dynamic_cast<CMessageBoxWnd*>(
      reinterpret_cast<SkinUI::CWindowWnd*>(::GetWindowLongPtrW(*hBox, GWLP_USERDATA)));
}

// The box's timer: notes each box it sees and answers each once, so that a
// second question, had one been asked, ends too and shows in the count.
struct BoxWatch {
  static BoxWatch* current;
  const wchar_t* answer = nullptr;
  std::set<HWND> boxes;
  std::wstring text;
  bool ownerDisabled = false;
  bool answered = false;

  static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    BoxWatch* self = current;
    HWND hBox = nullptr;
    CMessageBoxWnd* box = FindBox(&hBox);
    if (self == nullptr || box == nullptr || !::IsWindowVisible(hBox)) return;
    if (!self->boxes.insert(hBox).second) return;
    ::UpdateWindow(hBox);
    if (!self->answered) {
      self->answered = true;
      self->ownerDisabled = !::IsWindowEnabled(::GetWindow(hBox, GW_OWNER));
      if (box->GetTextLabel() != nullptr) self->text = box->GetTextLabel()->GetText().GetData();
    }
    CControlUI* button = box->GetPaintManager().FindControl(self->answer);
    if (button != nullptr) PostClick(hBox, Centre(button->GetPos()));
  }
};
BoxWatch* BoxWatch::current = nullptr;

class BrowserWndClosing : public BrowserWndTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(BrowserWndClosing, AsksOnceAndQuitsOnlyOnYes) {
  const CloseCase& c = GetParam();
  HWND browser = AnnounceBrowser();
  BoxWatch watch;
  watch.answer = c.answer;
  BoxWatch::current = &watch;
  const UINT_PTR timer = ::SetTimer(nullptr, kBoxTimer, 40, &BoxWatch::OnTick);

  c.close(this, m_hWnd, m_wnd);
  // Long enough for a second question to show if one were asked.
  m_pump.Until(
      [&] { return watch.answered && ::FindWindowW(L"CMessageBoxWnd", nullptr) == nullptr; });
  m_pump.For(400);
  ::KillTimer(nullptr, timer);
  BoxWatch::current = nullptr;

  EXPECT_TRUE(watch.answered);
  EXPECT_EQ(watch.boxes.size(), 1u);
  EXPECT_EQ(watch.text, kQuestion);
  EXPECT_TRUE(watch.ownerDisabled);
  EXPECT_EQ(::FindWindowW(L"CMessageBoxWnd", nullptr), nullptr);
  EXPECT_EQ(m_pump.sawQuit, c.quits);
  if (c.quits) {
    EXPECT_EQ(m_pump.quitCode, 0u);
  }
  // Whatever the answer, the window is never destroyed by closing it.
  EXPECT_TRUE(::IsWindow(m_hWnd));
  EXPECT_TRUE(::IsWindowEnabled(m_hWnd));
  EXPECT_TRUE(::IsWindow(browser));
  EXPECT_EQ(g_hMainWnd, m_hWnd);
}

void PostClose(BrowserWndTest*, HWND hWnd, CBrowserWnd*) { ::PostMessageW(hWnd, WM_CLOSE, 0, 0); }
void PostCloseTwice(BrowserWndTest*, HWND hWnd, CBrowserWnd*) {
  ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
  ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
}
void PostSystemClose(BrowserWndTest*, HWND hWnd, CBrowserWnd*) {
  ::PostMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}
void ClickControl(HWND hWnd, CBrowserWnd* wnd, const wchar_t* name) {
  ::UpdateWindow(hWnd);
  CControlUI* control = wnd->GetPaintManager().FindControl(name);
  ASSERT_NE(control, nullptr);
  PostClick(hWnd, Centre(control->GetPos()));
}
void ClickQuitControl(BrowserWndTest*, HWND hWnd, CBrowserWnd* wnd) {
  ClickControl(hWnd, wnd, L"close");
}
void ClickCloseButton(BrowserWndTest*, HWND hWnd, CBrowserWnd* wnd) {
  ClickControl(hWnd, wnd, L"closebtn");
}

const CloseCase kCloseCases[] = {
    {"close_no", PostClose, L"msg_btn_no", false},
    {"close_boxclose", PostClose, L"btn_close", false},
    {"close_yes", PostClose, L"msg_btn_yes", true},
    // The second request arrives while the question is up.
    {"close_twice_no", PostCloseTwice, L"msg_btn_no", false},
    {"close_twice_yes", PostCloseTwice, L"msg_btn_yes", true},
    {"syscommand_no", PostSystemClose, L"msg_btn_no", false},
    {"syscommand_yes", PostSystemClose, L"msg_btn_yes", true},
    {"quitcontrol_boxclose", ClickQuitControl, L"btn_close", false},
    {"quitcontrol_yes", ClickQuitControl, L"msg_btn_yes", true},
    {"closebtn_no", ClickCloseButton, L"msg_btn_no", false},
    {"closebtn_yes", ClickCloseButton, L"msg_btn_yes", true},
};

INSTANTIATE_TEST_SUITE_P(Ways, BrowserWndClosing, ::testing::ValuesIn(kCloseCases),
                         [](const ::testing::TestParamInfo<CloseCase>& info) {
                           return std::string(info.param.label);
                         });

// ---- The tab strip ----

constexpr wchar_t kSel[] = L"file='sel.png' corner='30,2,30,2'";
constexpr wchar_t kUnselA[] = L"file='unsel_a.png' corner='30,2,30,2'";
constexpr wchar_t kUnselB[] = L"file='unsel_b.png' corner='30,2,30,2'";
constexpr wchar_t kCloseSel[] = L"file='close_sel.png' dest='4,4,12,12'";
constexpr wchar_t kCloseUnsel[] = L"file='close_unsel.png' dest='4,4,12,12'";

class TabStripTest : public BrowserWndTest {
 protected:
  // Replaces the skin's tabs with `count` tabs of our own.
  void MakeTabs(int count) {
    SkinUI::CContainerUI* strip = m_wnd->GetTabContainer();
    ASSERT_NE(strip, nullptr);
    strip->RemoveAll();
    m_tabs.clear();
    for (int i = 0; i < count; ++i) {
      auto* tab = new TabItem;
      tab->SetFixedWidth(150);
      auto* title = new SkinUI::COptionUI;
      title->SetText((L"Tab " + std::to_wstring(i)).c_str());
      title->SetGroup(L"test_tabs");
      auto* close = new SkinUI::CButtonUI;
      close->SetFixedWidth(16);
      tab->Add(title);
      tab->Add(close);
      ASSERT_TRUE(strip->Add(tab));
      m_tabs.push_back(tab);
    }
    Settle();
  }
  // Each tab's look as a letter: S selected, A unsel_a, B unsel_b, ? a mix
  // that belongs to none of the three.
  std::string Looks() const {
    std::string looks;
    for (TabItem* tab : m_tabs) {
      const std::wstring bk = tab->GetBkImage();
      const DWORD colour = tab->GetTitle()->GetTextColor();
      const std::wstring close = tab->GetCloseButton()->GetBkImage();
      if (bk == kSel && colour == 0xFF333333 && close == kCloseSel) {
        looks += 'S';
      } else if (bk == kUnselA && colour == 0xFF777777 && close == kCloseUnsel) {
        looks += 'A';
      } else if (bk == kUnselB && colour == 0xFF777777 && close == kCloseUnsel) {
        looks += 'B';
      } else {
        looks += '?';
      }
    }
    return looks;
  }
  void SelectChanged(CControlUI* sender) {
    SkinUI::TNotifyUI msg;
    msg.sType = L"selectchanged";
    msg.pSender = sender;
    m_wnd->OnSelectChanged(msg);
  }

  std::vector<TabItem*> m_tabs;
};

TEST_F(TabStripTest, StylesTheSelectedTabItsLeftNeighbourAndTheLastTab) {
  struct Case {
    int count;
    int selected;  // -1: an option that is no tab's title
    const char* looks;
  };
  const Case cases[] = {
      {1, 0, "S"},     {1, -1, "B"},    {2, 0, "SA"},    {2, 1, "AS"},   {2, -1, "BA"},
      {3, 0, "SBA"},   {3, 1, "ASA"},   {3, 2, "BAS"},   {3, -1, "BBA"}, {5, 2, "BASBA"},
      {5, 0, "SBBBA"}, {5, 3, "BBASA"}, {5, 4, "BBBAS"},
  };
  SkinUI::COptionUI foreign;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.count << " tabs, selecting " << c.selected);
    MakeTabs(c.count);
    // Every tab starts in a look that none of the rules produces, so a tab
    // the rules leave alone shows.
    for (TabItem* tab : m_tabs) tab->SetBkImage(L"file='none.png'");
    SelectChanged(c.selected >= 0 ? m_tabs[c.selected]->GetTitle() : &foreign);
    EXPECT_EQ(Looks(), c.looks);
  }
}

TEST_F(TabStripTest, ASelectionChangeWithoutSenderOrStripChangesNothing) {
  MakeTabs(3);
  for (TabItem* tab : m_tabs) tab->SetBkImage(L"file='none.png'");
  SelectChanged(nullptr);
  EXPECT_EQ(Looks(), "???");
}

TEST_F(TabStripTest, ClickingATabsTitleRestylesTheStrip) {
  MakeTabs(3);
  SelectChanged(m_tabs[0]->GetTitle());
  ASSERT_EQ(Looks(), "SBA");
  // A real click: the option raises "selectchanged" and the window's
  // message map brings it to the strip.
  PostClick(m_hWnd, Centre(m_tabs[1]->GetTitle()->GetPos()));
  m_pump.Until([&] { return Looks() == "ASA"; }, 3000);
  EXPECT_EQ(Looks(), "ASA");
  EXPECT_TRUE(m_tabs[1]->GetTitle()->IsSelected());
  EXPECT_FALSE(m_tabs[0]->GetTitle()->IsSelected());
}

TEST_F(TabStripTest, TheSkinsTabIsDrawnSelected) {
  // The skin's own tab, as the window opens it: a white tab on the panel.
  CControlUI* tab = m_wnd->GetTabContainer()->GetItemAt(0);
  const RECT rc = tab->GetPos();
  EXPECT_EQ(PixelAt(m_hWnd, (rc.left + rc.right) / 2, rc.bottom - 4), 0xFFFFFFu);
  EXPECT_NE(PixelAt(m_hWnd, rc.right + 20, rc.bottom - 4), 0xFFFFFFu);
}

TEST(TabItemTest, BindsTheFirstOptionAndTheFirstOtherButton) {
  TabItem tab;
  auto* label = new SkinUI::CLabelUI;
  auto* close = new SkinUI::CButtonUI;
  auto* title = new SkinUI::COptionUI;
  auto* second = new SkinUI::COptionUI;
  auto* extra = new SkinUI::CButtonUI;
  tab.Add(label);
  tab.Add(close);
  tab.AddAt(title, 0);
  tab.Add(second);
  tab.Add(extra);
  EXPECT_EQ(tab.GetTitle(), title);
  EXPECT_EQ(tab.GetCloseButton(), close);
  EXPECT_EQ(tab.GetInterface(L"TabItem"), &tab);
  EXPECT_NE(tab.GetInterface(L"Container"), nullptr);

  // Restyling without a title or close button touches only the tab.
  EXPECT_TRUE(tab.Remove(title));
  EXPECT_EQ(tab.GetTitle(), nullptr);
  EXPECT_TRUE(tab.RemoveAt(tab.GetItemIndex(close)));
  EXPECT_EQ(tab.GetCloseButton(), nullptr);
  tab.RestyleTab(true);
  EXPECT_STREQ(tab.GetBkImage(), kSel);
  tab.RestyleAsEdgeTab();
  EXPECT_STREQ(tab.GetBkImage(), kUnselA);
  tab.RemoveAll();
  EXPECT_EQ(tab.GetCount(), 0);
}

}  // namespace
