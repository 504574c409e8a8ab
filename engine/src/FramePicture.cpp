#include "src/FramePicture.h"

#include "src/Base64.h"

#include <climits>

// The decoder's functions stay private to this file, so that other parts of
// the program can have their own copy.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
// Every picture of a page passes through this decoder, so it uses the
// vector unit.  The decoder leaves it off on 32-bit MinGW because the
// stack may be only 4-byte aligned there; this file is built with
// -mstackrealign, which restores the alignment the vector code needs.
#define STBI_MINGW_ENABLE_SSE2
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace engine {

bool DecodeFramePicture(const std::string& base64, FramePicture& picture) {
  std::string bytes;
  if (!DecodeBase64(base64, bytes) || bytes.empty() || bytes.size() > INT_MAX) return false;
  int width = 0;
  int height = 0;
  int channels = 0;
  stbi_uc* rgba =
      stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                            static_cast<int>(bytes.size()), &width, &height, &channels, 4);
  if (rgba == nullptr) return false;
  picture.width = width;
  picture.height = height;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  picture.pixels.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const stbi_uc* p = rgba + i * 4;
    picture.pixels[i] = (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) |
                        static_cast<uint32_t>(p[2]);
  }
  stbi_image_free(rgba);
  return true;
}

}  // namespace engine
