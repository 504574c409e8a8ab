// The base of every control of a skinned window: a rectangle in the
// window, skin attributes (colours, images, borders, sizes), state flags,
// a parent, and the hooks other code attaches to it.
//
// Sources by concern: ControlUI.cpp (state, placement, invalidation,
// search and events), ControlAttributes.cpp (skin attributes and the
// setters they reach), ControlPaint.cpp (painting).
#pragma once

#include <windows.h>

#include "toolkit/controls/ImageAttribute.h"
#include "toolkit/controls/SkinString.h"
#include "toolkit/core/Delegate.h"
#include "toolkit/core/UIEvents.h"

namespace SkinUI {

class CPaintManagerUI;

// Placement of a floating control relative to its parent's growth.
typedef struct tagTRelativePosUI {
  bool bRelative = false;
  // The parent's size when the control was last placed.
  SIZE szParent = {};
  // Percentages of the parent's growth by which the control moves and
  // grows.
  int nMoveXPercent = 0;
  int nMoveYPercent = 0;
  int nZoomXPercent = 0;
  int nZoomYPercent = 0;
} TRelativePosUI;

class CControlUI {
 public:
  CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;
  virtual ~CControlUI();

  virtual CSkinString GetName() const;
  virtual void SetName(LPCWSTR pstrName);
  virtual LPCWSTR GetClass() const;
  virtual LPVOID GetInterface(LPCWSTR pstrName);
  virtual UINT GetControlFlags() const;
  // What a click or shortcut does; the base only answers whether the
  // control can be activated (visible and enabled).
  virtual bool Activate();
  virtual CPaintManagerUI* GetManager() const;
  virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
  virtual CControlUI* GetParent() const;

  virtual CSkinString GetText() const;
  virtual void SetText(LPCWSTR pstrText);

  // Position and size.
  virtual const RECT& GetPos() const;
  virtual void SetPos(RECT rc);
  virtual int GetWidth() const;
  virtual int GetHeight() const;
  virtual int GetX() const;
  virtual int GetY() const;
  virtual RECT GetPadding() const;
  virtual void SetPadding(RECT rcPadding);
  virtual SIZE GetFixedXY() const;
  virtual void SetFixedXY(SIZE szXY);
  virtual int GetFixedWidth() const;
  virtual void SetFixedWidth(int cx);
  virtual int GetFixedHeight() const;
  virtual void SetFixedHeight(int cy);
  virtual int GetMinWidth() const;
  virtual void SetMinWidth(int cx);
  virtual int GetMaxWidth() const;
  virtual void SetMaxWidth(int cx);
  virtual int GetMinHeight() const;
  virtual void SetMinHeight(int cy);
  virtual int GetMaxHeight() const;
  virtual void SetMaxHeight(int cy);
  virtual void SetRelativePos(SIZE szMove, SIZE szZoom);
  virtual void SetRelativeParentSize(SIZE sz);
  virtual TRelativePosUI GetRelativePos() const;
  virtual bool IsRelativePos() const;

  // Tooltip, shortcut, context menu and the application's own data.
  virtual CSkinString GetToolTip() const;
  virtual void SetToolTip(LPCWSTR pstrText);
  virtual void SetToolTipWidth(int nWidth);
  virtual int GetToolTipWidth() const;
  virtual wchar_t GetShortcut() const;
  virtual void SetShortcut(wchar_t ch);
  virtual bool IsContextMenuUsed() const;
  virtual void SetContextMenuUsed(bool bMenuUsed);
  virtual const CSkinString& GetUserData() const;
  virtual void SetUserData(LPCWSTR pstrText);
  virtual UINT_PTR GetTag() const;
  virtual void SetTag(UINT_PTR pTag);

  // State.
  virtual bool IsVisible() const;
  virtual void SetVisible(bool bVisible = true);
  // Set by the parent: hidden with it.
  virtual void SetInternVisible(bool bVisible = true);
  virtual bool IsEnabled() const;
  virtual void SetEnabled(bool bEnable = true);
  virtual bool IsMouseEnabled() const;
  virtual void SetMouseEnabled(bool bEnable = true);
  virtual bool IsKeyboardEnabled() const;
  virtual void SetKeyboardEnabled(bool bEnable = true);
  virtual bool IsFocused() const;
  virtual void SetFocus();
  virtual bool IsFloat() const;
  virtual void SetFloat(bool bFloat = true);

  // The one traversal of the control tree; see the Find* flags.
  virtual CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags);

  // Initialisation once attached: DoInit, then the init hooks.
  virtual void Init();
  virtual void DoInit();

  // Runs the event hooks and, when none vetoes, DoEvent.
  virtual void Event(TEventUI& event);
  virtual void DoEvent(TEventUI& event);

