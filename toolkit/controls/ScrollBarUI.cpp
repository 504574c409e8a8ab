#include "toolkit/controls/ScrollBarUI.h"

#include <algorithm>
#include <cwchar>

#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

constexpr int kDefaultThickness = 16;
constexpr int kDefaultRange = 100;
constexpr int kDefaultLineSize = 8;
// What stands in for a missing button or thumb image.
constexpr DWORD kFallbackOutlineColor = 0xFF85E4FF;
constexpr int kFallbackOutlineWidth = 2;

RECT Relative(const RECT& part, const RECT& item) {
  return RECT{part.left - item.left, part.top - item.top, part.right - item.left,
              part.bottom - item.top};
}

}  // namespace

CScrollBarUI::CScrollBarUI()
    : m_pOwner(nullptr),
      m_bHorizontal(false),
      m_nRange(kDefaultRange),
      m_nScrollPos(0),
      m_nLineSize(kDefaultLineSize),
      m_bShowButton1(true),
      m_bShowButton2(true),
      m_rcButton1(),
      m_rcButton2(),
      m_rcThumb(),
      m_uButton1State(0),
      m_uButton2State(0),
      m_uThumbState(0),
      m_ptLastMouse(),
      m_nLastScrollPos(0),
      m_nLastScrollOffset(0),
      m_nScrollRepeatDelay(0) {
  m_cxyFixed.cx = kDefaultThickness;
}

LPCWSTR CScrollBarUI::GetClass() const { return L"ScrollBarUI"; }

LPVOID CScrollBarUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"ScrollBar") == 0) return this;
  return CControlUI::GetInterface(pstrName);
}

CContainerUI* CScrollBarUI::GetOwner() const { return m_pOwner; }

void CScrollBarUI::SetOwner(CContainerUI* pOwner) { m_pOwner = pOwner; }

bool CScrollBarUI::IsHorizontal() const { return m_bHorizontal; }

void CScrollBarUI::SetHorizontal(bool bHorizontal) {
  if (m_bHorizontal == bHorizontal) return;
  m_bHorizontal = bHorizontal;
  // The thickness is the fixed size across the bar.
  if (m_bHorizontal) {
    if (m_cxyFixed.cy == 0) {
      m_cxyFixed.cx = 0;
      m_cxyFixed.cy = kDefaultThickness;
    }
  } else if (m_cxyFixed.cx == 0) {
    m_cxyFixed.cx = kDefaultThickness;
    m_cxyFixed.cy = 0;
  }
  NeedUpdate();
}

int CScrollBarUI::GetScrollRange() const { return m_nRange; }

void CScrollBarUI::SetScrollRange(int nRange) {
  if (m_nRange == nRange) return;
  m_nRange = std::max(nRange, 0);
  if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
  LayOutParts();
  Invalidate();
}

int CScrollBarUI::GetScrollPos() const { return m_nScrollPos; }

void CScrollBarUI::SetScrollPos(int nPos) {
  if (m_nScrollPos == nPos) return;
  m_nScrollPos = std::clamp(nPos, 0, m_nRange);
  LayOutParts();
  Invalidate();
  if (m_pManager != nullptr) m_pManager->SendNotify(this, L"scroll");
}

int CScrollBarUI::GetLineSize() const { return m_nLineSize; }

void CScrollBarUI::SetLineSize(int nSize) { m_nLineSize = nSize; }

bool CScrollBarUI::GetShowButton1() const { return m_bShowButton1; }

void CScrollBarUI::SetShowButton1(bool bShow) {
  m_bShowButton1 = bShow;
  LayOutParts();
  Invalidate();
}

bool CScrollBarUI::GetShowButton2() const { return m_bShowButton2; }

void CScrollBarUI::SetShowButton2(bool bShow) {
  m_bShowButton2 = bShow;
  LayOutParts();
  Invalidate();
}

const RECT& CScrollBarUI::GetButton1Rect() const { return m_rcButton1; }

const RECT& CScrollBarUI::GetButton2Rect() const { return m_rcButton2; }

const RECT& CScrollBarUI::GetThumbRect() const { return m_rcThumb; }

UINT CScrollBarUI::GetButton1State() const { return m_uButton1State; }

UINT CScrollBarUI::GetButton2State() const { return m_uButton2State; }

UINT CScrollBarUI::GetThumbState() const { return m_uThumbState; }

