// Layout and painting: the tree is laid out when a control asked for it,
// painted into a back buffer and copied to the window, or, for a layered
// window, pushed with per-pixel alpha by UpdateLayeredWindow.  Also the
// window geometry settings and the caret.

#include <algorithm>
#include <cstring>

#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

constexpr UINT_PTR kCaretTimerId = 0xF1;
// A layout pass that never settles would hang the window; no real tree
// needs this many rounds.
constexpr int kMaxLayoutRounds = 10000;

CControlUI* CALLBACK MatchUpdateNeeded(CControlUI* pThis, LPVOID /*pData*/) {
  return pThis->IsUpdateNeeded() ? pThis : nullptr;
}

long long Area(const RECT& rc) {
  return static_cast<long long>(rc.right - rc.left) * (rc.bottom - rc.top);
}

bool AnyPositive(const RECT& rc) {
  return rc.left > 0 || rc.top > 0 || rc.right > 0 || rc.bottom > 0;
}

}  // namespace

void CPaintManagerUI::Invalidate(RECT& rcItem) {
  if (rcItem.left < 0) rcItem.left = 0;
  if (rcItem.top < 0) rcItem.top = 0;
  if (rcItem.right < rcItem.left) rcItem.right = rcItem.left;
  if (rcItem.bottom < rcItem.top) rcItem.bottom = rcItem.top;
  // Controls not laid out yet have empty rectangles, and building a skin
  // sets hundreds of attributes on them; each invalidation is a round trip
  // to the window system that would change nothing.
  if (::IsRectEmpty(&rcItem)) return;
  if (m_bLayered) ::UnionRect(&m_rcLayeredUpdate, &m_rcLayeredUpdate, &rcItem);
  if (m_hWndPaint == nullptr) return;
  // A layout pass invalidates every control it moves, nearly always inside
  // a parent it invalidated just before.  Inside a rectangle invalidated
  // during the pass, another invalidation changes nothing but costs a
  // round trip to the window system.
  if (m_bLayingOut) {
    RECT inside = {};
    if (::IntersectRect(&inside, &rcItem, &m_rcInvalidated) && ::EqualRect(&inside, &rcItem)) {
      return;
    }
    if (Area(rcItem) > Area(m_rcInvalidated)) m_rcInvalidated = rcItem;
  }
  ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
}

void CPaintManagerUI::NeedUpdate() { m_bUpdateNeeded = true; }

bool CPaintManagerUI::IsUpdateNeeded() const { return m_bUpdateNeeded; }

void CPaintManagerUI::DiscardOffscreen() {
  m_hbmpOffscreen.Reset();
  m_hDcOffscreen.Reset();
  m_pOffscreenBits = nullptr;
}

bool CPaintManagerUI::OffscreenFits(const RECT& client) const {
  BITMAP bitmap = {};
  return m_hbmpOffscreen &&
         ::GetObjectW(m_hbmpOffscreen.Get(), sizeof bitmap, &bitmap) == sizeof bitmap &&
         bitmap.bmWidth == client.right - client.left &&
         bitmap.bmHeight == client.bottom - client.top;
}

void CPaintManagerUI::LayOut() {
  m_bUpdateNeeded = false;
  RECT client = {};
  ::GetClientRect(m_hWndPaint, &client);
  if (::IsRectEmpty(&client)) return;
  if (m_pRoot->IsUpdateNeeded()) {
    if (!::IsIconic(m_hWndPaint)) m_pRoot->SetPos(client);
    // A back buffer of another size is made again at the new size.  One of
    // the right size is kept: only the painted area is ever copied out of
    // it, and a new one costs a fresh block of memory the size of the
    // window on every layout of the whole tree.
    if (!OffscreenFits(client)) DiscardOffscreen();
  } else {
    for (int round = 0; round < kMaxLayoutRounds; ++round) {
      CControlUI* control =
          m_pRoot->FindControl(MatchUpdateNeeded, nullptr, FindVisible | FindMeFirst);
      if (control == nullptr) break;
      control->SetPos(control->GetPos());
    }
  }
  if (m_bFirstLayout) {
    m_bFirstLayout = false;
    SendNotify(m_pRoot, L"windowinit", 0, 0, false);
  }
}

