#include "toolkit/controls/RenderClip.h"

namespace SkinUI {

CRenderClip::~CRenderClip() {
  if (hDC != nullptr) Restore(hDC);
}

void CRenderClip::Narrow(HDC dc, const RECT& rc, HRGN region) {
  if (hDC != nullptr) Restore(hDC);
  hDC = dc;
  rcItem = rc;
  hRgn.Reset(region);
  // The exact clip is kept, not its bounding box, so that a rounded clip of
  // a parent is still in force once a child's clip is gone.
  HRGN previous = ::CreateRectRgn(0, 0, 0, 0);
  if (previous != nullptr && ::GetClipRgn(dc, previous) != 1) {
    ::DeleteObject(previous);
    previous = nullptr;
  }
  hOldRgn.Reset(previous);
  ::ExtSelectClipRgn(dc, region, RGN_AND);
}

void CRenderClip::Restore(HDC dc) { ::SelectClipRgn(dc, static_cast<HRGN>(hOldRgn.Get())); }

void CRenderClip::GenerateClip(HDC hDC, const RECT& rc, CRenderClip& clip) {
  clip.Narrow(hDC, rc, ::CreateRectRgnIndirect(&rc));
}

void CRenderClip::GenerateRoundClip(HDC hDC, const RECT& rc, const RECT& rcItem, int width,
                                    int height, CRenderClip& clip) {
  HRGN region = ::CreateRectRgnIndirect(&rc);
  CGdiObject rounded(::CreateRoundRectRgn(rcItem.left, rcItem.top, rcItem.right + 1,
                                          rcItem.bottom + 1, width * 2, height * 2));
  if (region != nullptr && rounded) {
    ::CombineRgn(region, region, static_cast<HRGN>(rounded.Get()), RGN_AND);
  }
  clip.Narrow(hDC, rc, region);
}

void CRenderClip::UseOldClipBegin(HDC hDC, CRenderClip& clip) { clip.Restore(hDC); }

void CRenderClip::UseOldClipEnd(HDC hDC, CRenderClip& clip) {
  // The narrowed clip was the old clip within the new region; the region
  // alone could reach outside the old clip.
  clip.Restore(hDC);
  ::ExtSelectClipRgn(hDC, static_cast<HRGN>(clip.hRgn.Get()), RGN_AND);
}

}  // namespace SkinUI
