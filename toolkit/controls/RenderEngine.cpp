#include "toolkit/controls/RenderEngine.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {
namespace {

constexpr short kNeutralHue = 180;
constexpr short kNeutralPercent = 100;

// One channel of the standard HSL to RGB conversion; `t` is the hue as a
// fraction of a turn, shifted by a third for red and blue.
double HueToChannel(double p, double q, double t) {
  t -= std::floor(t);
  if (t < 1.0 / 6.0) return p + (q - p) * 6.0 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3.0) return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
  return p;
}

// Channels are truncated, not rounded; the small allowance keeps a channel
// that is 1.0 in exact arithmetic from coming out as 254 after the
// floating-point steps of the conversion.
BYTE ToByte(double channel) {
  return static_cast<BYTE>(std::clamp(channel * 255.0 + 1e-6, 0.0, 255.0));
}

}  // namespace

DWORD CRenderEngine::AdjustColor(DWORD dwColor, short H, short S, short L) {
  if (H == kNeutralHue && S == kNeutralPercent && L == kNeutralPercent) return dwColor;
  // The lowest byte is taken as red and the third as blue, the order of a
  // GDI colour value; skins are tuned to that, so it stays.
  const double red = (dwColor & 0xFF) / 255.0;
  const double green = ((dwColor >> 8) & 0xFF) / 255.0;
  const double blue = ((dwColor >> 16) & 0xFF) / 255.0;
  const double high = std::max({red, green, blue});
  const double low = std::min({red, green, blue});
  double hue = 0.0;
  double saturation = 0.0;
  double lightness = (high + low) / 2.0;
  if (high != low) {
    const double delta = high - low;
    saturation = lightness <= 0.5 ? delta / (high + low) : delta / (2.0 - high - low);
    if (high == red) {
      hue = (green - blue) / delta;
    } else if (high == green) {
      hue = 2.0 + (blue - red) / delta;
    } else {
      hue = 4.0 + (red - green) / delta;
    }
    hue *= 60.0;
    if (hue < 0.0) hue += 360.0;
  }

  hue += H - kNeutralHue;
  if (hue <= 0.0) hue += 360.0;
  saturation *= S / 100.0;
  lightness *= L / 100.0;

  double outRed = lightness;
  double outGreen = lightness;
  double outBlue = lightness;
  if (saturation != 0.0) {
    const double q = lightness < 0.5 ? lightness * (1.0 + saturation)
                                     : lightness + saturation - lightness * saturation;
    const double p = 2.0 * lightness - q;
    const double turn = hue / 360.0;
    outRed = HueToChannel(p, q, turn + 1.0 / 3.0);
    outGreen = HueToChannel(p, q, turn);
    outBlue = HueToChannel(p, q, turn - 1.0 / 3.0);
  }
  return (dwColor & 0xFF000000) | (static_cast<DWORD>(ToByte(outBlue)) << 16) |
         (static_cast<DWORD>(ToByte(outGreen)) << 8) | ToByte(outRed);
}

HBITMAP CRenderEngine::CreateBitmap(HDC hDC, int cx, int cy, DWORD** pBits) {
  if (pBits != nullptr) *pBits = nullptr;
  if (cx <= 0 || cy <= 0) return nullptr;
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = cx;
  // A negative height makes the rows run top-down.
  bmi.bmiHeader.biHeight = -cy;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr && pBits != nullptr) *pBits = static_cast<DWORD*>(bits);
  return bitmap;
}

}  // namespace SkinUI
