// Results of finding text in a page.
#pragma once

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/internal/cef_types_wrappers.h"

// Called on the browser process's UI thread.
class CefFindHandler : public virtual CefBase {
 public:
  virtual void OnFindResult(CefRefPtr<CefBrowser> /*browser*/, int /*identifier*/, int /*count*/,
                            const CefRect& /*selectionRect*/, int /*activeMatchOrdinal*/,
                            bool /*finalUpdate*/) {}
};
