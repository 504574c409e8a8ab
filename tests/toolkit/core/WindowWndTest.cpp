// The window wrapper on real windows: class registration and superclassing,
// the binding of window and object, creation, subclassing, the final
// message, the modal loop, centring, icons and client sizes.

#include "toolkit/core/WindowWnd.h"

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace {

using SkinUI::CWindowWnd;

constexpr UINT kPing = WM_APP + 7;
constexpr UINT kThrow = WM_APP + 8;
constexpr UINT kRun = WM_APP + 9;
constexpr int kIconResource = 101;

// A window object that records what reaches it.  Hooks let a test act on a
// message; a WM_CLOSE is passed on (and destroys the window) unless
// `keepOpenOnClose` is set.
class ProbeWindow : public CWindowWnd {
 public:
  explicit ProbeWindow(LPCWSTR className = L"TalmicProbeWindow", LPCWSTR superClass = nullptr)
      : m_className(className), m_superClass(superClass) {}

  LPCWSTR GetWindowClassName() const override { return m_className; }
  LPCWSTR GetSuperClassName() const override { return m_superClass; }
  UINT GetClassStyle() const override { return CS_DBLCLKS; }

  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override {
    messages.push_back(uMsg);
    if (uMsg == kThrow) throw std::runtime_error("a handler failed");
    if (uMsg == kPing) return 42;
    if (uMsg == kRun && onRun) {
      onRun();
      return 0;
    }
    if (uMsg == WM_CREATE && failCreate) return -1;
    if (uMsg == WM_CLOSE && keepOpenOnClose) return 0;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
  }

  void OnFinalMessage(HWND hWnd) override {
    ++finalMessages;
    finalHandle = hWnd;
    if (onFinal) onFinal(hWnd);
  }

  bool Saw(UINT message) const {
    for (UINT seen : messages) {
      if (seen == message) return true;
    }
    return false;
  }

  std::vector<UINT> messages;
  bool failCreate = false;
  bool keepOpenOnClose = false;
  int finalMessages = 0;
  HWND finalHandle = nullptr;
  std::function<void()> onRun;
  std::function<void(HWND)> onFinal;

 private:
  LPCWSTR m_className;
  LPCWSTR m_superClass;
};

// A heap window that deletes itself when its window is destroyed, as the
// program's main window does.
class SelfDeletingWindow final : public CWindowWnd {
 public:
  explicit SelfDeletingWindow(int* finals) : m_finals(finals) {}
  LPCWSTR GetWindowClassName() const override { return L"TalmicSelfDeletingWindow"; }
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override {
    if (uMsg == WM_CREATE && failCreate) return -1;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
  }
  void OnFinalMessage(HWND) override {
    ++*m_finals;
    delete this;
  }
  bool failCreate = false;

 private:
  int* m_finals;
};

// Destroys the window of an object at the end of a test when it is still
// there; declared after the object, so it goes first.
class WindowGuard {
 public:
  explicit WindowGuard(CWindowWnd& window) : m_window(window) {}
  WindowGuard(const WindowGuard&) = delete;
  WindowGuard& operator=(const WindowGuard&) = delete;
  ~WindowGuard() {
    if (::IsWindow(m_window.GetHWND())) ::DestroyWindow(m_window.GetHWND());
  }

 private:
  CWindowWnd& m_window;
};

void DrainQuit() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

class WindowWnd : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinUI::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    DrainQuit();
  }
  void TearDown() override { DrainQuit(); }

  static RECT WindowRect(HWND window) {
    RECT rc = {};
    ::GetWindowRect(window, &rc);
    return rc;
  }
  static RECT WorkArea() {
    RECT area = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
  }
};

