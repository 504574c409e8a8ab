#include "tests/support/WindowProbe.h"

#include "tests/support/TestProcess.h"

namespace test {
namespace {

struct WindowSearch {
  DWORD processId;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && (!search->visibleOnly || ::IsWindowVisible(window))) {
    search->found.push_back(window);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId, bool visibleOnly) {
  WindowSearch search{processId, visibleOnly, {}};
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const TestProcess& process, const std::wstring& className, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    // A window counts once it is shown: a dialog exists, hidden and
    // without its texts, for a moment before that.
    for (HWND window : TopLevelWindowsOf(process.Id(), true)) {
      wchar_t name[256] = {};
      ::GetClassNameW(window, name, 256);
      if (className.empty() || className == name) return window;
    }
    if (process.HasExited() || ::GetTickCount64() >= deadline) return nullptr;
    ::Sleep(50);
  }
}

Pixels CaptureWindow(HWND window) {
  Pixels pixels;
  RECT rect = {};
  if (!::GetWindowRect(window, &rect)) return pixels;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return pixels;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    pixels.width = width;
    pixels.height = height;
    const auto* source = static_cast<const uint32_t*>(bits);
    pixels.rgb.assign(source, source + static_cast<size_t>(width) * height);
    for (uint32_t& value : pixels.rgb) value &= 0x00FFFFFF;
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
  }
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

}  // namespace test
