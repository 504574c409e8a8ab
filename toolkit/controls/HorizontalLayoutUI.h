// A layout that places its children in a row from left to right, each as
// tall as the layout unless it has a height of its own.  Children without
// a width share what the others leave; content wider than the layout
// shows the horizontal scroll bar when the layout has one.  An optional
// strip along the left or right edge lets the user drag the layout's own
// width.
#pragma once

#include <windows.h>

#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/LayoutSeparator.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CContainerUI {
 public:
  CHorizontalLayoutUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;
  UINT GetControlFlags() const override;

  // Positive: a strip of that width inside the right edge; negative:
  // inside the left edge; 0: none.
  void SetSepWidth(int iWidth);
  int GetSepWidth() const;
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
