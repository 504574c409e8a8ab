#include "src/BrowserView.h"

#include <windows.h>
#include <windowsx.h>
#include <imm.h>

#include <atomic>
#include <cmath>

#include "src/KeyNames.h"
#include "src/TaskThread.h"
#include "util/TextUtil.h"

namespace engine {
namespace {

// The engine's window class, by the name the engine has always used for it.
const wchar_t kViewClass[] = L"CefBrowserWindow";
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 100;
// One notch of a wheel (120 units) scrolls this many CSS pixels, as the
// browser does for a real wheel.
constexpr double kPixelsPerNotch = 100.0;

// The DPI messages, which older headers lack.
constexpr UINT kDpiChanged = 0x02E0;
constexpr UINT kDpiChangedAfterParent = 0x02E3;

std::atomic<unsigned long long> g_picturesShown{0};

// The DPI the window is shown at, as the program's DPI awareness makes it:
// 96 for a program that is not aware, the system's for one that is, the
// monitor's for one aware per monitor.
UINT DpiOf(HWND window) {
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const UINT dpi = dpiForWindow != nullptr && window != nullptr ? dpiForWindow(window) : 0;
  return dpi != 0 ? dpi : 96;
}

// Device pixels per CSS pixel at a DPI; Windows has no DPI below 96.
double ScaleFor(UINT dpi) { return dpi > 96 ? dpi / 96.0 : 1.0; }

int Modifiers() {
  int modifiers = 0;
  if (::GetKeyState(VK_MENU) < 0) modifiers |= 1;
  if (::GetKeyState(VK_CONTROL) < 0) modifiers |= 2;
  if (::GetKeyState(VK_LWIN) < 0 || ::GetKeyState(VK_RWIN) < 0) modifiers |= 4;
  if (::GetKeyState(VK_SHIFT) < 0) modifiers |= 8;
  return modifiers;
}

int ButtonsDown(WPARAM keys) {
  int buttons = 0;
  if (keys & MK_LBUTTON) buttons |= 1;
  if (keys & MK_RBUTTON) buttons |= 2;
  if (keys & MK_MBUTTON) buttons |= 4;
  return buttons;
}

const char* ButtonName(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return "left";
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return "right";
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return "middle";
    default:
      return "none";
  }
}

const wchar_t* CursorForCss(const std::string& css) {
  if (css == "pointer") return IDC_HAND;
  if (css == "text" || css == "vertical-text") return IDC_IBEAM;
  if (css == "wait") return IDC_WAIT;
  if (css == "progress") return IDC_APPSTARTING;
  if (css == "crosshair") return IDC_CROSS;
  if (css == "move" || css == "all-scroll") return IDC_SIZEALL;
  if (css == "not-allowed" || css == "no-drop") return IDC_NO;
  if (css == "help") return IDC_HELP;
  if (css == "ew-resize" || css == "col-resize" || css == "e-resize" || css == "w-resize") {
    return IDC_SIZEWE;
  }
  if (css == "ns-resize" || css == "row-resize" || css == "n-resize" || css == "s-resize") {
    return IDC_SIZENS;
  }
  if (css == "nwse-resize" || css == "nw-resize" || css == "se-resize") return IDC_SIZENWSE;
  if (css == "nesw-resize" || css == "ne-resize" || css == "sw-resize") return IDC_SIZENESW;
  return IDC_ARROW;
}

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterViewClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = ViewProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kViewClass;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

struct BrowserView::Impl {
  explicit Impl(Host& h) : host(h) {}

  Host& host;
  HWND window = nullptr;
  std::shared_ptr<const FramePicture> picture;
  // The picture stretched to the window, made once for each picture that
  // needs it and kept for the paints that follow.  The system's own
  // smooth stretch took 110 ms for one moving picture at 150 % under Wine,
  // on this thread, for every paint.
  FramePicture stretched;
  const FramePicture* stretchedFrom = nullptr;
  unsigned long long pictureTick = 0;
  HCURSOR cursor = ::LoadCursorW(nullptr, IDC_ARROW);
  int clickCount = 1;
  double scale = 1.0;

  double Css(int devicePixels) const { return devicePixels / scale; }

