// A picture of a page as the browser sends it (a base64 PNG or JPEG),
// decoded into 32-bit top-down BGRA pixels ready for a DIB.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

struct FramePicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height, 0x00RRGGBB
  // How many CSS pixels of the page the picture's width spans, when the
  // browser program says so; 0 for a picture in the window's own pixels.
  // A moving picture may come at another resolution than the window's.
  double cssWidth = 0.0;
};

// False, with the picture untouched, when the text is not a picture.
bool DecodeFramePicture(const std::string& base64, FramePicture& picture);

}  // namespace engine
