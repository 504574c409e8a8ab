// A scroll bar: two buttons, a track and a thumb.  Inside a container it
// scrolls its owner; free-standing it only keeps a position and tells
// listeners with "scroll".
//
// Sources by concern: ScrollBarUI.cpp (geometry, interaction, painting),
// ScrollBarAttributes.cpp (skin attributes and image setters).
#pragma once

#include <windows.h>

#include "toolkit/controls/ControlUI.h"

namespace SkinUI {

class CContainerUI;

class CScrollBarUI : public CControlUI {
 public:
  // The id of the repeat timer a press starts.
  static constexpr UINT kRepeatTimerId = 10;
  static constexpr UINT kRepeatInterval = 50;
  // Ticks of a held press before it starts repeating.
  static constexpr int kRepeatDelayTicks = 5;

  CScrollBarUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  CContainerUI* GetOwner() const;
  void SetOwner(CContainerUI* pOwner);
  bool IsHorizontal() const;
  // Also swaps the thickness over to the other fixed dimension when that
  // one is not set.
  void SetHorizontal(bool bHorizontal = true);
  int GetScrollRange() const;
  void SetScrollRange(int nRange);
  int GetScrollPos() const;
  void SetScrollPos(int nPos);
  int GetLineSize() const;
  void SetLineSize(int nSize);
  bool GetShowButton1() const;
  void SetShowButton1(bool bShow);
  bool GetShowButton2() const;
  void SetShowButton2(bool bShow);

  // The laid-out parts, in window coordinates.
  const RECT& GetButton1Rect() const;
  const RECT& GetButton2Rect() const;
  const RECT& GetThumbRect() const;
  // The state bits of the parts (UISTATE_* below).
  UINT GetButton1State() const;
  UINT GetButton2State() const;
  UINT GetThumbState() const;

  static constexpr UINT UISTATE_HOT = 0x01;
  static constexpr UINT UISTATE_PUSHED = 0x02;
  static constexpr UINT UISTATE_CAPTURED = 0x04;
  static constexpr UINT UISTATE_DISABLED = 0x08;

  void SetButton1NormalImage(LPCWSTR pStrImage);
  void SetButton1HotImage(LPCWSTR pStrImage);
  void SetButton1PushedImage(LPCWSTR pStrImage);
  void SetButton1DisabledImage(LPCWSTR pStrImage);
  void SetButton2NormalImage(LPCWSTR pStrImage);
  void SetButton2HotImage(LPCWSTR pStrImage);
  void SetButton2PushedImage(LPCWSTR pStrImage);
  void SetButton2DisabledImage(LPCWSTR pStrImage);
  void SetThumbNormalImage(LPCWSTR pStrImage);
  void SetThumbHotImage(LPCWSTR pStrImage);
  void SetThumbPushedImage(LPCWSTR pStrImage);
  void SetThumbDisabledImage(LPCWSTR pStrImage);
  void SetRailNormalImage(LPCWSTR pStrImage);
  void SetRailHotImage(LPCWSTR pStrImage);
  void SetRailPushedImage(LPCWSTR pStrImage);
  void SetRailDisabledImage(LPCWSTR pStrImage);

  void SetPos(RECT rc) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void DoPaint(HDC hDC, const RECT& rcPaint) override;

 protected:
  // The images of one part in its four states.
  struct PartImages {
    CImageAttribute normal;
    CImageAttribute hot;
    CImageAttribute pushed;
    CImageAttribute disabled;
  };

  void LayOutParts();
  void LineBack();
  void LineForward();
  void PageBack();
  void PageForward();
  // Draws the part's image for its state, falling back to the normal
  // image; false when neither could be drawn.
  bool PaintPart(HDC hDC, PartImages& images, UINT state, const RECT& rcPart);
  void PaintBk(HDC hDC);
  void PaintButton(HDC hDC, PartImages& images, UINT state, const RECT& rcButton);
  void PaintThumb(HDC hDC);
  void PaintRail(HDC hDC);
  void NotifyScroll();

  CContainerUI* m_pOwner;
  bool m_bHorizontal;
  int m_nRange;
  int m_nScrollPos;
  int m_nLineSize;
  bool m_bShowButton1;
  bool m_bShowButton2;
  RECT m_rcButton1;
  RECT m_rcButton2;
  RECT m_rcThumb;
  UINT m_uButton1State;
  UINT m_uButton2State;
  UINT m_uThumbState;
  POINT m_ptLastMouse;
  int m_nLastScrollPos;
  int m_nLastScrollOffset;
  int m_nScrollRepeatDelay;
  PartImages m_button1;
  PartImages m_button2;
  PartImages m_thumb;
  PartImages m_rail;
};

}  // namespace SkinUI