void ExpectRect(const RECT& actual, const RECT& expected, const char* what) {
  EXPECT_EQ(actual.left, expected.left) << what;
  EXPECT_EQ(actual.top, expected.top) << what;
  EXPECT_EQ(actual.right, expected.right) << what;
  EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

// --- Registration and creation ---------------------------------------------

TEST_F(WindowWnd, RegistersItsClassOnceAndAgain) {
  ProbeWindow window(L"TalmicRegisteredClass");
  ASSERT_TRUE(window.RegisterWindowClass());
  // The class exists now: registering again still succeeds.
  EXPECT_TRUE(window.RegisterWindowClass());
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), L"TalmicRegisteredClass", &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
  EXPECT_EQ(wc.cbClsExtra, 0);
  EXPECT_EQ(wc.cbWndExtra, 0);
  EXPECT_EQ(wc.hIcon, nullptr);
  EXPECT_EQ(wc.hbrBackground, nullptr);
  EXPECT_EQ(wc.hCursor, ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
}

struct CreateCase {
  const char* name;
  int overload;  // 0: x, y, width, height; 1: rectangle; 2: skin window
  DWORD style;
  DWORD exStyle;
  RECT expected;
};

class WindowWndCreate : public WindowWnd, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(WindowWndCreate, CreatesTheWindowBoundToTheObject) {
  const CreateCase& c = GetParam();
  ProbeWindow window;
  WindowGuard guard(window);
  HWND hWnd = nullptr;
  switch (c.overload) {
    case 0:
      hWnd = window.Create(nullptr, L"probe", c.style, c.exStyle, 30, 40, 200, 100);
      break;
    case 1:
      hWnd = window.Create(nullptr, L"probe", c.style, c.exStyle, RECT{50, 60, 250, 160});
      break;
    default:
      hWnd = window.CreateSkinWindow(nullptr, L"probe", c.style, c.exStyle);
      break;
  }
  ASSERT_NE(hWnd, nullptr) << c.name;
  EXPECT_EQ(window.GetHWND(), hWnd);
  EXPECT_EQ(static_cast<HWND>(window), hWnd);
  EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
  wchar_t className[64] = {};
  ::GetClassNameW(hWnd, className, 64);
  EXPECT_EQ(std::wstring(className), L"TalmicProbeWindow");
  wchar_t title[16] = {};
  ::GetWindowTextW(hWnd, title, 16);
  EXPECT_EQ(std::wstring(title), L"probe");
  EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_STYLE)) & c.style, c.style) << c.name;
  EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_EXSTYLE)) & c.exStyle, c.exStyle)
      << c.name;
  ExpectRect(WindowRect(hWnd), c.expected, c.name);
  // Nothing reaches the object before its window is bound to it.
  ASSERT_FALSE(window.messages.empty());
  EXPECT_EQ(window.messages.front(), static_cast<UINT>(WM_NCCREATE));
  EXPECT_EQ(window.SendMessageW(kPing), 42);
  ::DestroyWindow(hWnd);
  EXPECT_EQ(window.finalMessages, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowWndCreate,
    ::testing::Values(
        CreateCase{"popup", 0, WS_POPUP, 0, {30, 40, 230, 140}},
        CreateCase{
            "overlapped window", 0, WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW, {30, 40, 230, 140}},
        CreateCase{"by rectangle", 1, WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW, {50, 60, 250, 160}},
        CreateCase{"skin window", 2, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, {0, 0, 0, 0}}));

struct SuperclassCase {
  const wchar_t* base;
  const wchar_t* name;
};

class WindowWndSuperclass : public WindowWnd,
                            public ::testing::WithParamInterface<SuperclassCase> {};

TEST_P(WindowWndSuperclass, KeepsTheBaseBehaviourAndBindsThroughAProperty) {
  const SuperclassCase& c = GetParam();
  ProbeWindow window(c.name, c.base);
  WindowGuard guard_window(window);
  HWND hWnd = window.Create(nullptr, L"first", WS_POPUP, 0, 0, 0, 120, 30);
  ASSERT_NE(hWnd, nullptr);
  EXPECT_EQ(::GetPropW(hWnd, L"WndX"), static_cast<HANDLE>(&window));
  EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_USERDATA), 0);
  // The base class's extra bytes and procedure still do their work.
  WNDCLASSEXW base = {};
  base.cbSize = sizeof base;
  WNDCLASSEXW derived = {};
  derived.cbSize = sizeof derived;
  ASSERT_TRUE(::GetClassInfoExW(nullptr, c.base, &base));
  ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), c.name, &derived));
  EXPECT_EQ(derived.cbWndExtra, base.cbWndExtra);
  ::SetWindowTextW(hWnd, L"second");
  wchar_t text[16] = {};
  ::GetWindowTextW(hWnd, text, 16);
  EXPECT_EQ(std::wstring(text), L"second");
  EXPECT_TRUE(window.Saw(WM_SETTEXT));
  EXPECT_EQ(window.SendMessageW(kPing), 42);

  HANDLE propertyAtTheEnd = reinterpret_cast<HANDLE>(1);
  window.onFinal = [&](HWND h) { propertyAtTheEnd = ::GetPropW(h, L"WndX"); };
  ::DestroyWindow(hWnd);
  EXPECT_EQ(window.finalMessages, 1);
  EXPECT_EQ(window.finalHandle, hWnd);
  EXPECT_EQ(window.GetHWND(), nullptr);
  EXPECT_EQ(propertyAtTheEnd, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Table, WindowWndSuperclass,
                         ::testing::Values(SuperclassCase{L"EDIT", L"TalmicEditSuperclass"},
                                           SuperclassCase{L"BUTTON", L"TalmicButtonSuperclass"}));

