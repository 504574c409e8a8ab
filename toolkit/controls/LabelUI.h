// A control that shows one line of text: plain in one of the window's
// fonts, or in the toolkit's text markup, with colours for the enabled and
// the disabled state and inner margins around the text.
#pragma once

#include <windows.h>

#include "toolkit/controls/ControlUI.h"

namespace SkinUI {

class CLabelUI : public CControlUI {
 public:
  CLabelUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  // DrawText style bits (DT_CENTER, DT_VCENTER, DT_SINGLELINE, ...).
  void SetTextStyle(UINT uStyle);
  UINT GetTextStyle() const;
  // 0xAARRGGBB; 0 takes the window's default colour at the first paint.
  void SetTextColor(DWORD dwTextColor);
  DWORD GetTextColor() const;
  void SetDisabledTextColor(DWORD dwTextColor);
  DWORD GetDisabledTextColor() const;
  // An index into the window's fonts; -1 is the default font.
  void SetFont(int index);
  int GetFont() const;
  RECT GetTextPadding() const;
  void SetTextPadding(RECT rc);
  bool IsShowHtml() const;
  void SetShowHtml(bool bShowHtml = true);

  SIZE EstimateSize(SIZE szAvailable) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void PaintText(HDC hDC) override;

  // With the flag set, the estimate takes the width the text needs.
  virtual bool GetAutoCalcWidth() const;
  virtual void SetAutoCalcWidth(bool bAutoCalcWidth);

 protected:
  // Sets the fixed width to the measured width of the text plus the left
  // and right text padding, when the auto-calculated width flag is set.
  void UpdateAutoWidth();
  // The pixel height of the label's font; 0 without a manager.
  int FontHeight() const;
  // The item rectangle less the text padding.
  RECT TextRect() const;
  // Takes the window's default colours for the colours still unset.
  void ResolveTextColors();

  DWORD m_dwTextColor;
  DWORD m_dwDisabledTextColor;
  int m_iFont;
  UINT m_uTextStyle;
  RECT m_rcTextPadding;
  bool m_bShowHtml;
  bool m_bAutoCalcWidth;
};

}  // namespace SkinUI
