// Text in the toolkit's markup: the set-up around one layout (clip,
// alignment, the link under the mouse) and what is handed back.

#include <windows.h>

#include "toolkit/controls/HtmlTextLayout.h"
#include "toolkit/controls/RenderClip.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/controls/SkinString.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace SkinUI {
namespace {

constexpr UINT kAlignment = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;
// The height of the box the alignment pass measures in; measuring goes on
// below it, so it only has to be non-empty.
constexpr LONG kMeasureHeight = 100;

// Narrows the box to the measured size of the text as the alignment flags
// say.  Horizontally this only happens on a single line, and never beyond
// the box: text wider than its box starts at the box's left edge, so that
// its end still meets the right edge (and its ellipsis).
void Align(RECT& box, const RECT& measured, UINT uStyle) {
  const LONG width = measured.right - measured.left;
  const LONG height = measured.bottom - measured.top;
  if ((uStyle & DT_SINGLELINE) != 0 && width < box.right - box.left) {
    if ((uStyle & DT_CENTER) != 0) {
      box.left += (box.right - box.left - width) / 2;
      box.right = box.left + width;
    } else if ((uStyle & DT_RIGHT) != 0) {
      box.left = box.right - width;
    }
  }
  if ((uStyle & DT_VCENTER) != 0) {
    box.top += (box.bottom - box.top - height) / 2;
    box.bottom = box.top + height;
  } else if ((uStyle & DT_BOTTOM) != 0) {
    box.top = box.bottom - height;
  }
}

}  // namespace

void CRenderEngine::DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText,
                                 DWORD dwTextColor, RECT* pLinks, CSkinString* sLinks,
                                 int& nLinkRects, UINT uStyle) {
  const int capacity = pLinks != nullptr && sLinks != nullptr && nLinkRects > 0 ? nLinkRects : 0;
  nLinkRects = 0;
  if (hDC == nullptr || pManager == nullptr || pstrText == nullptr || *pstrText == L'\0') return;
  if (::IsRectEmpty(&rc)) return;
  const bool draw = (uStyle & DT_CALCRECT) == 0;

  // The layout's stacks live in standard containers; should one fail to
  // grow, the text stays as far as it got rather than an exception leaving
  // the toolkit.
  try {
    // The font and clip of the device context are given back at the end.
    CSelectObject keepFont(hDC, ::GetCurrentObject(hDC, OBJ_FONT));
    CRenderClip clip;
    RECT box = rc;
    if (draw) {
      CRenderClip::GenerateClip(hDC, rc, clip);
      if ((uStyle & kAlignment) != 0) {
        // The box is as wide as the real one, so that wrapped text measures
        // as many lines as it will take.
        RECT measured = {0, 0, rc.right - rc.left, kMeasureHeight};
        int noLinks = 0;
        DrawHtmlText(hDC, pManager, measured, pstrText, dwTextColor, nullptr, nullptr, noLinks,
                     (uStyle & ~kAlignment) | DT_CALCRECT);
        Align(box, measured, uStyle);
      }
    }

    // The link the mouse is over, by the rectangles of the last drawing.
    const CSkinString* hover = nullptr;
    const POINT mouse = pManager->GetMousePos();
    for (int i = 0; i < capacity; ++i) {
      if (::PtInRect(&pLinks[i], mouse)) {
        hover = &sLinks[i];
        break;
      }
    }
    // The layout overwrites the link slots, so the hover target is copied
    // by the layout before it starts.
    CHtmlTextLayout layout(hDC, pManager, box, dwTextColor, uStyle, pLinks, sLinks, capacity,
                           hover);
    layout.Run(pstrText);
    nLinkRects = layout.GetLinkCount();
    if (!draw) {
      rc.bottom = layout.GetBottom();
      if (layout.GetMaxX() < rc.right) rc.right = layout.GetMaxX();
    }
  } catch (...) {
  }
}

}  // namespace SkinUI
