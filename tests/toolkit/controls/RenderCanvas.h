// A bitmap selected into a memory DC: what the render tests draw into and
// read back pixel by pixel.  Usually a 32-bit top-down DIB section, whose
// alpha byte is read too; or a bitmap compatible with the screen, as
// double-buffered painting draws into, which has no alpha.
#pragma once

#include <windows.h>

#include <cstdint>

#include "util/UniqueHandle.h"

namespace test {

// Pixels as they sit in memory: 0xAARRGGBB.
uint32_t Argb(int a, int r, int g, int b);
int AlphaOf(uint32_t pixel);
int RedOf(uint32_t pixel);
int GreenOf(uint32_t pixel);
int BlueOf(uint32_t pixel);
// True when every channel of the two pixels is within `tolerance`.
bool Near(uint32_t actual, uint32_t expected, int tolerance);
// Red, green and blue of a pixel, without its alpha.  Half-tone stretching
// leaves the alpha byte of a DIB at 0 (GDI colours have none), which an
// ordinary window never looks at.
uint32_t Rgb(uint32_t pixel);

class RenderCanvas {
 public:
  enum class Target { DibSection, Screen };

  RenderCanvas(int width, int height, uint32_t fill = 0xFFFFFFFF,
               Target target = Target::DibSection);
  RenderCanvas(const RenderCanvas&) = delete;
  RenderCanvas& operator=(const RenderCanvas&) = delete;
  ~RenderCanvas();

  HDC Dc() const { return m_dc.Get(); }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Flushes GDI's batch first, so that what was drawn is in the bits.  A
  // screen bitmap's pixels read as opaque.
  uint32_t At(int x, int y) const;
  void Fill(uint32_t pixel);
  // How many pixels of the rectangle equal `pixel`.
  int Count(const RECT& area, uint32_t pixel) const;
  // The same comparing red, green and blue only.
  int CountRgb(const RECT& area, uint32_t pixel) const;

 private:
  int m_width;
  int m_height;
  CMemoryDc m_dc;
  CGdiObject m_bitmap;
  HGDIOBJ m_previous = nullptr;
  uint32_t* m_bits = nullptr;
};

// A bitmap made the way the image loader makes them (32-bit top-down,
// premultiplied), filled by a function of the pixel position.
template <typename PixelAt>
HBITMAP MakeBitmap(int width, int height, PixelAt pixelAt);

}  // namespace test

#include "toolkit/controls/RenderEngine.h"

template <typename PixelAt>
HBITMAP test::MakeBitmap(int width, int height, PixelAt pixelAt) {
  DWORD* bits = nullptr;
  HBITMAP bitmap = SkinUI::CRenderEngine::CreateBitmap(nullptr, width, height, &bits);
  if (bitmap == nullptr) return nullptr;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bits[y * width + x] = pixelAt(x, y);
  }
  ::GdiFlush();
  return bitmap;
}
