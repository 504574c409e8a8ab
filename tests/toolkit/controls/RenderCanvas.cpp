#include "tests/toolkit/controls/RenderCanvas.h"

#include <windows.h>

#include <cstdlib>

namespace test {

uint32_t Argb(int a, int r, int g, int b) {
  return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) |
         (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
}
int AlphaOf(uint32_t pixel) { return static_cast<int>(pixel >> 24); }
int RedOf(uint32_t pixel) { return static_cast<int>((pixel >> 16) & 0xFF); }
int GreenOf(uint32_t pixel) { return static_cast<int>((pixel >> 8) & 0xFF); }
int BlueOf(uint32_t pixel) { return static_cast<int>(pixel & 0xFF); }

bool Near(uint32_t actual, uint32_t expected, int tolerance) {
  return std::abs(AlphaOf(actual) - AlphaOf(expected)) <= tolerance &&
         std::abs(RedOf(actual) - RedOf(expected)) <= tolerance &&
         std::abs(GreenOf(actual) - GreenOf(expected)) <= tolerance &&
         std::abs(BlueOf(actual) - BlueOf(expected)) <= tolerance;
}

uint32_t Rgb(uint32_t pixel) { return pixel & 0x00FFFFFF; }

RenderCanvas::RenderCanvas(int width, int height, uint32_t fill, Target target)
    : m_width(width), m_height(height), m_dc(::CreateCompatibleDC(nullptr)) {
  if (target == Target::Screen) {
    HDC screen = ::GetDC(nullptr);
    m_bitmap.Reset(::CreateCompatibleBitmap(screen, width, height));
    ::ReleaseDC(nullptr, screen);
  } else {
    DWORD* bits = nullptr;
    m_bitmap.Reset(SkinUI::CRenderEngine::CreateBitmap(m_dc.Get(), width, height, &bits));
    m_bits = reinterpret_cast<uint32_t*>(bits);
  }
  if (m_bitmap) m_previous = ::SelectObject(m_dc.Get(), m_bitmap.Get());
  Fill(fill);
}

RenderCanvas::~RenderCanvas() {
  // The bitmap cannot be deleted while it is selected.
  if (m_previous != nullptr) ::SelectObject(m_dc.Get(), m_previous);
}

uint32_t RenderCanvas::At(int x, int y) const {
  ::GdiFlush();
  if (!m_bitmap || x < 0 || y < 0 || x >= m_width || y >= m_height) return 0xDEADBEEF;
  if (m_bits != nullptr) return m_bits[y * m_width + x];
  const COLORREF colour = ::GetPixel(m_dc.Get(), x, y);
  if (colour == CLR_INVALID) return 0xDEADBEEF;
  return Argb(255, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

void RenderCanvas::Fill(uint32_t pixel) {
  ::GdiFlush();
  if (m_bits != nullptr) {
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = pixel;
  } else if (m_bitmap) {
    const RECT all = {0, 0, m_width, m_height};
    ::SetDCBrushColor(m_dc.Get(), RGB(RedOf(pixel), GreenOf(pixel), BlueOf(pixel)));
    ::FillRect(m_dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  }
}

int RenderCanvas::Count(const RECT& area, uint32_t pixel) const {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += At(x, y) == pixel ? 1 : 0;
  }
  return count;
}

int RenderCanvas::CountRgb(const RECT& area, uint32_t pixel) const {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += Rgb(At(x, y)) == Rgb(pixel) ? 1 : 0;
  }
  return count;
}

}  // namespace test
