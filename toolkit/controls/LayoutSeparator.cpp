#include "toolkit/controls/LayoutSeparator.h"

#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// Black at two-thirds opacity: the strip stays visible over any skin.
constexpr DWORD kTrackingColor = 0xAA000000;

RECT Bounds(const RECT& a, const RECT& b) {
  RECT rc;
  ::UnionRect(&rc, &a, &b);
  return rc;
}

}  // namespace

CLayoutSeparator::CLayoutSeparator(CControlUI& owner, RECT& rcItem, SIZE& cxyFixed, Axis axis)
    : m_owner(owner),
      m_rcItem(rcItem),
      m_cxyFixed(cxyFixed),
      m_near(axis == Axis::Horizontal ? &RECT::left : &RECT::top),
      m_far(axis == Axis::Horizontal ? &RECT::right : &RECT::bottom),
      m_coord(axis == Axis::Horizontal ? &POINT::x : &POINT::y),
      m_extent(axis == Axis::Horizontal ? &SIZE::cx : &SIZE::cy),
      m_axis(axis),
      m_iSepSize(0),
      m_bImmMode(false),
      m_bDragging(false),
      m_ptLastMouse(),
      m_rcNewPos() {}

int CLayoutSeparator::GetSize() const { return m_iSepSize; }

void CLayoutSeparator::SetSize(int nSize) { m_iSepSize = nSize; }

bool CLayoutSeparator::IsImmMode() const { return m_bImmMode; }

void CLayoutSeparator::SetImmMode(bool bImmediately) {
  if (m_bImmMode == bImmediately) return;
  // A drag in tracking mode stops painting its strip; from now on the
  // layout follows the mouse itself.
  if (IsTrackingMode() && m_owner.GetManager() != nullptr) {
    m_owner.GetManager()->RemovePostPaint(&m_owner);
  }
  m_bImmMode = bImmediately;
}

bool CLayoutSeparator::IsDragging() const { return m_bDragging; }

bool CLayoutSeparator::IsTrackingMode() const { return m_bDragging && !m_bImmMode; }

RECT CLayoutSeparator::GetThumbRect(bool bUseTracking) const {
  RECT rc = bUseTracking && m_bDragging ? m_rcNewPos : m_rcItem;
  if (m_iSepSize < 0) {
    rc.*m_far = rc.*m_near - m_iSepSize;
  } else {
    rc.*m_near = rc.*m_far - m_iSepSize;
  }
  return rc;
}

UINT CLayoutSeparator::GetControlFlags() const {
  return m_owner.IsEnabled() && m_iSepSize != 0 ? static_cast<UINT>(ControlFlagSetCursor) : 0u;
}

int CLayoutSeparator::MinExtent() const {
  return m_axis == Axis::Horizontal ? m_owner.GetMinWidth() : m_owner.GetMinHeight();
}

int CLayoutSeparator::MaxExtent() const {
  return m_axis == Axis::Horizontal ? m_owner.GetMaxWidth() : m_owner.GetMaxHeight();
}

bool CLayoutSeparator::DoEvent(const TEventUI& event) {
  if (m_iSepSize == 0) return false;
  switch (event.Type) {
    case EventButtonDown:
      return OnButtonDown(event);
    case EventMouseMove:
      if (!m_bDragging) return false;
      OnMouseMove(event);
      return true;
    case EventButtonUp:
      if (!m_bDragging) return false;
      OnButtonUp();
      return true;
    case EventSetCursor: {
      const RECT strip = GetThumbRect(false);
      if (!m_owner.IsEnabled() || !::PtInRect(&strip, event.ptMouse)) return false;
      ::SetCursor(::LoadCursorW(nullptr, m_axis == Axis::Horizontal ? IDC_SIZEWE : IDC_SIZENS));
      return true;
    }
    default:
      return false;
  }
}

bool CLayoutSeparator::OnButtonDown(const TEventUI& event) {
  const RECT strip = GetThumbRect(false);
  if (!m_owner.IsEnabled() || !::PtInRect(&strip, event.ptMouse)) return false;
  // A press whose release never arrived leaves the drag running; the new
  // press starts it afresh without registering the strip a second time.
  if (!m_bDragging && !m_bImmMode && m_owner.GetManager() != nullptr) {
    m_owner.GetManager()->AddPostPaint(&m_owner);
  }
  m_bDragging = true;
  m_ptLastMouse = event.ptMouse;
  m_rcNewPos = m_rcItem;
  return true;
}

void CLayoutSeparator::OnMouseMove(const TEventUI& event) {
  const LONG position = event.ptMouse.*m_coord;
  const LONG delta = position - m_ptLastMouse.*m_coord;
  m_ptLastMouse = event.ptMouse;

  RECT rc = m_rcNewPos;
  // A move toward the strip is ignored while the pointer is off it on
  // either side: after the edge stopped at a limit, it waits until the
  // pointer comes back instead of running away from it.
  if (m_iSepSize > 0) {
    if (delta > 0 && position < rc.*m_far - m_iSepSize) return;
    if (delta < 0 && position > rc.*m_far) return;
    rc.*m_far += delta;
  } else {
    if (delta > 0 && position < rc.*m_near) return;
    if (delta < 0 && position > rc.*m_near - m_iSepSize) return;
    rc.*m_near += delta;
  }

  // The moving edge stops where the layout reaches its limits.
  const int current = m_rcNewPos.*m_far - m_rcNewPos.*m_near;
  const int extent = rc.*m_far - rc.*m_near;
  int limited = extent;
  if (extent <= MinExtent()) {
    if (current == MinExtent()) return;
    limited = MinExtent();
  }
  if (extent >= MaxExtent()) {
    if (current == MaxExtent()) return;
    limited = MaxExtent();
  }
  if (m_iSepSize > 0) {
    rc.*m_far = rc.*m_near + limited;
  } else {
    rc.*m_near = rc.*m_far - limited;
  }

  const RECT oldStrip = GetThumbRect(true);
  m_rcNewPos = rc;
  m_cxyFixed.*m_extent = limited;
  CPaintManagerUI* manager = m_owner.GetManager();

  if (!m_bImmMode) {
    RECT invalid = Bounds(Bounds(oldStrip, GetThumbRect(true)), GetThumbRect(false));
    if (manager != nullptr) manager->Invalidate(invalid);
    return;
  }
  m_rcItem = m_rcNewPos;
  if (manager != nullptr) manager->SendNotify(&m_owner, L"mmMode", 0, 0);
  m_owner.NeedParentUpdate();
}

void CLayoutSeparator::OnButtonUp() {
  CPaintManagerUI* manager = m_owner.GetManager();
  if (!m_bImmMode && manager != nullptr) {
    // The strip may have been left outside the layout's new rectangle;
    // it must not stay on the screen.
    RECT strip = GetThumbRect(true);
    manager->Invalidate(strip);
    manager->RemovePostPaint(&m_owner);
  }
  m_bDragging = false;
  m_rcItem = m_rcNewPos;
  m_owner.NeedParentUpdate();
}

void CLayoutSeparator::DoPostPaint(HDC hDC) const {
  if (!IsTrackingMode()) return;
  CRenderEngine::DrawColor(hDC, GetThumbRect(true), kTrackingColor);
}

}  // namespace SkinUI
