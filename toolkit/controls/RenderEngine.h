// The skin toolkit's drawing routines: images (nine-grid with hole, tiling
// and fade), solid colours, gradients, lines and outlines, off-screen
// bitmaps and the hue/saturation/lightness colour adjustment.  All of them
// are static and keep no state between calls.
//
// Sources by concern: RenderEngine.cpp (bitmaps and colours),
// RenderEngineImage.cpp (images), RenderEngineShapes.cpp (fills, lines and
// outlines); text drawing lives in a source of its own.
#pragma once

#include <windows.h>

namespace SkinUI {

class CImageAttribute;
class CPaintManagerUI;

class CRenderEngine {
 public:
  // Hue 0...360 with 180 neutral, saturation and lightness in percent with
  // 100 neutral.  The alpha byte is kept.
  static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);
  // A 32-bit top-down DIB section; `pBits` receives its pixels.  Null for
  // a width or height below 1.
  static HBITMAP CreateBitmap(HDC hDC, int cx, int cy, DWORD** pBits);

  // Draws a loaded image attribute into the control rectangle `rcItem`,
  // limited to `rcPaint`.  False when there is nothing to draw with.
  static bool DrawImage(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                        const CImageAttribute& image);
  // Draws the part `rcBmpPart` of a bitmap into `rc` as a nine-grid whose
  // borders `rcCorners` keep their size, skipping the parts that miss
  // `rcPaint`.
  static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
                        const RECT& rcBmpPart, const RECT& rcCorners, bool alphaChannel,
                        BYTE uFade = 255, bool hole = false, bool xtiled = false,
                        bool ytiled = false);

  // Colours are 0xAARRGGBB and drawn with their alpha.
  static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
  static void DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical,
                           int nSteps);
  // From (left, top) to (right, bottom); the style is a pen style
  // (PS_SOLID ... PS_DASHDOTDOT).
  static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle = PS_SOLID);
  static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
  // `width` and `height` are the corner radii.
  static void DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height,
                            DWORD dwPenColor);
};

}  // namespace SkinUI
