// The pixel and window helpers that end-to-end tests judge the program by.
#include "tests/support/WindowProbe.h"

#include <gtest/gtest.h>

#include "tests/support/TestProcess.h"

namespace {

// A top-level window of this process filled with one colour by its class
// brush, so the screen must show exactly that colour inside it.
class SolidWindow {
 public:
  SolidWindow(COLORREF colour, int x, int y, int width, int height)
      : m_brush(::CreateSolidBrush(colour)) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = m_brush;
    windowClass.lpszClassName = L"TalmicProbeSolid";
    ::RegisterClassW(&windowClass);
    m_window =
        ::CreateWindowExW(WS_EX_TOPMOST, L"TalmicProbeSolid", L"probe", WS_POPUP | WS_VISIBLE, x, y,
                          width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    ::UpdateWindow(m_window);
    PumpFor(300);
  }
  ~SolidWindow() {
    ::DestroyWindow(m_window);
    ::UnregisterClassW(L"TalmicProbeSolid", ::GetModuleHandleW(nullptr));
    ::DeleteObject(m_brush);
  }

  HWND Handle() const { return m_window; }

  // Lets the window system map and paint the window.
  static void PumpFor(DWORD milliseconds) {
    const ULONGLONG until = ::GetTickCount64() + milliseconds;
    MSG msg;
    while (::GetTickCount64() < until) {
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
      ::Sleep(10);
    }
  }

 private:
  HBRUSH m_brush;
  HWND m_window = nullptr;
};

TEST(WindowProbe, CapturesWhatTheScreenShowsOfAWindow) {
  struct Case {
    const char* name;
    COLORREF colour;  // 0x00BBGGRR, as GDI takes it
    uint32_t seen;    // 0x00RRGGBB, as the capture gives it
  };
  const Case cases[] = {
      {"red", RGB(255, 0, 0), 0xFF0000},
      {"blue-green", RGB(0, 0x80, 0xC0), 0x0080C0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SolidWindow window(c.colour, 40, 60, 160, 90);
    ASSERT_NE(window.Handle(), nullptr);
    // The display maps the window a moment after it is shown; the centre
    // tells when the screen holds it.
    test::Pixels pixels;
    const ULONGLONG deadline = ::GetTickCount64() + 5000;
    do {
      SolidWindow::PumpFor(20);
      pixels = test::CaptureWindow(window.Handle());
    } while ((pixels.width != 160 || pixels.height != 90 || pixels.At(80, 45) != c.seen) &&
             ::GetTickCount64() < deadline);
    ASSERT_EQ(pixels.width, 160);
    ASSERT_EQ(pixels.height, 90);
    // A solid brush fill is exact: every pixel, corners included.
    for (const auto& [x, y] : {std::pair{0, 0}, {159, 0}, {0, 89}, {159, 89}, {80, 45}}) {
      EXPECT_EQ(pixels.At(x, y), c.seen) << "at " << x << "," << y;
    }
  }
}

TEST(WindowProbe, ListsTheWindowsOfAProcess) {
  const DWORD self = ::GetCurrentProcessId();
  EXPECT_TRUE(test::TopLevelWindowsOf(self, true).empty());
  SolidWindow window(RGB(1, 2, 3), 0, 0, 20, 20);
  const std::vector<HWND> visible = test::TopLevelWindowsOf(self, true);
  ASSERT_EQ(visible.size(), 1u);
  EXPECT_EQ(visible[0], window.Handle());
  EXPECT_TRUE(test::TopLevelWindowsOf(self + 4000000, true).empty());
}

}  // namespace