TEST_F(WindowWnd, ASuperclassOfAMissingClassIsNotCreated) {
  ProbeWindow window(L"TalmicNoBase", L"TalmicNoSuchClass");
  EXPECT_FALSE(window.RegisterSuperclass());
  EXPECT_EQ(window.Create(nullptr, L"", WS_POPUP, 0), nullptr);
  EXPECT_EQ(window.GetHWND(), nullptr);
}

TEST_F(WindowWnd, AWindowFailingInCreateIsNotReturned) {
  ProbeWindow window(L"TalmicFailingWindow");
  window.failCreate = true;
  EXPECT_EQ(window.Create(nullptr, L"", WS_POPUP, 0, 0, 0, 10, 10), nullptr);
  EXPECT_EQ(window.GetHWND(), nullptr);
  EXPECT_EQ(window.finalMessages, 1);
}

TEST_F(WindowWnd, AnObjectMayDeleteItselfWhenCreationFails) {
  // The heap checks report a write into the freed object.
  int finals = 0;
  auto* window = new SelfDeletingWindow(&finals);
  window->failCreate = true;
  EXPECT_EQ(window->Create(nullptr, L"", WS_POPUP, 0, 0, 0, 10, 10), nullptr);
  EXPECT_EQ(finals, 1);
}

TEST_F(WindowWnd, AnExceptionInAHandlerStaysInTheWindowProcedure) {
  ProbeWindow window;
  WindowGuard guard(window);
  ASSERT_NE(window.Create(nullptr, L"", WS_POPUP, 0, 0, 0, 10, 10), nullptr);
  EXPECT_EQ(window.SendMessageW(kThrow), 0);
  EXPECT_EQ(window.SendMessageW(kPing), 42);
}

// --- Subclassing -------------------------------------------------------------

// A window class of its own procedure, which counts what it receives.
int g_ownProcedureMessages = 0;
LRESULT CALLBACK OwnProcedure(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg == kPing) ++g_ownProcedureMessages;
  return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

HWND CreateOwnWindow() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = OwnProcedure;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TalmicOwnProcedure";
  ::RegisterClassExW(&wc);
  return ::CreateWindowExW(0, L"TalmicOwnProcedure", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

TEST_F(WindowWnd, SubclassAndUnsubclassRoundTrip) {
  HWND hWnd = CreateOwnWindow();
  ASSERT_NE(hWnd, nullptr);
  const LONG_PTR own = ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);
  g_ownProcedureMessages = 0;

  ProbeWindow window;
  ASSERT_EQ(window.Subclass(hWnd), hWnd);
  EXPECT_EQ(window.GetHWND(), hWnd);
  EXPECT_NE(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), own);
  EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
  // The object sees the message first; the default passes it on.
  ::SendMessageW(hWnd, WM_NULL, 0, 0);
  ::SendMessageW(hWnd, kRun, 0, 0);
  EXPECT_TRUE(window.Saw(WM_NULL));
  EXPECT_EQ(::SendMessageW(hWnd, kPing, 0, 0), 42);
  EXPECT_EQ(g_ownProcedureMessages, 0);

  window.Unsubclass();
  EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), own);
  window.messages.clear();
  ::SendMessageW(hWnd, kPing, 0, 0);
  EXPECT_EQ(g_ownProcedureMessages, 1);
  EXPECT_TRUE(window.messages.empty());
  ::DestroyWindow(hWnd);
  EXPECT_EQ(window.finalMessages, 0);
}

