#include "toolkit/core/WindowWnd.h"

#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// The window property that binds a window of a superclassed class to its
// object; the class's own procedure may use the user-data slot itself.
constexpr wchar_t kObjectProperty[] = L"WndX";

// Icon sizes are rounded up to a multiple of 16 pixels.
int IconSize(int metric) { return (::GetSystemMetrics(metric) + 15) & ~15; }

}  // namespace

CWindowWnd::CWindowWnd() : m_hWnd(nullptr), m_OldWndProc(::DefWindowProcW), m_bSubclassed(false) {}

HWND CWindowWnd::GetHWND() const { return m_hWnd; }

CWindowWnd::operator HWND() const { return m_hWnd; }

LPCWSTR CWindowWnd::GetSuperClassName() const { return nullptr; }

UINT CWindowWnd::GetClassStyle() const { return 0; }

bool CWindowWnd::RegisterWindowClass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = GetClassStyle();
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = CPaintManagerUI::GetInstance();
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = GetWindowClassName();
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass() {
  // The base class is a system class, or one of the module's own.
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  if (!::GetClassInfoExW(nullptr, GetSuperClassName(), &wc) &&
      !::GetClassInfoExW(CPaintManagerUI::GetInstance(), GetSuperClassName(), &wc)) {
    return false;
  }
  m_OldWndProc = wc.lpfnWndProc;
  wc.lpfnWndProc = ControlProc;
  wc.hInstance = CPaintManagerUI::GetInstance();
  wc.lpszClassName = GetWindowClassName();
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x,
                        int y, int cx, int cy, HMENU hMenu) {
  const bool registered =
      GetSuperClassName() != nullptr ? RegisterSuperclass() : RegisterWindowClass();
  if (!registered) return nullptr;
  // The window procedure binds the window to this object at WM_NCCREATE.
  // The object is not touched after creation: a window that fails in
  // WM_CREATE is destroyed inside this call, and its object may already
  // have deleted itself in OnFinalMessage.
  return ::CreateWindowExW(dwExStyle, GetWindowClassName(), pstrName, dwStyle, x, y, cx, cy,
                           hwndParent, hMenu, CPaintManagerUI::GetInstance(), this);
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                        const RECT& rc, HMENU hMenu) {
  return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left,
                rc.bottom - rc.top, hMenu);
}

HWND CWindowWnd::CreateSkinWindow(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle,
                                  DWORD dwExStyle) {
  return Create(hwndParent, pstrName, dwStyle, dwExStyle, 0, 0, 0, 0, nullptr);
}

HWND CWindowWnd::Subclass(HWND hWnd) {
  auto old = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
  if (old == nullptr) return nullptr;
  m_OldWndProc = old;
  m_bSubclassed = true;
  m_hWnd = hWnd;
  ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return m_hWnd;
}

