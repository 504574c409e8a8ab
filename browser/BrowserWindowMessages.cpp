#include "browser/BrowserWindowMessages.h"

HWND g_hMainWnd = nullptr;
HWND g_hBrowserWnd = nullptr;