TEST_F(WindowWnd, DestroyingASubclassedWindowRestoresItsProcedureFirst) {
  HWND hWnd = CreateOwnWindow();
  ASSERT_NE(hWnd, nullptr);
  const LONG_PTR own = ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);
  ProbeWindow window;
  ASSERT_EQ(window.Subclass(hWnd), hWnd);
  LONG_PTR procedureAtTheEnd = 0;
  LONG_PTR userDataAtTheEnd = 1;
  window.onFinal = [&](HWND h) {
    procedureAtTheEnd = ::GetWindowLongPtrW(h, GWLP_WNDPROC);
    userDataAtTheEnd = ::GetWindowLongPtrW(h, GWLP_USERDATA);
  };
  ::DestroyWindow(hWnd);
  EXPECT_EQ(window.finalMessages, 1);
  EXPECT_EQ(window.finalHandle, hWnd);
  EXPECT_EQ(procedureAtTheEnd, own);
  EXPECT_EQ(userDataAtTheEnd, 0);
  EXPECT_EQ(window.GetHWND(), nullptr);
  // Unbound: nothing more to undo.
  window.Unsubclass();
}

TEST_F(WindowWnd, SubclassingFailsWithoutAWindow) {
  ProbeWindow window;
  EXPECT_EQ(window.Subclass(nullptr), nullptr);
  EXPECT_EQ(window.Subclass(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0xDEAD))), nullptr);
  EXPECT_EQ(window.GetHWND(), nullptr);
}

// --- The modal loop ------------------------------------------------------------

