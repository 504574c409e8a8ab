// Downloads: where they go, and their progress.
#pragma once

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/cef_download_item.h"

// Lets the client say where a download goes.
class CefBeforeDownloadCallback : public virtual CefBase {
 public:
  // Saves to download_path (a full path or a file name; empty for the
  // suggested name); with show_dialog the user confirms or changes it in the
  // save dialog first.
  virtual void Continue(const CefString& download_path, bool show_dialog) = 0;
};

class CefDownloadItemCallback : public virtual CefBase {
 public:
  virtual void Cancel() = 0;
};

// Called on the browser process's UI thread.
class CefDownloadHandler : public virtual CefBase {
 public:
  // Before a download starts.  The download goes ahead only when callback's
  // Continue is called, now or later.
  virtual void OnBeforeDownload(CefRefPtr<CefBrowser> browser,
                                CefRefPtr<CefDownloadItem> download_item,
                                const CefString& suggested_name,
                                CefRefPtr<CefBeforeDownloadCallback> callback) = 0;
  virtual void OnDownloadUpdated(CefRefPtr<CefBrowser> /*browser*/,
                                 CefRefPtr<CefDownloadItem> /*download_item*/,
                                 CefRefPtr<CefDownloadItemCallback> /*callback*/) {}
};
