// The main window's private messages, which the browser code sends it, and
// the process-wide handles of the main window and of the browser's own
// child window.
#pragma once

#include <windows.h>

// From the browser event handler, carrying the browser's window handle.
constexpr UINT WM_APP_ADDRESS_CHANGED = WM_APP + 1;  // sent; lParam: UTF-16 address or 0
constexpr UINT WM_APP_LOADING_STATE = WM_APP + 2;    // posted; lParam: back << 16 | forward
constexpr UINT WM_APP_TITLE_CHANGED = WM_APP + 3;    // sent; lParam: UTF-16 title
constexpr UINT WM_APP_BROWSER_CREATED = WM_APP + 4;  // posted

// Accepted from any sender, or sent by the browser code as noted.
constexpr UINT WM_USER_RELAUNCH = WM_USER + 9;
constexpr UINT WM_USER_QUIT = WM_USER + 11;
constexpr UINT WM_USER_BROWSER_CLOSING = WM_USER + 13;  // posted by the event handler
constexpr UINT WM_USER_TITLE_COLOR = WM_USER + 16;      // posted; wParam: 0xAARRGGBB
constexpr UINT WM_USER_RESTORE_SIZE = WM_USER + 17;
constexpr UINT WM_USER_MAXIMIZE_FULL = WM_USER + 18;
// Sent by the browser code; wParam: UTF-8 text owned by the sender and
// registered with CSentWindowText, which is the only text ever read.
constexpr UINT WM_USER_TITLE_TEXT = WM_USER + 19;

// Set once the main window exists; the bridge's title requests go here.
extern HWND g_hMainWnd;
// The browser's child window, once the engine has created it.
extern HWND g_hBrowserWnd;
