// Painting of a browser that has no window of its own (windowless
// rendering).  The engine's browsers always have a window, so it calls none
// of these.
#pragma once

#include <vector>

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/internal/cef_types.h"
#include "include/internal/cef_types_wrappers.h"

class CefRenderHandler : public virtual CefBase {
 public:
  typedef cef_paint_element_type_t PaintElementType;
  typedef std::vector<CefRect> RectList;

  virtual bool GetRootScreenRect(CefRefPtr<CefBrowser> /*browser*/, CefRect& /*rect*/) {
    return false;
  }
  // The view's rectangle relative to the screen.
  virtual bool GetViewRect(CefRefPtr<CefBrowser> browser, CefRect& rect) = 0;
  virtual bool GetScreenPoint(CefRefPtr<CefBrowser> /*browser*/, int /*viewX*/, int /*viewY*/,
                              int& /*screenX*/, int& /*screenY*/) {
    return false;
  }
  virtual void OnPopupShow(CefRefPtr<CefBrowser> /*browser*/, bool /*show*/) {}
  virtual void OnPopupSize(CefRefPtr<CefBrowser> /*browser*/, const CefRect& /*rect*/) {}
  // buffer holds width * height BGRA pixels, top row first.
  virtual void OnPaint(CefRefPtr<CefBrowser> browser, PaintElementType type,
                       const RectList& dirtyRects, const void* buffer, int width, int height) = 0;
  virtual void OnScrollOffsetChanged(CefRefPtr<CefBrowser> /*browser*/) {}
};
