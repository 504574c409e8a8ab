// The per-window engine of the skin toolkit.
//
// One paint manager serves one window.  It owns the window's control tree,
// turns the window's messages into events for single controls (hover,
// clicks, keyboard focus, capture, timers, tooltips), lays the tree out
// and paints it double-buffered (optionally as a per-pixel-alpha layered
// window), and hands notifications from controls to the window's
// listeners.  It also holds the process-wide settings (where skin
// resources come from and how they are read) and the per-window resource
// tables: colours, fonts, images, default attribute lists and option
// groups.  A paint manager can borrow the tables of a parent paint
// manager, which is how pop-up windows share their owner's skin.
//
// The sources are split by concern: PaintManagerUI.cpp (construction and
// lifetime), PaintManagerSettings.cpp (process-wide settings),
// PaintManagerFonts.cpp, PaintManagerImages.cpp and
// PaintManagerResources.cpp (the tables), PaintManagerEvents.cpp (the
// message handler, mouse and keyboard), PaintManagerFocus.cpp (focus,
// Tab and shortcuts), PaintManagerPaint.cpp (layout, painting, caret),
// PaintManagerNotify.cpp (notifications, timers, listeners) and
// PaintManagerControls.cpp (the control tree and its lookups).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "toolkit/controls/SkinString.h"
#include "toolkit/controls/StdPtrArray.h"
#include "toolkit/controls/StdStringPtrMap.h"
#include "toolkit/controls/StringOrId.h"
#include "toolkit/core/FontInfo.h"
#include "toolkit/core/ImageInfo.h"
#include "toolkit/core/Notify.h"
#include "toolkit/core/UIEvents.h"
#include "util/UniqueHandle.h"

namespace Gdiplus {
struct GdiplusStartupInput;
}

namespace SkinUI {

class CControlUI;
class CZipArchive;

// The control factory a plugin module exports as "CreateControl": given an
// element name of a skin file, a new control or null.
typedef CControlUI* (*LPCREATECONTROL)(LPCWSTR pstrType);

class CPaintManagerUI {
 public:
  CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
  ~CPaintManagerUI();

  // Binds the manager to its window: keeps the window's DC (fonts are
  // measured with it) and registers the manager process-wide.
  void Init(HWND hWnd);
  HWND GetPaintWindow() const;
  HDC GetPaintDC() const;
  CControlUI* GetRoot() const;
  HWND GetTooltipWindow() const;
  POINT GetMousePos() const;
  SIZE GetClientSize() const;

  // --- The control tree (PaintManagerControls.cpp) -------------------------

  // Installs a new tree; the old one is deleted at the next delayed
  // clean-up.  The first paint afterwards lays it out and sends
  // "windowinit".
  bool AttachDialog(CControlUI* pControl);
  // Attaches a subtree to this manager and registers its names.  The
  // parent defaults to the control's current parent.
  bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
  // Forgets every reference to a control that is going away.
  void ReapObjects(CControlUI* pControl);
  // Detaches the control now and deletes it when WM_APP + 1 arrives.
  void AddDelayedCleanup(CControlUI* pControl);