TEST_F(WindowWnd, CloseEndsTheModalLoopWithItsResultAndFreesTheOwner) {
  ProbeWindow owner(L"TalmicOwnerWindow");
  WindowGuard guard_owner(owner);
  ASSERT_NE(owner.Create(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 0, 100, 100), nullptr);
  ProbeWindow dialog;
  WindowGuard guard_dialog(dialog);
  ASSERT_NE(dialog.Create(owner, L"dialog", WS_POPUP, 0, 10, 10, 50, 50), nullptr);
  BOOL ownerEnabledDuringTheLoop = TRUE;
  BOOL visibleDuringTheLoop = FALSE;
  dialog.onRun = [&] {
    ownerEnabledDuringTheLoop = ::IsWindowEnabled(owner);
    visibleDuringTheLoop = ::IsWindowVisible(dialog);
    dialog.Close(7);
  };
  dialog.PostMessageW(kRun);
  EXPECT_EQ(dialog.ShowModal(), 7u);
  EXPECT_FALSE(ownerEnabledDuringTheLoop);
  EXPECT_TRUE(visibleDuringTheLoop);
  EXPECT_TRUE(::IsWindowEnabled(owner));
  EXPECT_FALSE(::IsWindow(dialog.finalHandle));
  EXPECT_EQ(dialog.finalMessages, 1);
  MSG msg;
  EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(WindowWnd, TheLastCloseCountsAndAQuitMessageIsPassedOn) {
  ProbeWindow window;
  WindowGuard guard_window(window);
  window.keepOpenOnClose = true;
  ASSERT_NE(window.Create(nullptr, L"", WS_POPUP, 0, 0, 0, 50, 50), nullptr);
  HWND focusAfterClose = reinterpret_cast<HWND>(1);
  int runs = 0;
  window.onRun = [&] {
    if (++runs == 1) {
      // The window takes the focus; a close without owner takes it away.
      ::SetFocus(window);
      window.Close(5);
      window.Close(9);
      window.PostMessageW(kRun);
    } else {
      focusAfterClose = ::GetFocus();
      ::PostQuitMessage(4);
    }
  };
  window.PostMessageW(kRun);
  EXPECT_EQ(window.ShowModal(), 9u);
  // The window stays: its handler kept it open.
  EXPECT_TRUE(::IsWindow(window));
  EXPECT_EQ(focusAfterClose, nullptr);
  MSG msg;
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(WindowWnd, NestedModalLoopsBothEndOnOneQuitMessage) {
  ProbeWindow outer(L"TalmicOuterWindow");
  WindowGuard guard_outer(outer);
  outer.keepOpenOnClose = true;
  ASSERT_NE(outer.Create(nullptr, L"outer", WS_POPUP, 0, 0, 0, 100, 100), nullptr);
  ProbeWindow inner;
  WindowGuard guard_inner(inner);
  UINT innerResult = 99;
  BOOL outerEnabledInside = TRUE;
  bool innerReturned = false;
  outer.onRun = [&] {
    ASSERT_NE(inner.Create(outer, L"inner", WS_POPUP, 0, 10, 10, 50, 50), nullptr);
    inner.onRun = [&] {
      outerEnabledInside = ::IsWindowEnabled(outer);
      ::PostQuitMessage(3);
    };
    inner.PostMessageW(kRun);
    innerResult = inner.ShowModal();
    innerReturned = true;
    // The inner loop passes the quit message on; were it lost, the outer
    // loop would wait for ever, so the test ends it with another code.
    MSG pending;
    if (!::PeekMessageW(&pending, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) ::PostQuitMessage(99);
  };
  outer.PostMessageW(kRun);
  EXPECT_EQ(outer.ShowModal(), 0u);
  EXPECT_TRUE(innerReturned);
  EXPECT_EQ(innerResult, 0u);
  EXPECT_FALSE(outerEnabledInside);
  EXPECT_TRUE(::IsWindowEnabled(outer));
  // Both windows still exist; the outer loop passed the quit on too.
  EXPECT_TRUE(::IsWindow(inner));
  MSG msg;
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(WindowWnd, WithoutAWindowTheModalLoopReturnsAtOnce) {
  ProbeWindow window;
  EXPECT_EQ(window.ShowModal(), 0u);
}

TEST_F(WindowWnd, TheModalLoopOutlivesAnObjectThatDeletesItself) {
  int finals = 0;
  auto* window = new SelfDeletingWindow(&finals);
  ASSERT_NE(window->Create(nullptr, L"", WS_POPUP, 0, 0, 0, 20, 20), nullptr);
  window->Close(6);
  EXPECT_EQ(window->ShowModal(), 6u);
  EXPECT_EQ(finals, 1);
}

TEST_F(WindowWnd, TheModalLoopFollowsItsOwnWindowNotTheObject) {
  // An object bound to a new window while its first one goes: the loop of
  // the first window ends all the same.
  ProbeWindow window;
  WindowGuard guard_window(window);
  ASSERT_NE(window.Create(nullptr, L"first", WS_POPUP, 0, 0, 0, 20, 20), nullptr);
  HWND second = nullptr;
  window.onFinal = [&](HWND) {
    window.onFinal = nullptr;
    second = window.Create(nullptr, L"second", WS_POPUP, 0, 0, 0, 20, 20);
  };
  window.Close(2);
  EXPECT_EQ(window.ShowModal(), 2u);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(::IsWindow(second));
  EXPECT_EQ(window.GetHWND(), second);
}

// --- Centring ----------------------------------------------------------------

TEST_F(WindowWnd, WithoutOwnerAWindowIsCentredOnTheWorkArea) {
  ProbeWindow window;
  WindowGuard guard_window(window);
  ASSERT_NE(window.Create(nullptr, L"", WS_POPUP, 0, 3, 5, 201, 101), nullptr);
  window.CenterWindow();
  const RECT area = WorkArea();
  const int x = (area.left + area.right) / 2 - 201 / 2;
  const int y = (area.top + area.bottom) / 2 - 101 / 2;
  ExpectRect(WindowRect(window), RECT{x, y, x + 201, y + 101}, "centred");
}

TEST_F(WindowWnd, AnOwnedWindowIsCentredOnItsOwnerWithinTheWorkArea) {
  const RECT area = WorkArea();
  ProbeWindow owner(L"TalmicOwnerWindow");
  WindowGuard guard_owner(owner);
  ASSERT_NE(owner.Create(nullptr, L"", WS_POPUP, 0, area.left + 100, area.top + 100, 400, 300),
            nullptr);
  ProbeWindow dialog;
  WindowGuard guard_dialog(dialog);
  ASSERT_NE(dialog.Create(owner, L"", WS_POPUP, 0, 0, 0, 200, 100), nullptr);
  dialog.CenterWindow();
  ExpectRect(WindowRect(dialog),
             RECT{area.left + 200, area.top + 200, area.left + 400, area.top + 300}, "on owner");

  // An owner at the bottom-right corner: the dialog is pushed back inside.
  ::SetWindowPos(owner, nullptr, area.right - 100, area.bottom - 60, 400, 300,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  dialog.CenterWindow();
  ExpectRect(WindowRect(dialog), RECT{area.right - 200, area.bottom - 100, area.right, area.bottom},
             "clamped");

  // At the top-left corner: pushed to the left and top edges.
  ::SetWindowPos(owner, nullptr, area.left - 350, area.top - 250, 400, 300,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  dialog.CenterWindow();
  ExpectRect(WindowRect(dialog), RECT{area.left, area.top, area.left + 200, area.top + 100},
             "clamped to the top-left");
}

TEST_F(WindowWnd, AWindowLargerThanTheWorkAreaStartsAtItsTopLeft) {
  const RECT area = WorkArea();
  const int width = area.right - area.left + 120;
  const int height = area.bottom - area.top + 80;
  ProbeWindow window;
  WindowGuard guard_window(window);
  ASSERT_NE(window.Create(nullptr, L"", WS_POPUP, 0, 0, 0, width, height), nullptr);
  window.CenterWindow();
  ExpectRect(WindowRect(window), RECT{area.left, area.top, area.left + width, area.top + height},
             "too large");
}

// --- Icon, client size, showing ----------------------------------------------

// The colour at the centre of an icon drawn at its own size.
COLORREF IconColour(HICON icon, SIZE* size) {
  ICONINFO info = {};
  if (!::GetIconInfo(icon, &info)) return CLR_INVALID;
  CGdiObject colour(info.hbmColor);
  CGdiObject mask(info.hbmMask);
  BITMAP bitmap = {};
  ::GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
  *size = SIZE{bitmap.bmWidth, bitmap.bmHeight};
  CMemoryDc dc(::CreateCompatibleDC(nullptr));
  CGdiObject target(::CreateBitmap(bitmap.bmWidth, bitmap.bmHeight, 1, 32, nullptr));
  CSelectObject selected(dc.Get(), target.Get());
  ::DrawIconEx(dc.Get(), 0, 0, icon, bitmap.bmWidth, bitmap.bmHeight, 0, nullptr, DI_NORMAL);
  return ::GetPixel(dc.Get(), bitmap.bmWidth / 2, bitmap.bmHeight / 2);
}

TEST_F(WindowWnd, SetIconGivesBothIconsTheLargeImage) {
  ProbeWindow window;
  WindowGuard guard_window(window);
  ASSERT_NE(window.Create(nullptr, L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100), nullptr);
  window.SetIcon(kIconResource);
  const int large = (::GetSystemMetrics(SM_CXICON) + 15) & ~15;
  for (WPARAM which : {static_cast<WPARAM>(ICON_BIG), static_cast<WPARAM>(ICON_SMALL)}) {
    auto icon = reinterpret_cast<HICON>(window.SendMessageW(WM_GETICON, which));
    ASSERT_NE(icon, nullptr) << which;
    SIZE size = {};
    // The red 32 x 32 image, not the blue 16 x 16 one.
    EXPECT_EQ(IconColour(icon, &size), RGB(255, 0, 0)) << which;
    EXPECT_EQ(size.cx, large) << which;
    EXPECT_EQ(size.cy, large) << which;
  }
  // Setting it again replaces both.
  const auto before = window.SendMessageW(WM_GETICON, ICON_BIG);
  window.SetIcon(kIconResource);
  EXPECT_NE(window.SendMessageW(WM_GETICON, ICON_BIG), before);
}

struct ResizeCase {
  const char* name;
  DWORD style;
  DWORD exStyle;
  bool menu;
};

class WindowWndResize : public WindowWnd, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(WindowWndResize, GivesTheExactClientSize) {
  const ResizeCase& c = GetParam();
  HMENU menu = nullptr;
  if (c.menu) {
    menu = ::CreateMenu();
    ::AppendMenuW(menu, MF_STRING, 1, L"File");
  }
  ProbeWindow window;
  WindowGuard guard_window(window);
  ASSERT_NE(window.Create(nullptr, L"", c.style, c.exStyle, 40, 50, 500, 300, menu), nullptr);
  const RECT before = WindowRect(window);
  window.ResizeClient(320, 170);
  RECT client = {};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, 320) << c.name;
  EXPECT_EQ(client.bottom, 170) << c.name;
  window.ResizeClient(-1, 90);
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, 320) << c.name;
  EXPECT_EQ(client.bottom, 90) << c.name;
  window.ResizeClient(250);
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, 250) << c.name;
  EXPECT_EQ(client.bottom, 90) << c.name;
  // It does not move.
  const RECT after = WindowRect(window);
  EXPECT_EQ(after.left, before.left) << c.name;
  EXPECT_EQ(after.top, before.top) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowWndResize,
    ::testing::Values(ResizeCase{"popup", WS_POPUP, 0, false},
                      ResizeCase{"bordered popup", WS_POPUP | WS_BORDER, WS_EX_CLIENTEDGE, false},
                      ResizeCase{"overlapped window", WS_OVERLAPPEDWINDOW, 0, false},
                      ResizeCase{"tool window", WS_CAPTION | WS_THICKFRAME, WS_EX_TOOLWINDOW,
                                 false},
                      ResizeCase{"with a menu", WS_OVERLAPPEDWINDOW, 0, true}));

TEST_F(WindowWnd, AChildWithAnIdIsSizedWithoutAMenuBar) {
  ProbeWindow parent(L"TalmicParentWindow");
  WindowGuard guard_parent(parent);
  ASSERT_NE(parent.Create(nullptr, L"", WS_POPUP, 0, 0, 0, 400, 300), nullptr);
  ProbeWindow child(L"TalmicChildWindow");
  WindowGuard guard_child(child);
  // A child's "menu" is its id.
  ASSERT_NE(child.Create(parent, L"", WS_CHILD | WS_BORDER, 0, 5, 5, 100, 100,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(1234))),
            nullptr);
  child.ResizeClient(60, 40);
  RECT client = {};
  ::GetClientRect(child, &client);
  EXPECT_EQ(client.right, 60);
  EXPECT_EQ(client.bottom, 40);
}

TEST_F(WindowWnd, ShowWindowShowsHidesAndActivatesOnRequest) {
  ProbeWindow first(L"TalmicFirstWindow");
  WindowGuard guard_first(first);
  ProbeWindow second(L"TalmicSecondWindow");
  WindowGuard guard_second(second);
  ASSERT_NE(first.Create(nullptr, L"", WS_POPUP, 0, 0, 0, 50, 50), nullptr);
  ASSERT_NE(second.Create(nullptr, L"", WS_POPUP, 0, 60, 0, 50, 50), nullptr);
  first.ShowWindow();
  EXPECT_TRUE(::IsWindowVisible(first));
  EXPECT_EQ(::GetActiveWindow(), first.GetHWND());
  second.ShowWindow(true, false);
  EXPECT_TRUE(::IsWindowVisible(second));
  EXPECT_EQ(::GetActiveWindow(), first.GetHWND());
  second.ShowWindow(false);
  EXPECT_FALSE(::IsWindowVisible(second));
  second.ShowWindow(true, true);
  EXPECT_EQ(::GetActiveWindow(), second.GetHWND());
}

TEST_F(WindowWnd, MessagesGoToTheBoundWindow) {
  ProbeWindow window;
  WindowGuard guard_window(window);
  ASSERT_NE(window.Create(nullptr, L"", WS_POPUP, 0, 0, 0, 50, 50), nullptr);
  EXPECT_EQ(window.SendMessageW(kPing), 42);
  window.messages.clear();
  EXPECT_TRUE(window.PostMessageW(kPing));
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  EXPECT_TRUE(window.Saw(kPing));
  // Close posts nothing without a window.
  ProbeWindow none;
  none.Close(1);
  EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
}

}  // namespace
