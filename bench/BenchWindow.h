// A plain visible top-level window for a benchmark to put the browser in.
#pragma once

#include <windows.h>

// A window whose client area is the given size, with the given style.
HWND MakeBenchWindow(DWORD style, int clientWidth, int clientHeight);
