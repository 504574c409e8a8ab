// A control's painting captured as a bitmap.

#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace SkinUI {

HBITMAP CRenderEngine::GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl,
                                      const RECT& rc) {
  if (pManager == nullptr || pControl == nullptr) return nullptr;
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  if (width <= 0 || height <= 0 || rc.left < 0 || rc.top < 0) return nullptr;
  HDC window = pManager->GetPaintDC();
  if (window == nullptr) return nullptr;

  // The control paints in window coordinates, so the canvas reaches from
  // the window's origin to the rectangle's far corner.
  CMemoryDc canvasDc(::CreateCompatibleDC(window));
  CGdiObject canvas(::CreateCompatibleBitmap(window, rc.right, rc.bottom));
  if (!canvasDc || !canvas) return nullptr;
  CSelectObject canvasSelected(canvasDc.Get(), canvas.Get());
  pControl->DoPaint(canvasDc.Get(), rc);

  CMemoryDc copyDc(::CreateCompatibleDC(window));
  DWORD* bits = nullptr;
  CGdiObject bitmap(CreateBitmap(window, width, height, &bits));
  if (!copyDc || !bitmap) return nullptr;
  {
    CSelectObject copySelected(copyDc.Get(), bitmap.Get());
    ::BitBlt(copyDc.Get(), 0, 0, width, height, canvasDc.Get(), rc.left, rc.top, SRCCOPY);
  }
  return static_cast<HBITMAP>(bitmap.Release());
}

}  // namespace SkinUI