  CControlUI* FindControl(POINT pt) const;
  CControlUI* FindControl(LPCWSTR pstrName) const;
  CControlUI* FindSubControlByPoint(CControlUI* pParent, POINT pt) const;
  // Names compared ignoring case.
  CControlUI* FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const;
  // The index-th control of that class in traversal order; "*" matches
  // every class.
  CControlUI* FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex = 0);
  CStdPtrArray* FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass);
  CStdPtrArray* GetSubControlsByClass();

  // --- Messages (PaintManagerEvents.cpp) -------------------------------------

  bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
  // The filters, then Tab, Alt shortcuts and system keys.
  bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
  // True when a registered accelerator consumed the message.
  bool TranslateAcceleratorW(MSG* pMsg);
  // The toolkit's share of a message loop: true when a paint manager
  // consumed the message.
  static bool TranslateMessage(const MSG* pMsg);
  static void MessageLoop();

  bool AddNotifier(INotifyUI* pControl);
  bool RemoveNotifier(INotifyUI* pControl);
  bool AddPreMessageFilter(IMessageFilterUI* pFilter);
  bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
  bool AddMessageFilter(IMessageFilterUI* pFilter);
  bool RemoveMessageFilter(IMessageFilterUI* pFilter);
  bool AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
  bool RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
  bool AddPostPaint(CControlUI* pControl);
  bool RemovePostPaint(CControlUI* pControl);
  bool SetPostPaintIndex(CControlUI* pControl, int iIndex);
  int GetPostPaintCount() const;

  // --- Notifications (PaintManagerNotify.cpp) -------------------------------

  void SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                  bool bAsync = false);
  void SendNotify(TNotifyUI& Msg, bool bAsync = false);
  void UsedVirtualWnd(bool bUsed);

  // Timers of controls; the control receives EventTimer with its own id.
  bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
  bool KillTimer(CControlUI* pControl, UINT nTimerID);
  void KillTimer(CControlUI* pControl);
  void RemoveAllTimers();

  // --- Focus and keyboard (PaintManagerFocus.cpp) ------------------------------

  CControlUI* GetFocus() const;
  void SetFocus(CControlUI* pControl);
  // Focuses the tab stop at `pControl` after the next layout.
  void SetFocusNeeded(CControlUI* pControl);
  bool SetNextTabControl(bool bForward = true);
  void SetCapture();
  void ReleaseCapture();
  bool IsCaptured() const;

  // --- Layout and painting (PaintManagerPaint.cpp) ------------------------------

  // Clamps the rectangle to the client origin (changing the caller's
  // rectangle) and invalidates it without erasing.
  void Invalidate(RECT& rcItem);
  // The next paint lays the tree out again.
  void NeedUpdate();
  bool IsUpdateNeeded() const;

  void SetInitSize(int cx, int cy);
  SIZE GetInitSize() const;
  RECT GetSizeBox() const;
  void SetSizeBox(const RECT& rcSizeBox);
  RECT GetCaptionRect() const;
  void SetCaptionRect(const RECT& rcCaption);
  SIZE GetRoundCorner() const;
  void SetRoundCorner(int cx, int cy);
  SIZE GetMinInfo() const;
  void SetMinInfo(int cx, int cy);
  SIZE GetMaxInfo() const;
  void SetMaxInfo(int cx, int cy);
  RECT GetRichEditCorner() const;
  void SetRichEditCorner(const RECT& rcCorner);
  int GetTransparent() const;
  void SetTransparent(int nOpacity);
  // Images are drawn with per-pixel alpha whatever they hold when the
  // window is layered.
  void SetUseLayeredWindow(bool bLayered);
  bool IsLayeredWindow() const;
  void SetUseGdiplusText(bool bUse);
  bool IsUseGdiplusText() const;

  // The text caret of editing controls.
  bool CreateCaret(HBITMAP hBmp, int nWidth, int nHeight);
  bool SetCaretPos(CControlUI* pControl, int x, int y);
  bool ShowCaret(bool bShow);
  void DrawCaret(HDC hDC, const RECT& rcPaint);
  CControlUI* GetCurrentCaretRichEdit() const;

  // --- Process-wide settings -------------------------------------------

  // The module that owns the windows and resources; also starts GDI+.
  static void SetInstance(HINSTANCE hInst);
  static HINSTANCE GetInstance();
  // Shuts GDI+ down and closes a cached archive.
  static void Term();
  // The module's folder, ending in a backslash; empty without a module.
  static CSkinString GetInstancePath();
  static CSkinString GetCurrentPath();
  static void SetCurrentPath(LPCWSTR pStrPath);
  // The module holding resources; the instance when none was set.
  static void SetResourceDll(HINSTANCE hInst);
  static HINSTANCE GetResourceDll();
  // The skin folder; a separator is added when the path lacks one.
  static void SetResourcePath(LPCWSTR pStrPath);
  static const CSkinString& GetResourcePath();
  // The skin archive inside the resource folder.  A cached archive is
  // opened once and stays open.
  static void SetResourceZip(LPCWSTR pStrZip, bool bCachedResourceZip = false);
  // An archive in memory; the caller keeps the bytes alive.  Only the
  // first such archive is taken.
  static void SetResourceZip(const void* pVoid, unsigned int len);
  // An archive held as a "ZIPRES" resource of the resource module.
  static void SetResourceZip(UINT nResourceId);
  static const CSkinString& GetResourceZip();
  static bool IsCachedResourceZip();
  // The open archive while cached, else null.
  static CZipArchive* GetResourceZipHandle();
  // The face name for the default font of managers constructed afterwards.
  static void SetDefaultFontName(LPCWSTR pStrFontName);
  static const CSkinString& GetDefaultFontName();

  static bool LoadPlugin(LPCWSTR pstrModuleName);
  static CStdPtrArray* GetPlugins();

  static void GetHSL(short* H, short* S, short* L);
  static void SetHSL(bool bUseHSL, short H, short S, short L);
  // Every registered manager reloads its images.
  static void ReloadSkin();

  // Reads and decodes an image: a module resource when a type is given,
  // else from the archive or the skin folder, else the name as a plain
  // path.  A new record the caller frees with FreeImage, or null.
  static TImageInfo* LoadImageW(STRINGorID bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
  static void FreeImage(const TImageInfo* bitmap);

  // --- Resource chain ----------------------------------------------------

  // Borrows the tables of `pm`; false when that would make a cycle.
  bool UseParentResource(CPaintManagerUI* pm);
  CPaintManagerUI* GetParentResource() const;

  // --- Colours -------------------------------------------------------------
  // The setters store this manager's value; the getters answer with the
  // value of the topmost manager of the parent chain.

  DWORD GetDefaultDisabledColor() const;
  void SetDefaultDisabledColor(DWORD dwColor);
  DWORD GetDefaultFontColor() const;
  void SetDefaultFontColor(DWORD dwColor);
  DWORD GetDefaultLinkFontColor() const;
  void SetDefaultLinkFontColor(DWORD dwColor);
  DWORD GetDefaultLinkHoverFontColor() const;
  void SetDefaultLinkHoverFontColor(DWORD dwColor);
  DWORD GetDefaultSelectedBkColor() const;
  void SetDefaultSelectedBkColor(DWORD dwColor);

  // --- Fonts ---------------------------------------------------------------

  TFontInfo* GetDefaultFontInfo();
  void SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  DWORD GetCustomFontCount() const;
  HFONT AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  HFONT AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                  bool bItalic);
  HFONT GetFont(int index);
  HFONT GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  bool FindFont(HFONT hFont);
  bool FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  int GetFontIndex(HFONT hFont);
  int GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  bool RemoveFont(HFONT hFont);
  bool RemoveFontAt(int index);
  void RemoveAllFonts();
  TFontInfo* GetFontInfo(int index);
  TFontInfo* GetFontInfo(HFONT hFont);

  // --- Images --------------------------------------------------------------

  // This manager's table, then each parent's.
  const TImageInfo* GetImage(LPCWSTR bitmap);
  // This manager's table only; loads and adds the image on a miss.
  const TImageInfo* GetImageEx(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
  const TImageInfo* AddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
  // Takes ownership of `hBitmap`, also when it refuses it.
  const TImageInfo* AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
  bool RemoveImage(LPCWSTR bitmap);
  void RemoveAllImages();
  void ReloadAllImages();

  // --- Default attribute lists ----------------------------------------------

  void AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
  LPCWSTR GetDefaultAttributeList(LPCWSTR pStrControlName) const;
  bool RemoveDefaultAttributeList(LPCWSTR pStrControlName);
  const CStdStringPtrMap& GetDefaultAttribultes() const;
  void RemoveAllDefaultAttributeList();

  // --- Option groups ---------------------------------------------------------

  bool AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
  CStdPtrArray* GetOptionGroup(LPCWSTR pStrGroupName);
  void RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
  void RemoveAllOptionGroups();

 private:
  // Fonts (PaintManagerFonts.cpp).
  static HFONT CreateSkinFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                              bool bItalic, bool bClearType);
  static void MeasureFont(TFontInfo* pFontInfo, HDC hDC);
  void CreateDefaultFont();
  TFontInfo* NewFontInfo(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                         bool bItalic);
  int FindOwnFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
  int FindOwnFont(HFONT hFont) const;
  const CPaintManagerUI* GetTopResource() const;
  CPaintManagerUI* GetTopResource();

  // Asks the window to repaint the whole tree (after a colour or image
  // change) when a tree is attached.
  void InvalidateRoot();

  // One control timer.
  struct TimerInfo {
    CControlUI* pSender;
    UINT nLocalID;
    HWND hWnd;
    UINT_PTR uWinTimer;
    bool bKilled;
  };

  // Events (PaintManagerEvents.cpp).
  static WORD CurrentKeyState();
  static void SendEvent(CControlUI* pControl, TEventUI& event);
  TEventUI MakeEvent(int type, CControlUI* pSender, POINT pt) const;
  void OnMouseMove(LPARAM lParam);
  bool OnMouseHover(LPARAM lParam);
  void OnButtonDown(int type, WPARAM wParam, LPARAM lParam, bool bFocusControl);
  void ShowToolTip(CControlUI* pHover);
  void HideToolTip();
  void RunDelayedCleanup();

  // Notifications and timers (PaintManagerNotify.cpp).
  void DeliverAsyncNotify();
  void DeliverNotify(TNotifyUI& Msg);
  void OnTimer(WPARAM wParam);
  UINT_PTR NextTimerId();
  void DeleteTimerAt(int index);

  // Focus (PaintManagerFocus.cpp).
  CControlUI* FindTabControl(CControlUI* pFrom, bool bForward) const;
  void KillCurrentFocus(CControlUI* pNewFocus);
  bool OnSysChar(WPARAM wParam);

  // Painting (PaintManagerPaint.cpp).
  void OnPaint();
  void LayOut();
  void PaintNormal(const RECT& rcPaint, HDC hdcTarget);
  void PaintLayered(const RECT& rcSystemPaint);
  void DiscardOffscreen();
  void SelectDefaultFont(HDC dc);
  // Whether the back buffer exists and has the size of the client area.
  bool OffscreenFits(const RECT& client) const;
  void InvalidateCaret();

  // Window state.
  HWND m_hWndPaint;
  int m_nOpacity;
  CWindowDc m_dcPaint;
  CMemoryDc m_hDcOffscreen;
  CGdiObject m_hbmpOffscreen;
  DWORD* m_pOffscreenBits;
  bool m_bLayered;
  RECT m_rcLayeredUpdate;
  // While a layout pass runs: the largest rectangle it invalidated.
  bool m_bLayingOut;
  RECT m_rcInvalidated;
  RECT m_rcLayeredInset;
  bool m_bLayeredChanged;
  bool m_bUseGdiplusText;
  RECT m_rcCaret;
  bool m_bCaretActive;
  bool m_bCaretShowing;
  CControlUI* m_currentCaretObject;
  HWND m_hwndTooltip;
  TOOLINFOW m_ToolTip;
  CSkinString m_sToolTipText;
  CControlUI* m_pRoot;
  CControlUI* m_pFocus;
  CControlUI* m_pEventHover;
  CControlUI* m_pEventClick;
  CControlUI* m_pEventKey;
  POINT m_ptLastMousePos;
  SIZE m_szMinWindow;
  SIZE m_szMaxWindow;
  SIZE m_szInitWindowSize;
  RECT m_rcSizeBox;
  SIZE m_szRoundCorner;
  RECT m_rcCaption;
  UINT m_uTimerID;
  bool m_bFirstLayout;
  bool m_bUpdateNeeded;
  bool m_bFocusNeeded;
  bool m_bMouseTracking;
  bool m_bMouseCapture;
  bool m_bUsedVirtualWnd;
  CStdPtrArray m_aNotifiers;
  CStdPtrArray m_aTimers;
  CStdPtrArray m_aPreMessageFilters;
  CStdPtrArray m_aMessageFilters;
  CStdPtrArray m_aPostPaintControls;
  CStdPtrArray m_aDelayedCleanup;
  CStdPtrArray m_aAsyncNotify;
  CStdPtrArray m_aFoundControls;
  CStdStringPtrMap m_mNameHash;
  CStdPtrArray m_aTranslateAccelerator;

  // Resource tables.
  CPaintManagerUI* m_pParentResourcePM;
  DWORD m_dwDefaultDisabledColor;
  DWORD m_dwDefaultFontColor;
  DWORD m_dwDefaultLinkFontColor;
  DWORD m_dwDefaultLinkHoverFontColor;
  DWORD m_dwDefaultSelectedBkColor;
  TFontInfo m_DefaultFontInfo;
  CStdPtrArray m_aCustomFonts;
  CStdStringPtrMap m_mImageHash;
  CStdStringPtrMap m_DefaultAttrHash;
  CStdStringPtrMap m_mOptionGroup;

  // Process-wide settings (PaintManagerSettings.cpp).
  static HINSTANCE m_hInstance;
  static HINSTANCE m_hResourceInstance;
  static CSkinString m_pStrResourcePath;
  static CSkinString m_pStrResourceZip;
  static bool m_bCachedResourceZip;
  static CZipArchive m_hResourceZip;
  static CStdPtrArray m_aPreMessages;
  static CStdPtrArray m_aPlugins;
  static CSkinString m_pStrDefaultFontName;
  static short m_H;
  static short m_S;
  static short m_L;
  static ULONG_PTR m_gdiplusToken;
  static Gdiplus::GdiplusStartupInput* m_pGdiplusStartupInput;
};

}  // namespace SkinUI
