#include "bench/BenchWindow.h"

HWND MakeBenchWindow(DWORD style, int clientWidth, int clientHeight) {
  static const wchar_t kClassName[] = L"TalmicBenchWindow";
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  ::RegisterClassExW(&windowClass);
  RECT frame = {0, 0, clientWidth, clientHeight};
  ::AdjustWindowRect(&frame, style, FALSE);
  return ::CreateWindowExW(0, kClassName, L"bench", style | WS_VISIBLE, 0, 0,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}