void CPaintManagerUI::OnPaint() {
  RECT update = {};
  if (!::GetUpdateRect(m_hWndPaint, &update, FALSE)) return;
  PAINTSTRUCT ps = {};
  if (m_pRoot == nullptr) {
    ::BeginPaint(m_hWndPaint, &ps);
    ::EndPaint(m_hWndPaint, &ps);
    return;
  }
  ::BeginPaint(m_hWndPaint, &ps);
  if (m_bUpdateNeeded) {
    // Nothing else validates the window while the pass runs, so what it
    // invalidated stays invalid until the pass ends.
    ::SetRectEmpty(&m_rcInvalidated);
    m_bLayingOut = true;
    LayOut();
    m_bLayingOut = false;
  }
  if (m_bFocusNeeded) SetNextTabControl(true);
  // Layout and focus may have run code that removed the tree.
  if (m_pRoot != nullptr) {
    if (m_bLayered) {
      PaintLayered(ps.rcPaint);
    } else {
      PaintNormal(ps.rcPaint, ps.hdc);
    }
  }
  ::EndPaint(m_hWndPaint, &ps);
  if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::SelectDefaultFont(HDC dc) {
  // Most texts are in the default font.  With it selected for the whole
  // paint, text drawing finds it in place instead of selecting it and the
  // previous font back for every text; the saved DC state restores the
  // font the back buffer had.  Only normal painting needs it: a layered
  // window's text goes through GDI+, which takes its font from the manager.
  HFONT font = GetDefaultFontInfo()->hFont;
  if (font != nullptr) ::SelectObject(dc, font);
}

void CPaintManagerUI::PaintNormal(const RECT& rcPaint, HDC hdcTarget) {
  const SIZE client = GetClientSize();
  if (!m_hDcOffscreen) m_hDcOffscreen.Reset(::CreateCompatibleDC(m_dcPaint.Get()));
  if (!m_hbmpOffscreen) {
    m_hbmpOffscreen.Reset(::CreateCompatibleBitmap(m_dcPaint.Get(), client.cx, client.cy));
  }
  if (!m_hDcOffscreen || !m_hbmpOffscreen) return;
  HDC dc = m_hDcOffscreen.Get();
  {
    CSelectObject selected(dc, m_hbmpOffscreen.Get());
    const int saved = ::SaveDC(dc);
    SelectDefaultFont(dc);
    m_pRoot->DoPaint(dc, rcPaint);
    for (int i = 0; i < m_aPostPaintControls.GetSize(); ++i) {
      static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(dc, rcPaint);
    }
    ::RestoreDC(dc, saved);
    ::BitBlt(hdcTarget, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left,
             rcPaint.bottom - rcPaint.top, dc, rcPaint.left, rcPaint.top, SRCCOPY);
  }
}

void CPaintManagerUI::PaintLayered(const RECT& rcSystemPaint) {
  const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
  if ((exStyle & WS_EX_LAYERED) == 0) {
    ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  }
  RECT client = {};
  ::GetClientRect(m_hWndPaint, &client);
  RECT paint = {};
  if (m_bLayeredChanged) {
    m_bLayeredChanged = false;
    paint = client;
  } else {
    ::UnionRect(&paint, &rcSystemPaint, &m_rcLayeredUpdate);
  }
  ::SetRectEmpty(&m_rcLayeredUpdate);
  // The pixels are written directly, so the area must lie in the bitmap.
  if (!::IntersectRect(&paint, &paint, &client)) return;

  // The pixels below are written by hand, so the back buffer must have the
  // client's size whatever happened since it was made: a window can grow
  // without a layout of its whole tree (an invisible root asks for none),
  // and a buffer of the old size would be written past its end.
  if (!OffscreenFits(client)) DiscardOffscreen();
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (!m_hDcOffscreen) m_hDcOffscreen.Reset(::CreateCompatibleDC(m_dcPaint.Get()));
  if (!m_hbmpOffscreen) {
    m_hbmpOffscreen.Reset(
        CRenderEngine::CreateBitmap(m_dcPaint.Get(), width, height, &m_pOffscreenBits));
  }
  if (!m_hDcOffscreen || !m_hbmpOffscreen || m_pOffscreenBits == nullptr) return;
  // The rows are indexed from the client's origin; only the part of the
  // paint rectangle inside the buffer is touched.
  const RECT buffer = {0, 0, width, height};
  if (!::IntersectRect(&paint, &paint, &buffer)) return;
  HDC dc = m_hDcOffscreen.Get();
  CSelectObject selected(dc, m_hbmpOffscreen.Get());
  const int saved = ::SaveDC(dc);

  // Fully transparent black, so that nothing of the last frame shows
  // through what is drawn with alpha now.
  ::GdiFlush();
  for (int y = paint.top; y < paint.bottom; ++y) {
    std::memset(m_pOffscreenBits + y * width + paint.left, 0,
                static_cast<size_t>(paint.right - paint.left) * sizeof(DWORD));
  }
  m_pRoot->DoPaint(dc, paint);
  DrawCaret(dc, paint);
  for (int i = 0; i < m_aPostPaintControls.GetSize(); ++i) {
    static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(dc, paint);
  }

  if (AnyPositive(m_rcLayeredInset)) {
    // Text drawn by GDI leaves alpha at 0; the area of editing controls is
    // made opaque.
    // The insets come from the skin, whose numbers are bounded, but a
    // program may set any: they are bounded here before the sums.
    auto inset = [](LONG value) { return std::clamp<LONG>(value, 0, 1 << 20); };
    RECT opaque = {client.left + inset(m_rcLayeredInset.left),
                   client.top + inset(m_rcLayeredInset.top),
                   client.right - inset(m_rcLayeredInset.right),
                   client.bottom - inset(m_rcLayeredInset.bottom)};
    if (::IntersectRect(&opaque, &opaque, &paint)) {
      ::GdiFlush();
      for (int y = opaque.top; y < opaque.bottom; ++y) {
        for (int x = opaque.left; x < opaque.right; ++x) {
          m_pOffscreenBits[y * width + x] |= 0xFF000000;
        }
      }
    }
  }
  ::RestoreDC(dc, saved);

  RECT window = {};
  ::GetWindowRect(m_hWndPaint, &window);
  POINT destination = {window.left, window.top};
  SIZE size = {window.right - window.left, window.bottom - window.top};
  POINT source = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::UpdateLayeredWindow(m_hWndPaint, nullptr, &destination, &size, dc, &source, 0, &blend,
                        ULW_ALPHA);
}

// --- Geometry settings ---------------------------------------------------------

void CPaintManagerUI::SetInitSize(int cx, int cy) {
  m_szInitWindowSize = SIZE{cx, cy};
  if (m_pRoot == nullptr && m_hWndPaint != nullptr) {
    ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
}

SIZE CPaintManagerUI::GetInitSize() const { return m_szInitWindowSize; }

RECT CPaintManagerUI::GetSizeBox() const { return m_rcSizeBox; }

void CPaintManagerUI::SetSizeBox(const RECT& rcSizeBox) { m_rcSizeBox = rcSizeBox; }

RECT CPaintManagerUI::GetCaptionRect() const { return m_rcCaption; }

void CPaintManagerUI::SetCaptionRect(const RECT& rcCaption) { m_rcCaption = rcCaption; }

SIZE CPaintManagerUI::GetRoundCorner() const { return m_szRoundCorner; }

void CPaintManagerUI::SetRoundCorner(int cx, int cy) { m_szRoundCorner = SIZE{cx, cy}; }

SIZE CPaintManagerUI::GetMinInfo() const { return m_szMinWindow; }

void CPaintManagerUI::SetMinInfo(int cx, int cy) { m_szMinWindow = SIZE{cx, cy}; }

SIZE CPaintManagerUI::GetMaxInfo() const { return m_szMaxWindow; }

void CPaintManagerUI::SetMaxInfo(int cx, int cy) { m_szMaxWindow = SIZE{cx, cy}; }

RECT CPaintManagerUI::GetRichEditCorner() const { return m_rcLayeredInset; }

void CPaintManagerUI::SetRichEditCorner(const RECT& rcCorner) { m_rcLayeredInset = rcCorner; }

void CPaintManagerUI::SetUseLayeredWindow(bool bLayered) {
  // The two ways of painting use different back buffers: a layered frame
  // is written through the pixels of a DIB section.
  if (bLayered != m_bLayered) DiscardOffscreen();
  m_bLayered = bLayered;
}

bool CPaintManagerUI::IsLayeredWindow() const { return m_bLayered; }

void CPaintManagerUI::SetUseGdiplusText(bool bUse) { m_bUseGdiplusText = bUse; }

bool CPaintManagerUI::IsUseGdiplusText() const { return m_bUseGdiplusText; }

int CPaintManagerUI::GetTransparent() const { return m_nOpacity; }

void CPaintManagerUI::SetTransparent(int nOpacity) {
  m_nOpacity = std::clamp(nOpacity, 0, 255);
  if (m_hWndPaint == nullptr) return;
  typedef BOOL(WINAPI * SetLayeredAttributes)(HWND, COLORREF, BYTE, DWORD);
  HMODULE user32 = ::GetModuleHandleW(L"User32.dll");
  auto setAttributes = user32 != nullptr
                           ? reinterpret_cast<SetLayeredAttributes>(reinterpret_cast<void (*)()>(
                                 ::GetProcAddress(user32, "SetLayeredWindowAttributes")))
                           : nullptr;
  if (setAttributes == nullptr) return;
  const LONG_PTR style = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
  const LONG_PTR wanted =
      nOpacity >= 0 && nOpacity <= 255 ? style | WS_EX_LAYERED : style & ~WS_EX_LAYERED;
  if (wanted != style) ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, wanted);
  setAttributes(m_hWndPaint, 0, static_cast<BYTE>(m_nOpacity), LWA_ALPHA);
}

// --- Caret ---------------------------------------------------------------------

bool CPaintManagerUI::CreateCaret(HBITMAP hBmp, int nWidth, int nHeight) {
  if (!::CreateCaret(m_hWndPaint, hBmp, nWidth, nHeight)) return false;
  m_rcCaret.right = m_rcCaret.left + nWidth;
  m_rcCaret.bottom = m_rcCaret.top + nHeight;
  return true;
}

bool CPaintManagerUI::SetCaretPos(CControlUI* pControl, int x, int y) {
  if (!::SetCaretPos(x, y)) return false;
  m_currentCaretObject = pControl;
  RECT old = m_rcCaret;
  const int width = m_rcCaret.right - m_rcCaret.left;
  const int height = m_rcCaret.bottom - m_rcCaret.top;
  m_rcCaret = RECT{x, y, x + width, y + height};
  Invalidate(old);
  InvalidateCaret();
  return true;
}

bool CPaintManagerUI::ShowCaret(bool bShow) {
  if (m_bCaretShowing == bShow) return true;
  m_bCaretShowing = bShow;
  if (bShow) {
    ::SetTimer(m_hWndPaint, kCaretTimerId, ::GetCaretBlinkTime(), nullptr);
    m_bCaretActive = true;
  } else {
    ::KillTimer(m_hWndPaint, kCaretTimerId);
    m_bCaretActive = false;
  }
  InvalidateCaret();
  return true;
}

void CPaintManagerUI::InvalidateCaret() {
  RECT caret = m_rcCaret;
  Invalidate(caret);
}

void CPaintManagerUI::DrawCaret(HDC hDC, const RECT& rcPaint) {
  if (m_currentCaretObject == nullptr) return;
  if (m_currentCaretObject != m_pFocus || ::GetFocus() != m_hWndPaint) {
    // The owner lost the focus: the caret stops blinking.
    if (m_bCaretShowing) {
      ::KillTimer(m_hWndPaint, kCaretTimerId);
      m_bCaretShowing = false;
      m_bCaretActive = false;
    }
    return;
  }
  if (!m_bCaretActive || !m_bCaretShowing) return;
  RECT caret = {};
  if (!::IntersectRect(&caret, &rcPaint, &m_rcCaret)) return;
  // Editing controls, which would give their own text colour, are not
  // part of this toolkit; the caret takes the default text colour.
  CRenderEngine::DrawColor(hDC, caret, GetDefaultFontColor());
}

CControlUI* CPaintManagerUI::GetCurrentCaretRichEdit() const { return m_currentCaretObject; }

}  // namespace SkinUI
