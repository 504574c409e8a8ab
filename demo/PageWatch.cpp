#include "demo/PageWatch.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>

#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "util/UniqueHandle.h"

namespace demo {

namespace {

// The login page's brand panel colour (#0f4c81).
constexpr int kBrandRed = 0x0f;
constexpr int kBrandGreen = 0x4c;
constexpr int kBrandBlue = 0x81;

struct MainWindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK ConsiderTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<MainWindowSearch*>(parameter);
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  if (std::wstring(className) != L"CBrowserWnd" || !::IsWindowVisible(window)) return TRUE;
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (search->processId != 0 && owner != search->processId) return TRUE;
  search->found = window;
  return FALSE;
}

// Top-down 32-bit pixels of a window-relative rectangle, read from the
// screen or from the window's own surface.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
  CGdiObject bitmap;
};

Capture Grab(HDC source, int x, int y, int width, int height) {
  Capture capture;
  if (width <= 0 || height <= 0) return capture;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  CGdiObject bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  CMemoryDc memory(::CreateCompatibleDC(source));
  if (!bitmap || !memory || bits == nullptr) return capture;
  {
    const CSelectObject selected(memory.Get(), bitmap.Get());
    if (!::BitBlt(memory.Get(), 0, 0, width, height, source, x, y, SRCCOPY)) return capture;
    ::GdiFlush();
  }
  const auto* first = static_cast<const uint32_t*>(bits);
  capture.pixels.assign(first, first + static_cast<size_t>(width) * height);
  for (uint32_t& pixel : capture.pixels) pixel &= 0x00FFFFFFu;
  capture.width = width;
  capture.height = height;
  capture.bitmap = std::move(bitmap);
  return capture;
}

bool IsBrand(uint32_t pixel) {
  // JPEG frames from the browser are not exact; a small tolerance covers
  // their rounding.
  const int red = static_cast<int>((pixel >> 16) & 0xFF);
  const int green = static_cast<int>((pixel >> 8) & 0xFF);
  const int blue = static_cast<int>(pixel & 0xFF);
  return std::abs(red - kBrandRed) <= 10 && std::abs(green - kBrandGreen) <= 10 &&
         std::abs(blue - kBrandBlue) <= 10;
}

// Nine in ten pixels of the strip in the brand colour: a caret or a line of
// text crossing it does not matter.
bool IsBrandStrip(const std::vector<uint32_t>& strip) {
  if (strip.empty()) return false;
  size_t brand = 0;
  for (uint32_t pixel : strip) brand += IsBrand(pixel) ? 1 : 0;
  return brand * 10 >= strip.size() * 9;
}

// The strip looked at: down the left edge, away from the corners.
constexpr int kStripLeft = 4;
constexpr int kStripWidth = 8;
constexpr int kSmallestView = 32;

// GDI+ for the one call that writes a PNG file.
class GdiPlusSession {
 public:
  GdiPlusSession() {
    Gdiplus::GdiplusStartupInput input;
    m_ok = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiPlusSession() {
    if (m_ok) Gdiplus::GdiplusShutdown(m_token);
  }
  GdiPlusSession(const GdiPlusSession&) = delete;
  GdiPlusSession& operator=(const GdiPlusSession&) = delete;
  bool IsOk() const { return m_ok; }

 private:
  ULONG_PTR m_token = 0;
  bool m_ok = false;
};

}  // namespace

HWND FindMainWindow(DWORD processId) {
  MainWindowSearch search = {processId, nullptr};
  ::EnumWindows(ConsiderTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindBrowserView(HWND mainWindow) {
  if (mainWindow == nullptr) return nullptr;
  return ::FindWindowExW(mainWindow, nullptr, L"CefBrowserWindow", nullptr);
}

bool ShowsDemoPage(HWND browserView) {
  if (browserView == nullptr || !::IsWindowVisible(browserView)) return false;
  // What is on screen of the browser window: the part its top-level window
  // does not cut off.
  RECT view = {}, top = {}, shown = {};
  ::GetWindowRect(browserView, &view);
  ::GetWindowRect(::GetAncestor(browserView, GA_ROOT), &top);
  if (!::IntersectRect(&shown, &view, &top)) return false;
  const int height = shown.bottom - shown.top;
  if (shown.right - shown.left < kSmallestView || height < kSmallestView) return false;
  // A strip down the left edge, away from the corners: first as the screen
  // shows it, then as the window's own surface holds it.  A skinned main
  // window may leave its children's surfaces unreadable, and on a shared
  // display another program's window may lie over this one; either way
  // one of the two is the page itself.
  {
    const CWindowDc screen(nullptr);
    if (screen && IsBrandStrip(Grab(screen.Get(), shown.left + kStripLeft, shown.top + height / 4,
                                    kStripWidth, height / 2)
                                   .pixels)) {
      return true;
    }
  }
  const CWindowDc own(browserView);
  return own && IsBrandStrip(Grab(own.Get(), shown.left - view.left + kStripLeft,
                                  shown.top - view.top + height / 4, kStripWidth, height / 2)
                                 .pixels);
}

bool ShowsDemoPage(int width, int height, const uint32_t* pixels) {
  if (pixels == nullptr || width < kSmallestView || height < kSmallestView) return false;
  std::vector<uint32_t> strip;
  for (int y = height / 4; y < height / 4 + height / 2; ++y) {
    for (int x = kStripLeft; x < kStripLeft + kStripWidth; ++x) {
      strip.push_back(pixels[static_cast<size_t>(y) * width + x] & 0x00FFFFFFu);
    }
  }
  return IsBrandStrip(strip);
}

bool SaveScreenshot(HWND window, const std::wstring& path) {
  RECT frame = {};
  if (window == nullptr || !::GetWindowRect(window, &frame)) return false;
  const CWindowDc screen(nullptr);
  if (!screen) return false;
  Capture capture =
      Grab(screen.Get(), frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
  if (capture.pixels.empty()) return false;
  const GdiPlusSession session;
  if (!session.IsOk()) return false;
  // The PNG encoder's class id, fixed by GDI+.
  const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  Gdiplus::Bitmap bitmap(static_cast<HBITMAP>(capture.bitmap.Get()), nullptr);
  return bitmap.GetLastStatus() == Gdiplus::Ok &&
         bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

}  // namespace demo