// --- Geometry ------------------------------------------------------------------

void CScrollBarUI::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  LayOutParts();
}

void CScrollBarUI::LayOutParts() {
  // Worked out along the bar: `start`/`end` run along it, the parts span
  // the whole bar across.
  const RECT& rc = m_rcItem;
  const int start = m_bHorizontal ? rc.left : rc.top;
  const int end = m_bHorizontal ? rc.right : rc.bottom;
  const int length = end - start;
  const int thickness = m_bHorizontal ? m_cxyFixed.cy : m_cxyFixed.cx;
  int track = length;
  if (m_bShowButton1) track -= thickness;
  if (m_bShowButton2) track -= thickness;

  int b1Start = start, b1End = start;
  int b2Start = end, b2End = end;
  int thumbStart = 0, thumbEnd = 0;
  bool thumb = false;
  if (thickness < track) {
    if (m_bShowButton1) b1End = start + thickness;
    if (m_bShowButton2) b2Start = end - thickness;
    thumb = true;
    if (m_nRange > 0) {
      const long long scaled = static_cast<long long>(length) * track / (length + m_nRange);
      const int thumbLength = std::max(thickness, static_cast<int>(scaled));
      thumbStart = b1End + static_cast<int>(static_cast<long long>(track - thumbLength) *
                                            m_nScrollPos / m_nRange);
      thumbEnd = thumbStart + thumbLength;
      if (thumbEnd > b2Start) {
        thumbStart = b2Start - thumbLength;
        thumbEnd = b2Start;
      }
    } else {
      thumbStart = b1End;
      thumbEnd = b2Start;
    }
  } else {
    // Too short for a thumb: the buttons share the length.
    const int button = std::max(0, std::min(thickness, length / 2));
    if (m_bShowButton1) b1End = start + button;
    if (m_bShowButton2) b2Start = end - button;
  }

  auto along = [&](int from, int to) {
    return m_bHorizontal ? RECT{from, rc.top, to, rc.bottom} : RECT{rc.left, from, rc.right, to};
  };
  m_rcButton1 = along(b1Start, b1End);
  m_rcButton2 = along(b2Start, b2End);
  m_rcThumb = thumb ? along(thumbStart, thumbEnd) : RECT{};
}

// --- Interaction -----------------------------------------------------------------

void CScrollBarUI::LineBack() {
  if (m_pOwner == nullptr) {
    SetScrollPos(m_nScrollPos - m_nLineSize);
  } else if (m_bHorizontal) {
    m_pOwner->LineLeft();
  } else {
    m_pOwner->LineUp();
  }
}

void CScrollBarUI::LineForward() {
  if (m_pOwner == nullptr) {
    SetScrollPos(m_nScrollPos + m_nLineSize);
  } else if (m_bHorizontal) {
    m_pOwner->LineRight();
  } else {
    m_pOwner->LineDown();
  }
}

void CScrollBarUI::PageBack() {
  const int length = m_bHorizontal ? GetWidth() : GetHeight();
  if (m_pOwner == nullptr) {
    SetScrollPos(m_nScrollPos - length);
  } else if (m_bHorizontal) {
    m_pOwner->PageLeft();
  } else {
    m_pOwner->PageUp();
  }
}

void CScrollBarUI::PageForward() {
  const int length = m_bHorizontal ? GetWidth() : GetHeight();
  if (m_pOwner == nullptr) {
    SetScrollPos(m_nScrollPos + length);
  } else if (m_bHorizontal) {
    m_pOwner->PageRight();
  } else {
    m_pOwner->PageDown();
  }
}

void CScrollBarUI::NotifyScroll() {
  if (m_pOwner == nullptr && m_pManager != nullptr) m_pManager->SendNotify(this, L"scroll");
}

void CScrollBarUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_pOwner != nullptr) {
      m_pOwner->DoEvent(event);
    } else {
      CControlUI::DoEvent(event);
    }
    return;
  }

  const POINT pt = event.ptMouse;
  switch (event.Type) {
    case EventSetFocus:
    case EventKillFocus:
    case EventContextMenu:
      return;

    case EventButtonDown:
    case EventDblClick: {
      if (!IsEnabled()) return;
      m_nLastScrollOffset = 0;
      m_nScrollRepeatDelay = 0;
      if (m_pManager != nullptr) m_pManager->SetTimer(this, kRepeatTimerId, kRepeatInterval);
      if (::PtInRect(&m_rcButton1, pt)) {
        m_uButton1State |= UISTATE_PUSHED;
        LineBack();
      } else if (::PtInRect(&m_rcButton2, pt)) {
        m_uButton2State |= UISTATE_PUSHED;
        LineForward();
      } else if (::PtInRect(&m_rcThumb, pt)) {
        m_uThumbState |= UISTATE_CAPTURED | UISTATE_PUSHED;
        m_ptLastMouse = pt;
        m_nLastScrollPos = m_nScrollPos;
      } else {
        const int at = m_bHorizontal ? pt.x : pt.y;
        const int thumbStart = m_bHorizontal ? m_rcThumb.left : m_rcThumb.top;
        const int thumbEnd = m_bHorizontal ? m_rcThumb.right : m_rcThumb.bottom;
        if (at < thumbStart) {
          PageBack();
        } else if (at > thumbEnd) {
          PageForward();
        }
      }
      Invalidate();
      NotifyScroll();
      return;
    }

    case EventButtonUp:
      m_nScrollRepeatDelay = 0;
      m_nLastScrollOffset = 0;
      if (m_pManager != nullptr) m_pManager->KillTimer(this, kRepeatTimerId);
      m_uThumbState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
      m_uButton1State &= ~UISTATE_PUSHED;
      m_uButton2State &= ~UISTATE_PUSHED;
      Invalidate();
      return;

    case EventMouseMove:
      if ((m_uThumbState & UISTATE_CAPTURED) != 0) {
        // The cursor's way along the bar, scaled from the track the thumb
        // can travel to the range.
        const int length = m_bHorizontal ? GetWidth() : GetHeight();
        const int thickness = m_bHorizontal ? m_cxyFixed.cy : m_cxyFixed.cx;
        const int thumbLength =
            m_bHorizontal ? m_rcThumb.right - m_rcThumb.left : m_rcThumb.bottom - m_rcThumb.top;
        const int travel = length - 2 * thickness - thumbLength;
        const int moved = m_bHorizontal ? pt.x - m_ptLastMouse.x : pt.y - m_ptLastMouse.y;
        m_nLastScrollOffset =
            travel > 0 ? static_cast<int>(static_cast<long long>(moved) * m_nRange / travel) : 0;
      } else {
        const bool over = ::PtInRect(&m_rcThumb, pt) != FALSE;
        const bool hot = (m_uThumbState & UISTATE_HOT) != 0;
        if (over != hot) {
          m_uThumbState ^= UISTATE_HOT;
          Invalidate();
        }
      }
      return;

    case EventTimer:
      if (event.wParam != kRepeatTimerId) break;
      ++m_nScrollRepeatDelay;
      if ((m_uThumbState & UISTATE_CAPTURED) != 0) {
        const int pos = m_nLastScrollPos + m_nLastScrollOffset;
        if (m_pOwner == nullptr) {
          SetScrollPos(pos);
        } else {
          SIZE sz = m_pOwner->GetScrollPos();
          if (m_bHorizontal) {
            sz.cx = pos;
          } else {
            sz.cy = pos;
          }
          m_pOwner->SetScrollPos(sz);
        }
        Invalidate();
      } else if (m_nScrollRepeatDelay > kRepeatDelayTicks) {
        if ((m_uButton1State & UISTATE_PUSHED) != 0) {
          LineBack();
        } else if ((m_uButton2State & UISTATE_PUSHED) != 0) {
          LineForward();
        } else if (m_pManager != nullptr) {
          // A held track pages toward where the mouse now is.
          const POINT mouse = m_pManager->GetMousePos();
          const int at = m_bHorizontal ? mouse.x : mouse.y;
          const int thumbStart = m_bHorizontal ? m_rcThumb.left : m_rcThumb.top;
          const int thumbEnd = m_bHorizontal ? m_rcThumb.right : m_rcThumb.bottom;
          if (at < thumbStart) {
            PageBack();
          } else if (at > thumbEnd) {
            PageForward();
          }
        }
      }
      NotifyScroll();
      return;

    case EventMouseEnter:
      if (IsEnabled()) {
        m_uButton1State |= UISTATE_HOT;
        m_uButton2State |= UISTATE_HOT;
        if (::PtInRect(&m_rcThumb, pt)) m_uThumbState |= UISTATE_HOT;
        Invalidate();
      }
      return;

    case EventMouseLeave:
      if (IsEnabled()) {
        m_uButton1State &= ~UISTATE_HOT;
        m_uButton2State &= ~UISTATE_HOT;
        m_uThumbState &= ~UISTATE_HOT;
        Invalidate();
      }
      return;

    default:
      break;
  }
  if (m_pOwner != nullptr) {
    m_pOwner->DoEvent(event);
  } else {
    CControlUI::DoEvent(event);
  }
}