  // The device pixels a picture covers: the CSS pixels it spans at this
  // window's scale.  A picture at another resolution than the window's (a
  // moving one may come at one pixel per CSS pixel) is stretched to it, so
  // that the page always fills the window; exact pictures are one for one.
  SIZE DrawnSize(const FramePicture& shown) const {
    SIZE size = {shown.width, shown.height};
    if (shown.cssWidth <= 0) return size;
    const double ratio = shown.cssWidth * scale / shown.width;
    if (std::fabs(ratio - 1.0) * shown.width < 1.0) return size;
    size.cx = static_cast<LONG>(std::lround(shown.width * ratio));
    size.cy = static_cast<LONG>(std::lround(shown.height * ratio));
    return size;
  }

  // The window now shows at another DPI: the page is laid out and drawn
  // anew at its scale.
  void ChangeScale(UINT dpi) {
    const double changed = ScaleFor(dpi);
    if (changed == scale) return;
    scale = changed;
    RECT client = {};
    ::GetClientRect(window, &client);
    host.ViewResized(client.right, client.bottom);
    ::InvalidateRect(window, nullptr, FALSE);
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    RECT client;
    ::GetClientRect(window, &client);
    int covered = 0;
    int coveredHeight = 0;
    if (picture && picture->width > 0 && picture->height > 0) {
      const SIZE size = DrawnSize(*picture);
      const FramePicture* shown = picture.get();
      if (size.cx != picture->width || size.cy != picture->height) {
        if (stretchedFrom != picture.get() || stretched.width != size.cx ||
            stretched.height != size.cy) {
          stretchedFrom =
              ScaleFramePicture(*picture, size.cx, size.cy, stretched) ? picture.get() : nullptr;
        }
        if (stretchedFrom == picture.get()) shown = &stretched;
      } else if (stretched.pixels) {
        // An exact picture needs no copy; the window's worth of memory
        // goes until a moving picture needs it again.
        stretched = FramePicture();
        stretchedFrom = nullptr;
      }
      BITMAPINFO info = {};
      info.bmiHeader.biSize = sizeof(info.bmiHeader);
      info.bmiHeader.biWidth = shown->width;
      info.bmiHeader.biHeight = -shown->height;  // top-down rows
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      if (shown->width == size.cx && shown->height == size.cy) {
        ::SetDIBitsToDevice(
            dc, 0, 0, static_cast<DWORD>(shown->width), static_cast<DWORD>(shown->height), 0, 0, 0,
            static_cast<UINT>(shown->height), shown->pixels.data(), &info, DIB_RGB_COLORS);
      } else {
        // Only when no stretched copy could be had (no memory for it).
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchDIBits(dc, 0, 0, size.cx, size.cy, 0, 0, shown->width, shown->height,
                        shown->pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
      }
      covered = size.cx;
      coveredHeight = size.cy;
    }
    // What the picture does not cover yet (the window has just grown) is
    // shown as a blank page until the page's next picture arrives.
    HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    if (covered < client.right) {
      const RECT right = {covered, 0, client.right, client.bottom};
      ::FillRect(dc, &right, white);
    }
    if (coveredHeight < client.bottom) {
      const RECT below = {0, coveredHeight, covered < client.right ? covered : client.right,
                          client.bottom};
      ::FillRect(dc, &below, white);
    }
    ::EndPaint(window, &paint);
  }

  void Mouse(const char* type, UINT message, WPARAM wParam, LPARAM lParam) {
    Json::Value params(Json::objectValue);
    params["type"] = type;
    params["x"] = Css(GET_X_LPARAM(lParam));
    params["y"] = Css(GET_Y_LPARAM(lParam));
    params["modifiers"] = Modifiers();
    params["buttons"] = ButtonsDown(wParam);
    const char* button = ButtonName(message);
    if (message == WM_MOUSEMOVE) {
      button = (wParam & MK_LBUTTON)   ? "left"
               : (wParam & MK_RBUTTON) ? "right"
               : (wParam & MK_MBUTTON) ? "middle"
                                       : "none";
    }
    params["button"] = button;
    if (message != WM_MOUSEMOVE) params["clickCount"] = clickCount;
    host.SendInput("Input.dispatchMouseEvent", params);
  }

  void Wheel(UINT message, WPARAM wParam, LPARAM lParam) {
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(window, &point);
    const double notches = GET_WHEEL_DELTA_WPARAM(wParam) / static_cast<double>(WHEEL_DELTA);
    Json::Value params(Json::objectValue);
    params["type"] = "mouseWheel";
    params["x"] = Css(point.x);
    params["y"] = Css(point.y);
    params["modifiers"] = Modifiers();
    params["deltaX"] = message == WM_MOUSEHWHEEL ? notches * kPixelsPerNotch : 0.0;
    params["deltaY"] = message == WM_MOUSEWHEEL ? -notches * kPixelsPerNotch : 0.0;
    host.SendInput("Input.dispatchMouseEvent", params);
  }

  void Key(const char* type, WPARAM wParam, LPARAM lParam) {
    const bool extended = (lParam & (1 << 24)) != 0;
    const KeyNames names = KeyNamesForVirtualKey(static_cast<unsigned int>(wParam), extended);
    Json::Value params(Json::objectValue);
    params["type"] = type;
    params["windowsVirtualKeyCode"] = static_cast<int>(wParam);
    params["nativeVirtualKeyCode"] = static_cast<int>(wParam);
    params["modifiers"] = Modifiers();
    params["autoRepeat"] = (lParam & (1 << 30)) != 0 && std::string(type) != "keyUp";
    if (!names.key.empty()) params["key"] = names.key;
    if (!names.code.empty()) params["code"] = names.code;
    host.SendInput("Input.dispatchKeyEvent", params);
  }

  void Text(const std::wstring& text, bool typed) {
    const std::string utf8 = WideToUtf8(text);
    if (utf8.empty()) return;
    Json::Value params(Json::objectValue);
    if (typed) {
      params["type"] = "char";
      params["text"] = utf8;
      params["unmodifiedText"] = utf8;
      params["key"] = utf8;
      params["modifiers"] = Modifiers();
      host.SendInput("Input.dispatchKeyEvent", params);
    } else {
      params["text"] = utf8;
      host.SendInput("Input.insertText", params);
    }
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_PAINT:
        Paint();
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_SIZE:
        host.ViewResized(LOWORD(lParam), HIWORD(lParam));
        return 0;
      case WM_TIMER:
        if (wParam == kTickTimer) host.ViewTick();
        return 0;
      case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
          ::SetCursor(cursor);
          return TRUE;
        }
        break;
      case WM_MOUSEACTIVATE:
        // A click into the page gives it the keyboard, as clicking any
        // other control does.
        ::SetFocus(window);
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        clickCount = 1;
        ::SetFocus(window);
        ::SetCapture(window);
        Mouse("mousePressed", message, wParam, lParam);
        return 0;
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK:
        clickCount = 2;
        ::SetCapture(window);
        Mouse("mousePressed", message, wParam, lParam);
        return 0;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) ::ReleaseCapture();
        Mouse("mouseReleased", message, wParam, lParam);
        return 0;
      case WM_MOUSEMOVE:
        Mouse("mouseMoved", message, wParam, lParam);
        return 0;
      case WM_MOUSEWHEEL:
      case WM_MOUSEHWHEEL:
        Wheel(message, wParam, lParam);
        return 0;
      case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
      case WM_KEYDOWN:
        Key("rawKeyDown", wParam, lParam);
        return 0;
      case WM_KEYUP:
        Key("keyUp", wParam, lParam);
        return 0;
      case WM_SYSKEYDOWN:
        Key("rawKeyDown", wParam, lParam);
        break;  // the system still sees Alt+F4 and the menu keys
      case WM_SYSKEYUP:
        Key("keyUp", wParam, lParam);
        break;
      case WM_CHAR:
        // Control characters are the text of keys that act (Backspace,
        // Tab, Ctrl+letter), which their key events already carry; only
        // Enter also types, as forms expect.
        if (wParam >= 0x20 || wParam == L'\r') {
          Text(std::wstring(1, static_cast<wchar_t>(wParam)), true);
        }
        return 0;
      case WM_IME_COMPOSITION:
        if (lParam & GCS_RESULTSTR) {
          // The finished text of an input method goes in as a whole, not
          // as one typed character after another.
          if (HIMC context = ::ImmGetContext(window)) {
            const LONG bytes = ::ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
            if (bytes > 0) {
              std::wstring text(static_cast<size_t>(bytes) / sizeof(wchar_t), L'\0');
              ::ImmGetCompositionStringW(context, GCS_RESULTSTR, text.data(),
                                         static_cast<DWORD>(bytes));
              Text(text, false);
            }
            ::ImmReleaseContext(window, context);
            return 0;
          }
        }
        break;
      case kDpiChanged: {
        // A top-level view of a program aware of each monitor's DPI moved
        // to a monitor of another DPI: it takes the size the system
        // proposes for it there, and the page its scale.
        const auto* proposed = reinterpret_cast<const RECT*>(lParam);
        if (proposed != nullptr) {
          ::SetWindowPos(window, nullptr, proposed->left, proposed->top,
                         proposed->right - proposed->left, proposed->bottom - proposed->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ChangeScale(LOWORD(wParam));
        return 0;
      }
      case kDpiChangedAfterParent:
        // A child view follows its parent to another DPI.
        ChangeScale(DpiOf(window));
        return 0;
      case WM_CLOSE:
        if ((::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0) {
          host.ViewCloseRequested();
          return 0;
        }
        break;
      case WM_DESTROY:
        ::KillTimer(window, kTickTimer);
        break;
      case WM_NCDESTROY:
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window = nullptr;
        host.ViewDestroyed();
        return 0;
      default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
};

namespace {

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* impl = static_cast<BrowserView::Impl*>(create->lpCreateParams);
    impl->window = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(impl));
  }
  auto* impl = reinterpret_cast<BrowserView::Impl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (impl == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  // No fault of the engine may leave through the window procedure: what
  // nothing handled ends the program through its crash filter.
  try {
    return impl->Handle(message, wParam, lParam);
  } catch (...) {
    RaiseUnhandledException();
  }
}

}  // namespace

BrowserView::BrowserView(Host& host) : m_impl(std::make_unique<Impl>(host)) {}

BrowserView::~BrowserView() { Destroy(); }

bool BrowserView::Create(const Placement& placement) {
  if (m_impl->window != nullptr || !RegisterViewClass()) return false;
  DWORD style = placement.style;
  if (placement.topLevel) {
    if (style == 0) style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE;
  } else {
    style |= WS_CHILD;
  }
  const int width =
      placement.width > 0 ? placement.width : (placement.topLevel ? CW_USEDEFAULT : 0);
  const int height =
      placement.height > 0 ? placement.height : (placement.topLevel ? CW_USEDEFAULT : 0);
  const int x =
      placement.topLevel && placement.x == 0 && placement.y == 0 ? CW_USEDEFAULT : placement.x;
  const int y =
      placement.topLevel && placement.x == 0 && placement.y == 0 ? CW_USEDEFAULT : placement.y;
  const HWND window = ::CreateWindowExW(placement.exStyle, kViewClass, placement.title.c_str(),
                                        style, x, y, width, height, placement.parent, nullptr,
                                        ::GetModuleHandleW(nullptr), m_impl.get());
  if (window == nullptr) return false;
  m_impl->scale = ScaleFor(DpiOf(window));
  ::SetTimer(window, kTickTimer, kTickMs, nullptr);
  return true;
}

void BrowserView::Destroy() {
  if (m_impl->window != nullptr) ::DestroyWindow(m_impl->window);
}

HWND BrowserView::Window() const { return m_impl->window; }

void BrowserView::ShowPicture(std::shared_ptr<const FramePicture> picture) {
  if (!picture) return;
  ++g_picturesShown;
  m_impl->picture = std::move(picture);
  // A new picture may be given the place of the one the stretched copy was
  // made from.
  m_impl->stretchedFrom = nullptr;
  m_impl->pictureTick = ::GetTickCount64();
  if (m_impl->window != nullptr) ::InvalidateRect(m_impl->window, nullptr, FALSE);
}

unsigned long long BrowserView::PicturesShown() { return g_picturesShown; }

unsigned long long BrowserView::LastPictureTick() const { return m_impl->pictureTick; }

void BrowserView::SetTitle(const std::wstring& title) {
  if (m_impl->window != nullptr) ::SetWindowTextW(m_impl->window, title.c_str());
}

void BrowserView::SetCursorKind(const std::string& cssCursor) {
  m_impl->cursor = ::LoadCursorW(nullptr, CursorForCss(cssCursor));
  POINT point;
  if (m_impl->window != nullptr && ::GetCursorPos(&point) &&
      ::WindowFromPoint(point) == m_impl->window) {
    ::SetCursor(m_impl->cursor);
  }
}

void BrowserView::Focus() {
  if (m_impl->window != nullptr) ::SetFocus(m_impl->window);
}

int BrowserView::Width() const {
  RECT client = {};
  if (m_impl->window != nullptr) ::GetClientRect(m_impl->window, &client);
  return client.right;
}

int BrowserView::Height() const {
  RECT client = {};
  if (m_impl->window != nullptr) ::GetClientRect(m_impl->window, &client);
  return client.bottom;
}

double BrowserView::DeviceScale() const { return m_impl->scale; }

}  // namespace engine
