// The Windows wrappers: handles, the process's start-up arguments, and how a
// browser's window is created.
#pragma once

#include <windows.h>

#include "include/internal/cef_types_win.h"
#include "include/internal/cef_types_wrappers.h"

typedef cef_window_handle_t CefWindowHandle;
typedef cef_cursor_handle_t CefCursorHandle;
typedef cef_event_handle_t CefEventHandle;

struct CefMainArgsTraits {
  typedef cef_main_args_t struct_type;
  static inline void init(struct_type*) {}
  static inline void clear(struct_type*) {}
  static inline void set(const struct_type* src, struct_type* target, bool) {
    target->instance = src->instance;
  }
};

// The arguments the process was started with: on Windows, its instance.
class CefMainArgs : public CefStructBase<CefMainArgsTraits> {
 public:
  typedef CefStructBase<CefMainArgsTraits> parent;
  CefMainArgs() : parent() {}
  explicit CefMainArgs(const cef_main_args_t& r) : parent(r) {}
  explicit CefMainArgs(const CefMainArgs& r) : parent(r) {}
  explicit CefMainArgs(HINSTANCE hInstance) : parent() { instance = hInstance; }
};

struct CefWindowInfoTraits {
  typedef cef_window_info_t struct_type;

  static inline void init(struct_type*) {}

  static inline void clear(struct_type* s) { cef_string_clear(&s->window_name); }

  static inline void set(const struct_type* src, struct_type* target, bool copy) {
    if (src == target) return;
    target->ex_style = src->ex_style;
    CefStructCopyString(src->window_name, &target->window_name, copy);
    target->style = src->style;
    target->x = src->x;
    target->y = src->y;
    target->width = src->width;
    target->height = src->height;
    target->parent_window = src->parent_window;
    target->menu = src->menu;
    target->windowless_rendering_enabled = src->windowless_rendering_enabled;
    target->transparent_painting_enabled = src->transparent_painting_enabled;
    target->window = src->window;
  }
};

// How a browser's window is created: a child of an application window, a
// popup window of its own, or no window at all.
class CefWindowInfo : public CefStructBase<CefWindowInfoTraits> {
 public:
  typedef CefStructBase<CefWindowInfoTraits> parent;
  CefWindowInfo() : parent() {}
  explicit CefWindowInfo(const cef_window_info_t& r) : parent(r) {}
  explicit CefWindowInfo(const CefWindowInfo& r) : parent(r) {}

  // A visible child window filling windowRect of parent (client
  // coordinates).
  void SetAsChild(CefWindowHandle parent, RECT windowRect) {
    style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE;
    parent_window = parent;
    x = windowRect.left;
    y = windowRect.top;
    width = windowRect.right - windowRect.left;
    height = windowRect.bottom - windowRect.top;
  }

  // A visible top-level window owned by parent, placed by the system.
  void SetAsPopup(CefWindowHandle parent, const CefString& windowName) {
    style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE;
    parent_window = parent;
    x = CW_USEDEFAULT;
    y = CW_USEDEFAULT;
    width = CW_USEDEFAULT;
    height = CW_USEDEFAULT;
    cef_string_copy(windowName.c_str(), windowName.length(), &window_name);
  }

  // No window: the browser paints through the client's render handler.
  void SetAsWindowless(CefWindowHandle parent, bool transparent) {
    windowless_rendering_enabled = TRUE;
    parent_window = parent;
    transparent_painting_enabled = transparent;
  }
};