// --- Painting ----------------------------------------------------------------------

void CScrollBarUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
  PaintBk(hDC);
  if (m_bShowButton1) PaintButton(hDC, m_button1, m_uButton1State, m_rcButton1);
  if (m_bShowButton2) PaintButton(hDC, m_button2, m_uButton2State, m_rcButton2);
  PaintThumb(hDC);
  PaintRail(hDC);
}

bool CScrollBarUI::PaintPart(HDC hDC, PartImages& images, UINT state, const RECT& rcPart) {
  const RECT dest = Relative(rcPart, m_rcItem);
  CImageAttribute* stateImage = nullptr;
  if (!IsEnabled()) {
    stateImage = &images.disabled;
  } else if ((state & UISTATE_PUSHED) != 0) {
    stateImage = &images.pushed;
  } else if ((state & UISTATE_HOT) != 0) {
    stateImage = &images.hot;
  }
  if (stateImage != nullptr && DrawImage(hDC, *stateImage, dest)) return true;
  return DrawImage(hDC, images.normal, dest);
}

void CScrollBarUI::PaintBk(HDC hDC) {
  const UINT state = m_uButton1State | m_uButton2State | m_uThumbState;
  CImageAttribute* stateImage = nullptr;
  if (!IsEnabled()) {
    stateImage = &m_diDisabled;
  } else if ((state & UISTATE_PUSHED) != 0) {
    stateImage = &m_diPushed;
  } else if ((state & UISTATE_HOT) != 0) {
    stateImage = &m_diHot;
  }
  if (stateImage != nullptr && DrawImage(hDC, *stateImage)) return;
  DrawImage(hDC, m_diNormal);
}

void CScrollBarUI::PaintButton(HDC hDC, PartImages& images, UINT state, const RECT& rcButton) {
  if (::IsRectEmpty(&rcButton)) return;
  if (!PaintPart(hDC, images, state, rcButton)) {
    CRenderEngine::DrawRect(hDC, rcButton, kFallbackOutlineWidth, kFallbackOutlineColor);
  }
}

void CScrollBarUI::PaintThumb(HDC hDC) {
  if (::IsRectEmpty(&m_rcThumb)) return;
  if (!PaintPart(hDC, m_thumb, m_uThumbState, m_rcThumb)) {
    CRenderEngine::DrawRect(hDC, m_rcThumb, kFallbackOutlineWidth, kFallbackOutlineColor);
  }
}

void CScrollBarUI::PaintRail(HDC hDC) {
  if (::IsRectEmpty(&m_rcThumb)) return;
  CImageAttribute* image = &m_rail.normal;
  if (!IsEnabled()) {
    image = &m_rail.disabled;
  } else if ((m_uThumbState & UISTATE_PUSHED) != 0) {
    image = &m_rail.pushed;
  } else if ((m_uThumbState & UISTATE_HOT) != 0) {
    image = &m_rail.hot;
  }
  auto loads = [this](CImageAttribute& candidate) {
    return !candidate.GetAttributeString().IsEmpty() && candidate.LoadImageW(m_pManager);
  };
  if (!loads(*image)) {
    image = &m_rail.normal;
    if (!loads(*image)) return;
  }
  // The rail keeps its own size, centred on the thumb.
  const RECT& source = image->GetSource();
  const int width = source.right - source.left;
  const int height = source.bottom - source.top;
  const int cx = (m_rcThumb.left + m_rcThumb.right) / 2;
  const int cy = (m_rcThumb.top + m_rcThumb.bottom) / 2;
  const RECT rail = {cx - width / 2, cy - height / 2, cx - width / 2 + width,
                     cy - height / 2 + height};
  DrawImage(hDC, *image, Relative(rail, m_rcItem));
}

}  // namespace SkinUI
