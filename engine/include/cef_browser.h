// A browser (one page and its frames) and, in the browser process, the host
// that owns its window.
#pragma once

#include <vector>

#include "include/cef_base.h"
#include "include/cef_frame.h"
#include "include/cef_process_message.h"
#include "include/cef_request_context.h"
#include "include/internal/cef_types.h"
#include "include/internal/cef_win.h"

class CefBrowserHost;
class CefClient;

class CefBrowser : public virtual CefBase {
 public:
  // Browser process only.
  virtual CefRefPtr<CefBrowserHost> GetHost() = 0;
  virtual bool CanGoBack() = 0;
  virtual void GoBack() = 0;
  virtual bool CanGoForward() = 0;
  virtual void GoForward() = 0;
  virtual bool IsLoading() = 0;
  virtual void Reload() = 0;
  virtual void ReloadIgnoreCache() = 0;
  virtual void StopLoad() = 0;
  // The same number in every process for the same browser.
  virtual int GetIdentifier() = 0;
  virtual bool IsSame(CefRefPtr<CefBrowser> that) = 0;
  virtual bool IsPopup() = 0;
  virtual bool HasDocument() = 0;
  virtual CefRefPtr<CefFrame> GetMainFrame() = 0;
  virtual CefRefPtr<CefFrame> GetFocusedFrame() = 0;
  virtual CefRefPtr<CefFrame> GetFrame(int64 identifier) = 0;
  virtual CefRefPtr<CefFrame> GetFrame(const CefString& name) = 0;
  virtual size_t GetFrameCount() = 0;
  virtual void GetFrameIdentifiers(std::vector<int64>& identifiers) = 0;
  virtual void GetFrameNames(std::vector<CefString>& names) = 0;
  // Delivers message to the other process's handler for this browser
  // (the client's OnProcessMessageReceived in the browser process, the
  // render process handler's in a render process).  False when the message
  // cannot be sent; it is read-only on arrival.
  virtual bool SendProcessMessage(CefProcessId target_process,
                                  CefRefPtr<CefProcessMessage> message) = 0;
};

// The browser-process side of a browser: its window, its client, and the
// operations that act on the window.
class CefBrowserHost : public virtual CefBase {
 public:
  // Creates a browser; the client hears of it in OnAfterCreated.  False
  // when the creation could not even begin.  A null request context means
  // the global one.
  static bool CreateBrowser(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                            const CefString& url, const CefBrowserSettings& settings,
                            CefRefPtr<CefRequestContext> request_context);
  // The same, waiting until the browser exists; UI thread only.
  static CefRefPtr<CefBrowser> CreateBrowserSync(const CefWindowInfo& windowInfo,
                                                 CefRefPtr<CefClient> client, const CefString& url,
                                                 const CefBrowserSettings& settings,
                                                 CefRefPtr<CefRequestContext> request_context);

  virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
  // Asks the browser to close: the client's DoClose and OnBeforeClose
  // follow.  With force_close the page's unload handlers cannot stop it.
  virtual void CloseBrowser(bool force_close) = 0;
  virtual void SetFocus(bool focus) = 0;
  virtual CefWindowHandle GetWindowHandle() = 0;
  // The window of the browser that opened this one, for a popup.
  virtual CefWindowHandle GetOpenerWindowHandle() = 0;
  virtual CefRefPtr<CefClient> GetClient() = 0;
  virtual CefRefPtr<CefRequestContext> GetRequestContext() = 0;
  virtual double GetZoomLevel() = 0;
  virtual void SetZoomLevel(double zoomLevel) = 0;
  virtual void StartDownload(const CefString& url) = 0;
  virtual void Print() = 0;
  virtual bool IsWindowRenderingDisabled() = 0;
  // The window's size has changed; the page is laid out again.
  virtual void WasResized() = 0;
  virtual void WasHidden(bool hidden) = 0;
  virtual void NotifyScreenInfoChanged() = 0;
  virtual void Invalidate(cef_paint_element_type_t type) = 0;
};
