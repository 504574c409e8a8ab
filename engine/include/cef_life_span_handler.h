// A browser's birth and death, and the new windows pages ask for.
#pragma once

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/internal/cef_types.h"
#include "include/internal/cef_win.h"

class CefClient;

// Called on the browser process's UI thread unless said otherwise.
class CefLifeSpanHandler : public virtual CefBase {
 public:
  typedef cef_window_open_disposition_t WindowOpenDisposition;

  // A page asks for a new window, on the IO thread.  Returning true cancels
  // it.  Otherwise the engine opens it with windowInfo, client and settings,
  // which the client may change, as it may set *no_javascript_access to
  // keep the opener's script out of the new window.
  virtual bool OnBeforePopup(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                             const CefString& /*target_url*/,
                             const CefString& /*target_frame_name*/,
                             WindowOpenDisposition /*target_disposition*/, bool /*user_gesture*/,
                             const CefPopupFeatures& /*popupFeatures*/,
                             CefWindowInfo& /*windowInfo*/, CefRefPtr<CefClient>& /*client*/,
                             CefBrowserSettings& /*settings*/, bool* /*no_javascript_access*/) {
    return false;
  }
  virtual void OnAfterCreated(CefRefPtr<CefBrowser> /*browser*/) {}
  // True when the client ran a modal loop of its own for the browser.
  virtual bool RunModal(CefRefPtr<CefBrowser> /*browser*/) { return false; }
  // The browser is about to close.  False lets the engine close its window
  // (the default); true means the client closes it.
  virtual bool DoClose(CefRefPtr<CefBrowser> /*browser*/) { return false; }
  // The last call for the browser; release every reference to it here.
  virtual void OnBeforeClose(CefRefPtr<CefBrowser> /*browser*/) {}
};
