// The base of every control that holds children: it owns them, places
// floating children, searches and paints its subtree, and scrolls its
// content with optional scroll bars.  The plain container stacks every
// child on its inner rectangle; layouts derive from it and place children
// themselves.
//
// Sources by concern: ContainerUI.cpp (items, state, placement, search,
// events and painting), ContainerScroll.cpp (scrolling and the scroll
// bars), ContainerAttributes.cpp (skin attributes).
#pragma once

#include <windows.h>

#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/IContainerUI.h"
#include "toolkit/controls/StdPtrArray.h"

namespace SkinUI {

class CScrollBarUI;

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  CContainerUI();
  ~CContainerUI() override;

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  // IContainerUI.
  CControlUI* GetItemAt(int iIndex) const override;
  int GetItemIndex(CControlUI* pControl) const override;
  bool SetItemIndex(CControlUI* pControl, int iIndex) override;
  int GetCount() const override;
  bool Add(CControlUI* pControl) override;
  bool AddAt(CControlUI* pControl, int iIndex) override;
  bool Remove(CControlUI* pControl) override;
  bool RemoveAt(int iIndex) override;
  void RemoveAll() override;

  void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
  void SetPos(RECT rc) override;
  void SetVisible(bool bVisible = true) override;
  void SetInternVisible(bool bVisible = true) override;
  void SetEnabled(bool bEnable = true) override;
  void SetMouseEnabled(bool bEnable = true) override;
  CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void DoPaint(HDC hDC, const RECT& rcPaint) override;

  virtual RECT GetInset() const;
  virtual void SetInset(RECT rcInset);
  virtual int GetChildPadding() const;
  virtual void SetChildPadding(int iPadding);
  virtual bool IsAutoDestroy() const;
  virtual void SetAutoDestroy(bool bAuto);
  virtual bool IsDelayedDestroy() const;
  virtual void SetDelayedDestroy(bool bDelayed);
  virtual bool IsMouseChildEnabled() const;
  virtual void SetMouseChildEnabled(bool bEnable = true);
  // The nearest selectable list item at or after (or before) the index;
  // -1 when there is none.
  virtual int FindSelectable(int iIndex, bool bForward = true) const;

  // Scrolling: (horizontal, vertical); 0 for an absent or hidden bar.
  virtual SIZE GetScrollPos() const;
  virtual SIZE GetScrollRange() const;
  virtual void SetScrollPos(SIZE szPos);
  virtual void SetScrollStepSize(int nSize);
  virtual int GetScrollStepSize() const;
  virtual void LineUp();
  virtual void LineDown();
  virtual void PageUp();
  virtual void PageDown();
  virtual void HomeUp();
  virtual void EndDown();
  virtual void LineLeft();
  virtual void LineRight();
  virtual void PageLeft();
  virtual void PageRight();
  virtual void HomeLeft();
  virtual void EndRight();
  virtual void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
  virtual CScrollBarUI* GetVerticalScrollBar() const;
  virtual CScrollBarUI* GetHorizontalScrollBar() const;

  // Places the floating child at `iIndex` from its fixed position and
  // size, moved and stretched with the container when it is relative.
  virtual void SetFloatPos(int iIndex);
  // Fits the scroll bars to what the children need inside `rc`.
  virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);

  // A descendant by name (ignoring case), and shortcuts on it.
  CControlUI* FindSubControl(LPCWSTR pstrSubControlName);
  bool SetSubControlText(LPCWSTR pstrSubControlName, LPCWSTR pstrText);
  bool SetSubControlFixedHeight(LPCWSTR pstrSubControlName, int cy);
  bool SetSubControlFixedWdith(LPCWSTR pstrSubControlName, int cx);
  bool SetSubControlUserData(LPCWSTR pstrSubControlName, LPCWSTR pstrText);
  CSkinString GetSubControlText(LPCWSTR pstrSubControlName);
  int GetSubControlFixedHeight(LPCWSTR pstrSubControlName);
  int GetSubControlFixedWdith(LPCWSTR pstrSubControlName);
  CSkinString GetSubControlUserData(LPCWSTR pstrSubControlName);

 protected:
  // The item rectangle less the inset and the visible scroll bars.
  RECT GetInnerRect() const;
  // Deletes a removed child, now or at the manager's clean-up.
  void DisposeChild(CControlUI* pControl);

  CStdPtrArray m_items;
  RECT m_rcInset;
  int m_iChildPadding;
  bool m_bAutoDestroy;
  bool m_bDelayedDestroy;
  bool m_bMouseChildEnabled;
  bool m_bScrollProcess;
  int m_nScrollStepSize;
  CScrollBarUI* m_pVerticalScrollBar;
  CScrollBarUI* m_pHorizontalScrollBar;
};

}  // namespace SkinUI
