// A picture of a page as the browser sends it (a base64 PNG or JPEG),
// decoded into 32-bit top-down pixels ready for a DIB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace engine {

struct FramePicture {
  // Pixels in memory taken with malloc (the decoder's own), freed with the
  // picture.
  class Pixels {
   public:
    Pixels() = default;
    explicit Pixels(uint32_t* taken) : m_pixels(taken) {}
    uint32_t* data() { return m_pixels.get(); }
    const uint32_t* data() const { return m_pixels.get(); }
    uint32_t& operator[](size_t i) { return m_pixels[i]; }
    const uint32_t& operator[](size_t i) const { return m_pixels[i]; }
    explicit operator bool() const { return m_pixels != nullptr; }

   private:
    struct Free {
      void operator()(uint32_t* pixels) const { std::free(pixels); }
    };
    std::unique_ptr<uint32_t[], Free> m_pixels;
  };

  int width = 0;
  int height = 0;
  // width * height, top-down rows, each 0x00RRGGBB (in memory blue, green,
  // red and a byte the DIB ignores).
  Pixels pixels;
  // How many CSS pixels of the page the picture's width spans, when the
  // browser program says so; 0 for a picture in the window's own pixels.
  // A moving picture may come at another resolution than the window's.
  double cssWidth = 0.0;
};

// The largest picture taken: a side at most the browser's own largest
// picture, and no more pixels than an 8K screen has.  Larger ones are
// refused before any memory is taken for them.
constexpr int kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = 7680 * 4320;

// False, with the picture untouched, when the text is not a whole PNG or
// JPEG picture within the limits above.  Any thread.
bool DecodeFramePicture(const char* base64, size_t size, FramePicture& picture);
bool DecodeFramePicture(const std::string& base64, FramePicture& picture);

// Makes `to` a copy of the picture stretched to the size, each pixel
// mixed from the four nearest of the picture (bilinear), into `to`'s own
// pixels where they already have that size.  False, with `to` untouched,
// for an empty size or one over the limits above.  Any thread.
bool ScaleFramePicture(const FramePicture& from, int width, int height, FramePicture& to);

// Turns pixels whose bytes are red, green, blue, alpha in memory (as the
// decoder gives them) into the DIB's blue, green, red order, in place.
void SwapRedAndBlue(uint32_t* pixels, size_t count);

}  // namespace engine
