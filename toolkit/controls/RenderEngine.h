// The skin toolkit's drawing routines: images (nine-grid with hole, tiling
// and fade), solid colours, gradients, lines and outlines, off-screen
// bitmaps, the hue/saturation/lightness colour adjustment, and plain and
// marked-up text.  All of them are static and keep no state between calls.
//
// Sources by concern: RenderEngine.cpp (bitmaps and colours),
// RenderEngineImage.cpp (images), RenderEngineShapes.cpp (fills, lines and
// outlines), RenderEngineText.cpp (plain text and measuring),
// RenderEngineHtml.cpp (text markup, laid out by CHtmlTextLayout).
#pragma once

#include <windows.h>

namespace SkinUI {

class CControlUI;
class CImageAttribute;
class CPaintManagerUI;
class CSkinString;

class CRenderEngine {
 public:
  // Hue 0...360 with 180 neutral, saturation and lightness in percent with
  // 100 neutral.  The alpha byte is kept.
  static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);
  // A 32-bit top-down DIB section; `pBits` receives its pixels.  Null for
  // a width or height below 1.
  static HBITMAP CreateBitmap(HDC hDC, int cx, int cy, DWORD** pBits);
  // What the control paints inside `rc` (window coordinates), as a new
  // 32-bit bitmap of that size; null when it cannot be made.
  static HBITMAP GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, const RECT& rc);

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

  // Text.  `uStyle` holds DrawText style bits (DT_CENTER, DT_SINGLELINE,
  // DT_CALCRECT, ...); with DT_CALCRECT nothing is drawn and `rc` is set to
  // the size the text needs.  Fonts are indices into the manager's custom
  // fonts; an index outside the table is the default font.

  // Plain text in font `iFont`.  Layered windows and windows set to use
  // GDI+ text get GDI+ text, which keeps the alpha channel; others get GDI
  // text, where `&` is an ordinary character.
  static void DrawTextW(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText,
                        DWORD dwTextColor, int iFont, UINT uStyle);
  // Text in the toolkit's markup (<b>, <c #RRGGBB>, <a target>, <i image>,
  // ...), starting in the default font and `dwTextColor`.  Up to
  // `nLinkRects` links are recorded in `pLinks` and `sLinks` (either may be
  // null for none); `nLinkRects` then holds the number recorded.  The links
  // of the previous drawing tell which link the mouse is over.
  static void DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText,
                           DWORD dwTextColor, RECT* pLinks, CSkinString* sLinks, int& nLinkRects,
                           UINT uStyle);
  // The extent of the whole text on one line in font `iFont`; 0 x 0
  // without text or manager.  The style is not used.
  static SIZE GetTextSize(HDC hDC, CPaintManagerUI* pManager, LPCWSTR pstrText, int iFont,
                          UINT uStyle);
};

}  // namespace SkinUI
