// A layout that stacks its children from top to bottom, each as wide as
// the layout unless it has a width of its own.  Children without a height
// share what the others leave.  An optional strip along the top or bottom
// edge lets the user drag the layout's own height.
#pragma once

#include <windows.h>

#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/LayoutSeparator.h"

namespace SkinUI {

class CVerticalLayoutUI : public CContainerUI {
 public:
  CVerticalLayoutUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;
  UINT GetControlFlags() const override;

  // Positive: a strip of that height inside the bottom edge; negative:
  // inside the top edge; 0: none.
  void SetSepHeight(int iHeight);
  int GetSepHeight() const;
  // Immediate mode resizes the layout while the strip is dragged instead
  // of showing where it will end.
  void SetSepImmMode(bool bImmediately);
  bool IsSepImmMode() const;
  // The strip, where the drag has taken it when `bUseTracking` is set.
  RECT GetThumbRect(bool bUseTracking = false) const;

  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void DoEvent(TEventUI& event) override;
  void SetPos(RECT rc) override;
  void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

 protected:
  CLayoutSeparator m_separator;
};

}  // namespace SkinUI
