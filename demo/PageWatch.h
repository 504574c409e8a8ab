// Watching the client from outside, the way its user sees it: its main
// window appearing, the demo login page painted in its browser, and a
// picture of the window saved for whoever could not look.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace demo {

// The visible top-level window of class "CBrowserWnd" that a thread of the
// process owns (of any process when processId is 0); null when there is none.
HWND FindMainWindow(DWORD processId);

// The engine's browser window inside the main window; null before the
// engine has created it.
HWND FindBrowserView(HWND mainWindow);

// True when the browser window shows the demo login page: its brand panel,
// one solid colour, runs down the window's left edge.
bool ShowsDemoPage(HWND browserView);
// The same test on a picture of the whole page: top-down pixels, 0x00RRGGBB.
bool ShowsDemoPage(int width, int height, const uint32_t* pixels);

// Saves what the screen shows of the window as a PNG file.
bool SaveScreenshot(HWND window, const std::wstring& path);

}  // namespace demo
