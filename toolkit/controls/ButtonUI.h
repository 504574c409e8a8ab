// A label that reacts to the mouse and the keyboard: state images and text
// colours for hot, pushed, focused and disabled, a hot background colour,
// "click" when activated, and optionally a page of a tab layout it selects.
//
// Sources by concern: ButtonUI.cpp (state, events, activation and the
// bound tab page), ButtonPaint.cpp (state images and text),
// ButtonAttributes.cpp (skin attributes and the setters they reach).
#pragma once

#include <windows.h>

#include "toolkit/controls/LabelUI.h"

namespace SkinUI {

// The state bits of buttons and options.
enum : UINT {
  UISTATE_FOCUSED = 0x01,
  UISTATE_SELECTED = 0x02,
  UISTATE_DISABLED = 0x04,
  UISTATE_HOT = 0x08,
  UISTATE_PUSHED = 0x10,
  UISTATE_CAPTURED = 0x40,
};

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;
  UINT GetControlFlags() const override;

  // Sends "click" and selects the bound tab page; false unless the button
  // is visible and enabled.
  bool Activate() override;
  // Disabling clears every state bit.
  void SetEnabled(bool bEnable = true) override;
  void DoEvent(TEventUI& event) override;
  SIZE EstimateSize(SIZE szAvailable) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;

  // Colours (0xAARRGGBB, 0 = not set).
  void SetHotBkColor(DWORD dwColor);
  DWORD GetHotBkColor() const;
  void SetHotTextColor(DWORD dwColor);
  DWORD GetHotTextColor() const;
  void SetPushedTextColor(DWORD dwColor);
  DWORD GetPushedTextColor() const;
  void SetFocusedTextColor(DWORD dwColor);
  DWORD GetFocusedTextColor() const;

  // Foreground images drawn over the hot and the pushed image.
  LPCWSTR GetHotForeImage() const;
  void SetHotForeImage(LPCWSTR pStrImage);
  LPCWSTR GetPushedForeImage() const;
  void SetPushedForeImage(LPCWSTR pStrImage);

  // Whether the mouse over the button shows the hand cursor.
  void SetCursorHand(bool bHand);

  // The page of a tab layout the button selects when activated: the
  // layout by its name, the page by its index.
  void BindTabIndex(int iIndex);
  void BindTabLayoutName(LPCWSTR pstrName);
  // Selects page `iIndex` (the bound index when negative) of the bound
  // tab layout.
  void BindTriggerTabSel(int iIndex = -1);
  void RemoveBindTabIndex();
  int GetBindTabLayoutIndex() const;
  CSkinString GetBindTabLayoutName() const;

  UINT GetButtonState() const;

 protected:
  // Brings the focused and disabled bits up to date with the control.
  void RefreshStateBits();
  // True when the slot names an image that can be loaded.
  bool CanLoad(CImageAttribute& image);
  // Draws the state's own foreground image `image` if it loads, else the
  // plain foreground image.
  void DrawForeImage(HDC hDC, CImageAttribute& image);
  // The text colour for the current state.
  DWORD StateTextColor() const;

  UINT m_uButtonState;
  DWORD m_dwHotBkColor;
  DWORD m_dwHotTextColor;
  DWORD m_dwPushedTextColor;
  DWORD m_dwFocusedTextColor;
  CImageAttribute m_diHotFore;
  CImageAttribute m_diPushedFore;
  int m_iBindTabIndex;
  CSkinString m_sBindTabLayoutName;
};

}  // namespace SkinUI
