// The context menu: what was clicked, and the client's say over the menu.
#pragma once

#include <vector>

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/cef_frame.h"
#include "include/cef_menu_model.h"
#include "include/internal/cef_types.h"

class CefContextMenuParams;

// Lets the client finish a menu it shows itself.
class CefRunContextMenuCallback : public virtual CefBase {
 public:
  typedef cef_event_flags_t EventFlags;

  virtual void Continue(int command_id, EventFlags event_flags) = 0;
  virtual void Cancel() = 0;
};

// Called on the browser process's UI thread.
class CefContextMenuHandler : public virtual CefBase {
 public:
  typedef cef_event_flags_t EventFlags;

  // Before the menu shows: the client may change model; an empty model
  // shows no menu.
  virtual void OnBeforeContextMenu(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                                   CefRefPtr<CefContextMenuParams> /*params*/,
                                   CefRefPtr<CefMenuModel> /*model*/) {}
  // True when the client shows the menu itself and reports the choice
  // through callback.
  virtual bool RunContextMenu(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                              CefRefPtr<CefContextMenuParams> /*params*/,
                              CefRefPtr<CefMenuModel> /*model*/,
                              CefRefPtr<CefRunContextMenuCallback> /*callback*/) {
    return false;
  }
  // True when the client carried out the command; otherwise the engine does.
  virtual bool OnContextMenuCommand(CefRefPtr<CefBrowser> /*browser*/,
                                    CefRefPtr<CefFrame> /*frame*/,
                                    CefRefPtr<CefContextMenuParams> /*params*/, int /*command_id*/,
                                    EventFlags /*event_flags*/) {
    return false;
  }
  virtual void OnContextMenuDismissed(CefRefPtr<CefBrowser> /*browser*/,
                                      CefRefPtr<CefFrame> /*frame*/) {}
};

// Where and on what the context menu was asked for.
class CefContextMenuParams : public virtual CefBase {
 public:
  typedef cef_context_menu_type_flags_t TypeFlags;
  typedef cef_context_menu_media_type_t MediaType;
  typedef cef_context_menu_media_state_flags_t MediaStateFlags;
  typedef cef_context_menu_edit_state_flags_t EditStateFlags;

  // Mouse position in the browser's view.
  virtual int GetXCoord() = 0;
  virtual int GetYCoord() = 0;
  virtual TypeFlags GetTypeFlags() = 0;
  virtual CefString GetLinkUrl() = 0;
  virtual CefString GetUnfilteredLinkUrl() = 0;
  virtual CefString GetSourceUrl() = 0;
  virtual bool HasImageContents() = 0;
  virtual CefString GetPageUrl() = 0;
  virtual CefString GetFrameUrl() = 0;
  virtual CefString GetFrameCharset() = 0;
  virtual MediaType GetMediaType() = 0;
  virtual MediaStateFlags GetMediaStateFlags() = 0;
  virtual CefString GetSelectionText() = 0;
  virtual CefString GetMisspelledWord() = 0;
  virtual bool GetDictionarySuggestions(std::vector<CefString>& suggestions) = 0;
  virtual bool IsEditable() = 0;
  virtual bool IsSpellCheckEnabled() = 0;
  virtual EditStateFlags GetEditStateFlags() = 0;
};
