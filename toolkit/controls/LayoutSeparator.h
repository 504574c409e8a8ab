// The draggable strip along one edge of a horizontal or vertical layout,
// with which the user resizes the layout itself.
//
// A positive size puts the strip inside the layout's far edge (right or
// bottom), a negative one inside its near edge (left or top); 0 means no
// strip.  Dragging moves that edge.  In tracking mode a dark strip follows
// the mouse over everything else and the layout takes its new size when
// the button is released; in immediate mode the layout is resized live.
#pragma once

#include <windows.h>

#include "toolkit/core/UIEvents.h"

namespace SkinUI {

class CControlUI;

class CLayoutSeparator {
 public:
  enum class Axis { Horizontal, Vertical };

  // `rcItem` and `cxyFixed` are the owner's own item rectangle and fixed
  // size: a drag changes them without going through the owner's setters,
  // which would lay the parent out again on every move.
  CLayoutSeparator(CControlUI& owner, RECT& rcItem, SIZE& cxyFixed, Axis axis);
  CLayoutSeparator(const CLayoutSeparator&) = delete;
  CLayoutSeparator& operator=(const CLayoutSeparator&) = delete;

  int GetSize() const;
  void SetSize(int nSize);
  bool IsImmMode() const;
  void SetImmMode(bool bImmediately);
  bool IsDragging() const;

  // The strip, at the tracking rectangle while a drag is in progress and
  // `bUseTracking` is set, else at the item rectangle.
  RECT GetThumbRect(bool bUseTracking) const;
  // The set-cursor flag while the owner is enabled and has a strip.
  UINT GetControlFlags() const;
  // Handles the event when it belongs to the strip; false passes it on.
  bool DoEvent(const TEventUI& event);
  // Paints the tracking strip during a drag in tracking mode.
  void DoPostPaint(HDC hDC) const;

 private:
  bool OnButtonDown(const TEventUI& event);
  void OnMouseMove(const TEventUI& event);
  void OnButtonUp();
  int MinExtent() const;
  int MaxExtent() const;
  bool IsTrackingMode() const;

  CControlUI& m_owner;
  RECT& m_rcItem;
  SIZE& m_cxyFixed;
  // The coordinates the strip works along: left/right and x for a
  // horizontal layout, top/bottom and y for a vertical one.
  LONG RECT::*m_near;
  LONG RECT::*m_far;
  LONG POINT::*m_coord;
  LONG SIZE::*m_extent;
  Axis m_axis;

  int m_iSepSize;
  bool m_bImmMode;
  bool m_bDragging;
  POINT m_ptLastMouse;
  RECT m_rcNewPos;
};

}  // namespace SkinUI
