// The page's alert, confirm, prompt and leave-page dialogs.
#pragma once

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/internal/cef_types.h"

class CefJSDialogCallback : public virtual CefBase {
 public:
  virtual void Continue(bool success, const CefString& user_input) = 0;
};

// Called on the browser process's UI thread.
class CefJSDialogHandler : public virtual CefBase {
 public:
  typedef cef_jsdialog_type_t JSDialogType;

  // True when the client shows the dialog and answers through callback;
  // setting suppress_message instead answers it as cancelled.  False shows
  // the engine's own dialog.
  virtual bool OnJSDialog(CefRefPtr<CefBrowser> /*browser*/, const CefString& /*origin_url*/,
                          const CefString& /*accept_lang*/, JSDialogType /*dialog_type*/,
                          const CefString& /*message_text*/,
                          const CefString& /*default_prompt_text*/,
                          CefRefPtr<CefJSDialogCallback> /*callback*/, bool& /*suppress_message*/) {
    return false;
  }
  virtual bool OnBeforeUnloadDialog(CefRefPtr<CefBrowser> /*browser*/,
                                    const CefString& /*message_text*/, bool /*is_reload*/,
                                    CefRefPtr<CefJSDialogCallback> /*callback*/) {
    return false;
  }
  virtual void OnResetDialogState(CefRefPtr<CefBrowser> /*browser*/) {}
  virtual void OnDialogClosed(CefRefPtr<CefBrowser> /*browser*/) {}
};