void CWindowWnd::Unsubclass() {
  if (!::IsWindow(m_hWnd) || !m_bSubclassed) return;
  ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
  m_OldWndProc = ::DefWindowProcW;
  m_bSubclassed = false;
}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus) {
  if (!::IsWindow(m_hWnd)) return;
  ::ShowWindow(m_hWnd, bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal() {
  // The loop keeps its own copy of the handle: the object may delete itself
  // when its window is destroyed, and is not touched after that.
  const HWND hWnd = m_hWnd;
  if (!::IsWindow(hWnd)) return 0;
  UINT nRet = 0;
  const HWND hWndOwner = ::GetWindow(hWnd, GW_OWNER);
  ::ShowWindow(hWnd, SW_SHOWNORMAL);
  if (hWndOwner != nullptr) ::EnableWindow(hWndOwner, FALSE);
  MSG msg = {};
  bool quit = false;
  while (::IsWindow(hWnd)) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      break;
    }
    // Only an invalid argument makes GetMessage fail; it would fail again.
    if (got == -1) break;
    if (msg.message == WM_CLOSE && msg.hwnd == hWnd) {
      nRet = static_cast<UINT>(msg.wParam);
      if (hWndOwner != nullptr) ::EnableWindow(hWndOwner, TRUE);
      ::SetFocus(hWndOwner);
    }
    // The paint managers see the message first (accelerators, Tab and
    // shortcut keys).
    if (!CPaintManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  if (hWndOwner != nullptr) ::EnableWindow(hWndOwner, TRUE);
  ::SetFocus(hWndOwner);
  // The quit message was meant for the loop around this one as well.
  if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
  return nRet;
}

void CWindowWnd::CenterWindow() {
  if (!::IsWindow(m_hWnd)) return;
  RECT rcDlg = {};
  ::GetWindowRect(m_hWnd, &rcDlg);
  const HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
  const HWND hWndReference = hWndOwner != nullptr ? hWndOwner : m_hWnd;
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(::MonitorFromWindow(hWndReference, MONITOR_DEFAULTTONEAREST), &info)) {
    return;
  }
  const RECT rcArea = info.rcWork;
  RECT rcCenter = rcArea;
  if (hWndOwner != nullptr) ::GetWindowRect(hWndOwner, &rcCenter);

  const int width = rcDlg.right - rcDlg.left;
  const int height = rcDlg.bottom - rcDlg.top;
  int x = (rcCenter.left + rcCenter.right) / 2 - width / 2;
  int y = (rcCenter.top + rcCenter.bottom) / 2 - height / 2;
  if (x < rcArea.left) {
    x = rcArea.left;
  } else if (x + width > rcArea.right) {
    x = rcArea.right - width;
  }
  if (y < rcArea.top) {
    y = rcArea.top;
  } else if (y + height > rcArea.bottom) {
    y = rcArea.bottom - height;
  }
  ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes) {
  if (!::IsWindow(m_hWnd)) return;
  const int cx = IconSize(SM_CXICON);
  const int cy = IconSize(SM_CYICON);
  // Both icons are the large image; the window shrinks the small one.
  // Each replaced icon is destroyed once the window holds the new one.
  auto load = [&]() {
    return static_cast<HICON>(::LoadImageW(CPaintManagerUI::GetInstance(), MAKEINTRESOURCEW(nRes),
                                           IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
  };
  if (HICON icon = load()) {
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    m_hIcon.Reset(icon);
  }
  if (HICON icon = load()) {
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    m_hSmallIcon.Reset(icon);
  }
}

LRESULT CWindowWnd::SendMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::ResizeClient(int cx, int cy) {
  RECT rc = {};
  if (!::GetClientRect(m_hWnd, &rc)) return;
  if (cx != -1) rc.right = rc.left + cx;
  if (cy != -1) rc.bottom = rc.top + cy;
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
  const BOOL hasMenu = (style & WS_CHILD) == 0 && ::GetMenu(m_hWnd) != nullptr;
  ::AdjustWindowRectEx(&rc, style, hasMenu, exStyle);
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CWindowWnd::Close(UINT nRet) {
  if (::IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, nRet, 0);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND /*hWnd*/) {}

LRESULT CWindowWnd::Dispatch(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam,
                             LPARAM lParam) {
  try {
    return pThis->HandleMessage(uMsg, wParam, lParam);
  } catch (...) {
    // No exception may unwind into the system's frames.
    return ::CallWindowProcW(pThis->m_OldWndProc, hWnd, uMsg, wParam, lParam);
  }
}

LRESULT CWindowWnd::FinalMessage(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam,
                                 LPARAM lParam, bool bProperty) {
  // The previous procedure sees its last message while the window is still
  // bound; only then is the binding undone.
  const LRESULT result = ::CallWindowProcW(pThis->m_OldWndProc, hWnd, uMsg, wParam, lParam);
  if (bProperty) {
    if (pThis->m_bSubclassed) pThis->Unsubclass();
    // A property must be gone before its window is.
    ::RemovePropW(hWnd, kObjectProperty);
  } else {
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
    if (pThis->m_bSubclassed) pThis->Unsubclass();
  }
  pThis->m_hWnd = nullptr;
  try {
    pThis->OnFinalMessage(hWnd);
  } catch (...) {
  }
  return result;
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* pThis = nullptr;
  if (uMsg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    pThis = static_cast<CWindowWnd*>(create->lpCreateParams);
    if (pThis != nullptr) {
      pThis->m_hWnd = hWnd;
      ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
    }
  } else {
    pThis = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (uMsg == WM_NCDESTROY && pThis != nullptr) {
      return FinalMessage(pThis, hWnd, uMsg, wParam, lParam, false);
    }
  }
  if (pThis != nullptr) return Dispatch(pThis, hWnd, uMsg, wParam, lParam);
  return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* pThis = nullptr;
  if (uMsg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    pThis = static_cast<CWindowWnd*>(create->lpCreateParams);
    if (pThis != nullptr) {
      pThis->m_hWnd = hWnd;
      ::SetPropW(hWnd, kObjectProperty, static_cast<HANDLE>(pThis));
    }
  } else {
    pThis = static_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProperty));
    if (uMsg == WM_NCDESTROY && pThis != nullptr) {
      return FinalMessage(pThis, hWnd, uMsg, wParam, lParam, true);
    }
  }
  if (pThis != nullptr) return Dispatch(pThis, hWnd, uMsg, wParam, lParam);
  return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

}  // namespace SkinUI
