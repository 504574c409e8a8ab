// A control that shows wrapped text, usually in the toolkit's markup, whose
// links (<a target>...</a>) report "link" with their index when clicked.
#pragma once

#include <windows.h>

#include "toolkit/controls/LabelUI.h"

namespace SkinUI {

class CTextUI : public CLabelUI {
 public:
  // The most links one text keeps track of.
  static constexpr int kMaxLinks = 8;

  CTextUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;
  UINT GetControlFlags() const override;

  // A new text may need another size, so the parent lays out again.
  void SetText(LPCWSTR pstrText) override;
  // The target of link `iIndex` of the last painting; null outside
  // 0 ... link count - 1.
  CSkinString* GetLinkContent(int iIndex);
  int GetLinkCount() const;
  // 0 draws no shadow.
  void SetShadowColor(DWORD dwColor);
  DWORD GetShadowColor() const;

  void DoEvent(TEventUI& event) override;
  SIZE EstimateSize(SIZE szAvailable) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void PaintText(HDC hDC) override;

 protected:
  // The link under `pt`, or -1.
  int LinkAt(POINT pt) const;

  int m_nLinks;
  RECT m_rcLinks[kMaxLinks];
  CSkinString m_sLinks[kMaxLinks];
  int m_nHoverLink;
  DWORD m_dwShadowColor;
};

}  // namespace SkinUI
