// Looking at a process's windows from outside: which top-level windows it
// has, waiting for one of a class, and reading back the pixels on screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace test {

class TestProcess;

// The top-level windows (visible or not) owned by threads of the process.
std::vector<HWND> TopLevelWindowsOf(DWORD processId, bool visibleOnly = false);

// Waits up to timeoutMs for a shown top-level window of the class (any
// class when empty) owned by the process; null when none came or the
// process ended.
HWND WaitForWindow(const TestProcess& process, const std::wstring& className, DWORD timeoutMs);

// Pixels of a screen rectangle, 0x00RRGGBB, top-down rows.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

// What the screen shows of a window (its whole rectangle).
Pixels CaptureWindow(HWND window);

}  // namespace test
