// A real top-level window served by a paint manager, for tests that drive
// controls through the window's message path: posted mouse and keyboard
// messages, real painting, pixels read back from the window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "toolkit/core/PaintManagerUI.h"

namespace test {

class SkinTestWindow {
 public:
  // A visible popup window (inactive) with a client area of the given
  // size at the given screen position.
  explicit SkinTestWindow(int width = 200, int height = 100, int x = 40, int y = 40,
                          DWORD exStyle = 0);
  ~SkinTestWindow();
  SkinTestWindow(const SkinTestWindow&) = delete;
  SkinTestWindow& operator=(const SkinTestWindow&) = delete;

  HWND Get() const { return m_window; }
  SkinUI::CPaintManagerUI& Manager() { return *m_manager; }

  // Seen before the paint manager; returning true marks a message handled.
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> onMessage;

  // Runs the thread's queue empty the way the program's loop does
  // (pre-translation first), painting what is due.  Timer messages are
  // dropped: tests send ticks themselves, so that no real timer can add
  // one.
  void Pump();
  // Paints what is invalid now, then pumps.
  void Paint();
  // Drops what is invalid without painting it.
  void Validate();
  // The bounding box of the invalid area; empty when nothing is.
  RECT UpdateRect() const;

  // A mouse message at a client point, posted as input would arrive.  The
  // real cursor stays at the window's bottom-right pixel, which tests
  // keep free of controls.
  void PostMouse(UINT message, int x, int y, WPARAM keys = 0);
  // A wheel turn at a client point (positive delta: away from the user).
  void PostWheel(int x, int y, int delta);
  void PostKey(UINT message, WPARAM key, LPARAM lParam = 0);

  // What the window's DC shows at a client point, 0x00RRGGBB.
  uint32_t Pixel(int x, int y) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_window = nullptr;
  // Where the real cursor rests, in client coordinates.
  POINT m_park = {};
  std::unique_ptr<SkinUI::CPaintManagerUI> m_manager;
};

// Holds the keys down in the thread's keyboard state (as GetKeyState sees
// them) for its lifetime.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<int> keys);
  ~HeldKeys();
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

 private:
  BYTE m_saved[256] = {};
};

}  // namespace test