  virtual void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue);

  virtual SIZE EstimateSize(SIZE szAvailable);

  virtual void DoPaint(HDC hDC, const RECT& rcPaint);
  virtual void PaintBkColor(HDC hDC);
  virtual void PaintBkImage(HDC hDC);
  virtual void PaintStatusImage(HDC hDC);
  virtual void PaintText(HDC hDC);
  virtual void PaintBorder(HDC hDC);
  // Drawn after the whole tree when registered with AddPostPaint.
  virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

  // Colours (0xAARRGGBB; 0 means none) and images.
  DWORD GetBkColor() const;
  void SetBkColor(DWORD dwBackColor);
  DWORD GetBkColor2() const;
  void SetBkColor2(DWORD dwBackColor);
  DWORD GetBkColor3() const;
  void SetBkColor3(DWORD dwBackColor);
  LPCWSTR GetBkImage() const;
  void SetBkImage(LPCWSTR pStrImage);
  LPCWSTR GetNormalImage() const;
  void SetNormalImage(LPCWSTR pStrImage);
  LPCWSTR GetHotImage() const;
  void SetHotImage(LPCWSTR pStrImage);
  LPCWSTR GetPushedImage() const;
  void SetPushedImage(LPCWSTR pStrImage);
  LPCWSTR GetFocusedImage() const;
  void SetFocusedImage(LPCWSTR pStrImage);
  LPCWSTR GetDisabledImage() const;
  void SetDisabledImage(LPCWSTR pStrImage);
  LPCWSTR GetForeImage() const;
  void SetForeImage(LPCWSTR pStrImage);

  // Borders.
  DWORD GetBorderColor() const;
  void SetBorderColor(DWORD dwBorderColor);
  DWORD GetFocusBorderColor() const;
  void SetFocusBorderColor(DWORD dwBorderColor);
  bool IsColorHSL() const;
  void SetColorHSL(bool bColorHSL);
  int GetBorderSize() const;
  void SetBorderSize(int nSize);
  // The per-side widths (left, top, right, bottom).
  void SetBorderSize(RECT rc);
  RECT GetBorderSizeRect() const;
  int GetLeftBorderSize() const;
  void SetLeftBorderSize(int nSize);
  int GetTopBorderSize() const;
  void SetTopBorderSize(int nSize);
  int GetRightBorderSize() const;
  void SetRightBorderSize(int nSize);
  int GetBottomBorderSize() const;
  void SetBottomBorderSize(int nSize);
  int GetBorderStyle() const;
  void SetBorderStyle(int nStyle);
  SIZE GetBorderRound() const;
  void SetBorderRound(SIZE cxyRound);

  // Draws an image slot into the item rectangle, limited to the paint
  // rectangle; false when the image cannot be loaded.
  bool DrawImage(HDC hDC, CImageAttribute& image);
  // A variant: more image pairs parsed over a copy of the slot.
  bool DrawImage(HDC hDC, CImageAttribute& image, LPCWSTR pStrModify);
  // A copy drawn at `rcDest`, relative to the item rectangle's top-left.
  bool DrawImage(HDC hDC, CImageAttribute& image, const RECT& rcDest);

  bool IsUpdateNeeded() const;
  void NeedUpdate();
  void NeedParentUpdate();
  void Invalidate();
  DWORD GetAdjustColor(DWORD dwColor) const;

  // Names the group of notification receivers; without its own name a
  // control belongs to its parent's.
  void SetVirtualWnd(LPCWSTR pstrValue);
  CSkinString GetVirtualWnd() const;

  // name="value" pairs separated by single spaces, applied in order.
  void ApplyAttributeList(LPCWSTR pstrList);

  // Hooks: init (end of Init), destroy (start of destruction), size (in
  // SetPos), event (before DoEvent, may veto it) and notify (before the
  // window's notifiers, for notifications this control sends).  Each is
  // called with the control, the event or the notification.
  CEventSource OnInit;
  CEventSource OnDestroy;
  CEventSource OnSize;
  CEventSource OnEvent;
  CEventSource OnNotify;

 protected:
  CPaintManagerUI* m_pManager;
  CControlUI* m_pParent;
  CSkinString m_sVirtualWnd;
  CSkinString m_sName;
  bool m_bUpdateNeeded;
  bool m_bMenuUsed;
  RECT m_rcItem;
  RECT m_rcPadding;
  SIZE m_cXY;
  SIZE m_cxyFixed;
  SIZE m_cxyMin;
  SIZE m_cxyMax;
  bool m_bVisible;
  bool m_bInternVisible;
  bool m_bEnabled;
  bool m_bMouseEnabled;
  bool m_bKeyboardEnabled;
  bool m_bFocused;
  bool m_bFloat;
  bool m_bSetPos;  // inside the size hooks
  bool m_bIsHandCursor;
  TRelativePosUI m_tRelativePos;

  CSkinString m_sText;
  CSkinString m_sToolTip;
  wchar_t m_chShortcut;
  CSkinString m_sUserData;
  UINT_PTR m_pTag;

  DWORD m_dwBackColor;
  DWORD m_dwBackColor2;
  DWORD m_dwBackColor3;
  CImageAttribute m_diBk;
  CImageAttribute m_diFore;
  CImageAttribute m_diNormal;
  CImageAttribute m_diHot;
  CImageAttribute m_diPushed;
  CImageAttribute m_diFocused;
  CImageAttribute m_diDisabled;
  DWORD m_dwBorderColor;
  DWORD m_dwFocusBorderColor;
  bool m_bColorHSL;
  int m_nBorderSize;
  int m_nBorderStyle;
  int m_nTooltipWidth;
  SIZE m_cxyBorderRound;
  RECT m_rcPaint;
  RECT m_rcBorderSize;
};

}  // namespace SkinUI
