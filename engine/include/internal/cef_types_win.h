// The Windows parts of the engine's C types: window and event handles, the
// process's start-up arguments and how a browser window is created.
#pragma once

#include <windows.h>

#include "include/internal/cef_string.h"

typedef HWND cef_window_handle_t;
typedef HCURSOR cef_cursor_handle_t;
typedef MSG* cef_event_handle_t;

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _cef_main_args_t {
  HINSTANCE instance;
} cef_main_args_t;

typedef struct _cef_window_info_t {
  // What CreateWindowEx receives for a windowed browser.
  DWORD ex_style;
  cef_string_t window_name;
  DWORD style;
  int x;
  int y;
  int width;
  int height;
  cef_window_handle_t parent_window;
  HMENU menu;

  // A browser without a window of its own paints through the client's
  // render handler instead.
  int windowless_rendering_enabled;
  int transparent_painting_enabled;

  // Set by the engine: the browser's own window.
  cef_window_handle_t window;
} cef_window_info_t;

#ifdef __cplusplus
}
#endif
