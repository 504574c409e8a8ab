// The client of every browser the main window creates: forwards the
// browser's events to that window as window messages, keeps every
// navigation inside the one browser, shows an error page for failed loads,
// suppresses the context menu and hands downloads to the save dialog.
//
// Every callback that acts runs on the engine's UI thread, never on the
// main window's; it reaches the window only through messages.
#pragma once

#include <windows.h>

#include <vector>

#include "include/base/cef_lock.h"
#include "include/cef_client.h"

class CefBrowserEventHandler : public CefClient,
                               public CefDisplayHandler,
                               public CefLoadHandler,
                               public CefLifeSpanHandler,
                               public CefDownloadHandler,
                               public CefRequestHandler,
                               public CefContextMenuHandler {
 public:
  // The owner window receives the handler's messages; it must outlive the
  // handler's browsers.
  explicit CefBrowserEventHandler(HWND owner);
  ~CefBrowserEventHandler() override;

  // CefClient.
  CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() override { return this; }
  CefRefPtr<CefDisplayHandler> GetDisplayHandler() override { return this; }
  CefRefPtr<CefDownloadHandler> GetDownloadHandler() override { return this; }
  CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() override { return this; }
  CefRefPtr<CefLoadHandler> GetLoadHandler() override { return this; }
  CefRefPtr<CefRequestHandler> GetRequestHandler() override { return this; }
  bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId source_process,
                                CefRefPtr<CefProcessMessage> message) override;

  // CefDisplayHandler.
  void OnAddressChange(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                       const CefString& url) override;
  void OnTitleChange(CefRefPtr<CefBrowser> browser, const CefString& title) override;

  // CefLoadHandler.
  void OnLoadingStateChange(CefRefPtr<CefBrowser> browser, bool isLoading, bool canGoBack,
                            bool canGoForward) override;
  void OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                   CefLoadHandler::ErrorCode errorCode, const CefString& errorText,
                   const CefString& failedUrl) override;

  // CefLifeSpanHandler.
  bool OnBeforePopup(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                     const CefString& target_url, const CefString& target_frame_name,
                     CefLifeSpanHandler::WindowOpenDisposition target_disposition,
                     bool user_gesture, const CefPopupFeatures& popupFeatures,
                     CefWindowInfo& windowInfo, CefRefPtr<CefClient>& client,
                     CefBrowserSettings& settings, bool* no_javascript_access) override;
  void OnAfterCreated(CefRefPtr<CefBrowser> browser) override;
  bool DoClose(CefRefPtr<CefBrowser> browser) override;
  void OnBeforeClose(CefRefPtr<CefBrowser> browser) override;

  // CefDownloadHandler.
  void OnBeforeDownload(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDownloadItem> download_item,
                        const CefString& suggested_name,
                        CefRefPtr<CefBeforeDownloadCallback> callback) override;

  // CefContextMenuHandler.
  void OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                           CefRefPtr<CefContextMenuParams> params,
                           CefRefPtr<CefMenuModel> model) override;

  // The page a failed load is replaced with.
  static std::string ErrorPage(const std::string& failedUrl, const std::string& errorText,
                               int errorCode);
  // The colour a page's setTitleColor(red, green, blue) stands for.
  static unsigned int TitleColour(int red, int green, int blue);

 private:
  static HWND WindowOf(CefRefPtr<CefBrowser> browser);

  std::vector<CefRefPtr<CefBrowser>> m_browsers;  // engine UI thread
  const HWND m_owner;
  base::Lock m_lock;  // held through DoClose and OnBeforeClose

  IMPLEMENT_REFCOUNTING(CefBrowserEventHandler);
};
