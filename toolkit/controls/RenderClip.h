// A clip region for the scope of one control's painting: the device
// context's clip is narrowed to a rectangle (or a rounded rectangle) and
// given back as it was when the object goes away.
#pragma once

#include <windows.h>

#include "util/UniqueHandle.h"

namespace SkinUI {

class CRenderClip {
 public:
  CRenderClip() = default;
  CRenderClip(const CRenderClip&) = delete;
  CRenderClip& operator=(const CRenderClip&) = delete;
  // Restores the clip the device context had before.
  ~CRenderClip();

  // Narrows the clip of `hDC` to `rc`.
  static void GenerateClip(HDC hDC, const RECT& rc, CRenderClip& clip);
  // Narrows it to `rc` within the rounded rectangle of `rcItem` whose
  // corner ellipses are 2 `width` x 2 `height`.
  static void GenerateRoundClip(HDC hDC, const RECT& rc, const RECT& rcItem, int width, int height,
                                CRenderClip& clip);
  // Back to the clip from before for a while (UseOldClipBegin), and to
  // the narrowed clip again (UseOldClipEnd).
  static void UseOldClipBegin(HDC hDC, CRenderClip& clip);
  static void UseOldClipEnd(HDC hDC, CRenderClip& clip);

 private:
  // Remembers the current clip and intersects it with `region`.
  void Narrow(HDC hDC, const RECT& rc, HRGN region);
  void Restore(HDC hDC);

  RECT rcItem = {};
  HDC hDC = nullptr;
  CGdiObject hRgn;
  // The clip from before; none when the device context had no clip.
  CGdiObject hOldRgn;
};

}  // namespace SkinUI
