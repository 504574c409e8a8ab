// The base of the application's skinned windows.
//
// A WindowImplBase is a frameless window whose whole area is client area:
// on creation it drops the system caption and builds its control tree from
// a skin file into its own paint manager.  From then on it answers the
// non-client messages itself (hit testing from the skin's caption band and
// size box, a rounded window region, maximising to the work area), routes
// notifications through message maps, and handles the conventional system
// buttons by control name ("closebtn", "minbtn", "maxbtn", "restorebtn").
// A derived window names its skin, looks up its controls in InitWindow and
// adds its own handlers.
//
// Sources by concern: WindowImplBase.cpp (creation, skin loading, message
// dispatch, lifetime), WindowImplBaseNonClient.cpp (frame, hit testing,
// sizes and region) and WindowImplBaseMessages.cpp (system commands,
// system buttons, keys and the default handlers).
#pragma once

#include <windows.h>

#include "toolkit/controls/IDialogBuilderCallback.h"
#include "toolkit/controls/SkinString.h"
#include "toolkit/core/Notify.h"
#include "toolkit/core/NotifyPump.h"
#include "toolkit/core/PaintManagerUI.h"
#include "toolkit/core/WindowWnd.h"

namespace SkinUI {

class CControlUI;

// Where a window's skin comes from.
enum UILIB_RESOURCETYPE {
  // The skin file is read from the resource path.
  ResourceFile = 1,
  // The skin is inside the archive GetZIPFileName in the resource path,
  // which stays open.
  ResourceZip = 2,
  // The skin file name is a decimal number: a module resource of type "xml".
  ResourceModule = 3,
  // The archive is the module resource GetResourceID of type "ZIPRES".
  ResourceZipModule = 4,
};

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
 public:
  WindowImplBase();
  ~WindowImplBase() override;

  // Called once the controls exist.
  virtual void InitWindow();
  // The system buttons, by the sender's name.
  virtual void OnClick(TNotifyUI& msg);

  // Every handler below gets the message's arguments and a flag that
  // starts true; a handler that clears it passes the message on to the
  // custom handler, the paint manager and default processing, in turn.
  virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  // Messages none of the handlers above takes; `bHandled` starts true and
  // the default clears it.
  virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  // The window's current style without the system caption.
  virtual LONG GetStyle();

  // The window is its own notifier: notifications go through the message
  // maps and virtual windows.
  void Notify(TNotifyUI& msg) override;
  // As the paint manager's pre-message filter: Return and Escape are
  // offered to ResponseDefaultKeyEvent but never consumed.
  LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
  // Element names the dialog builder does not know: none by default.
  CControlUI* CreateControl(LPCWSTR pstrClass) override;

  CPaintManagerUI& GetPaintManager() { return m_PaintManager; }

  static const SKIN_MSGMAP* GetThisMessageMap();

 protected:
  virtual CSkinString GetSkinFolderName() = 0;
  virtual CSkinString GetSkinFileName() = 0;
  // 1 for Escape, 0 for any other key.
  virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
  virtual UILIB_RESOURCETYPE GetResourceType() const;
  virtual CSkinString GetZIPFileName() const;
  virtual LPCWSTR GetResourceID() const;

  UINT GetClassStyle() const override;
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  // Unregisters the window from its paint manager and lets go of the
  // tree's references.  The object itself is not deleted here.
  void OnFinalMessage(HWND hWnd) override;
  const SKIN_MSGMAP* GetMessageMap() const override;

  CPaintManagerUI m_PaintManager;
  // A skin archive copied out of a module resource.  The paint manager
  // reads from it for the rest of the process, so it is never freed.
  static LPBYTE m_lpResourceZIPBuffer;

 private:
  // Points the resource path at the skin folder and opens the archive the
  // resource type asks for; false when a "ZIPRES" resource is missing.
  bool PrepareSkinResources();
  // Builds the control tree from the skin file; null when it cannot be.
  CControlUI* BuildSkin();
  // Shows or hides the maximise and restore buttons after the maximised
  // state changed.
  void SwapSizeButtons(bool bWasZoomed);

  static const SKIN_MSGMAP_ENTRY kMessageEntries[];
  static const SKIN_MSGMAP kMessageMap;
  // The resource the buffer was copied from, and its size.
  static const void* m_pResourceZIPSource;
  static DWORD m_dwResourceZIPSize;
};

}  // namespace SkinUI
