#include "tests/toolkit/core/SkinTestWindow.h"

#include "util/UniqueHandle.h"

namespace test {
namespace {

constexpr wchar_t kClassName[] = L"SkinTestWindow";

void RegisterClassOnce(WNDPROC procedure) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  registered = ::RegisterClassExW(&wc) != 0;
}

}  // namespace

SkinTestWindow::SkinTestWindow(int width, int height, int x, int y, DWORD exStyle)
    : m_manager(new SkinUI::CPaintManagerUI) {
  RegisterClassOnce(WindowProc);
  m_window = ::CreateWindowExW(exStyle | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"skin test",
                               WS_POPUP, x, y, width, height, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), this);
  if (m_window == nullptr) return;
  m_manager->Init(m_window);
  ::ShowWindow(m_window, SW_SHOWNOACTIVATE);
  // The real cursor rests inside the window, so that mouse tracking never
  // sees it leave; the moves the system reports for it are dropped.
  m_park = POINT{width - 1, height - 1};
  POINT screen = m_park;
  ::ClientToScreen(m_window, &screen);
  ::SetCursorPos(screen.x, screen.y);
  Pump();
}

SkinTestWindow::~SkinTestWindow() {
  // The manager lets go of the window's DC and its tooltip window, which
  // the window owns, before the window goes.
  m_manager.reset();
  if (m_window != nullptr) ::DestroyWindow(m_window);
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

LRESULT CALLBACK SkinTestWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<SkinTestWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) {
    if (message == WM_MOUSEMOVE && lParam == MAKELPARAM(self->m_park.x, self->m_park.y)) return 0;
    LRESULT result = 0;
    if (self->onMessage && self->onMessage(message, wParam, lParam, result)) return result;
    if (self->m_manager && self->m_manager->GetPaintWindow() == window &&
        self->m_manager->MessageHandler(message, wParam, lParam, result)) {
      return result;
    }
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void SkinTestWindow::Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    // Ticks of real timers are dropped: tests send the ticks they count.
    if (msg.message == WM_TIMER) continue;
    if (!SkinUI::CPaintManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

void SkinTestWindow::Paint() {
  ::UpdateWindow(m_window);
  Pump();
  ::UpdateWindow(m_window);
}

void SkinTestWindow::Validate() { ::ValidateRect(m_window, nullptr); }

RECT SkinTestWindow::UpdateRect() const {
  RECT rc = {};
  if (!::GetUpdateRect(m_window, &rc, FALSE)) ::SetRectEmpty(&rc);
  return rc;
}

void SkinTestWindow::PostMouse(UINT message, int x, int y, WPARAM keys) {
  ::PostMessageW(m_window, message, keys, MAKELPARAM(x, y));
}

void SkinTestWindow::PostWheel(int x, int y, int delta) {
  POINT screen = {x, y};
  ::ClientToScreen(m_window, &screen);
  ::PostMessageW(m_window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)),
                 MAKELPARAM(screen.x, screen.y));
}

void SkinTestWindow::PostKey(UINT message, WPARAM key, LPARAM lParam) {
  ::PostMessageW(m_window, message, key, lParam);
}

uint32_t SkinTestWindow::Pixel(int x, int y) const {
  CWindowDc dc(m_window);
  ::GdiFlush();
  COLORREF colour = ::GetPixel(dc.Get(), x, y);
  if (colour == CLR_INVALID) return 0xDEADBEEF;
  return (static_cast<uint32_t>(GetRValue(colour)) << 16) |
         (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

HeldKeys::HeldKeys(std::initializer_list<int> keys) {
  ::GetKeyboardState(m_saved);
  BYTE state[256];
  ::GetKeyboardState(state);
  for (int key : keys) state[key] |= 0x80;
  ::SetKeyboardState(state);
}

HeldKeys::~HeldKeys() { ::SetKeyboardState(m_saved); }

}  // namespace test
