#include "src/FramePicture.h"

#include <emmintrin.h>

#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "src/Base64.h"

// The decoder's functions stay private to this file, so that other parts of
// the program can have their own copy.  It takes its memory with malloc, as
// FramePicture's pixels are given back.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_MALLOC(size) std::malloc(size)
#define STBI_REALLOC(pointer, size) std::realloc(pointer, size)
#define STBI_FREE(pointer) std::free(pointer)
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
namespace {

bool IsJpeg(const unsigned char* bytes, size_t size) {
  return size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
}

// A JPEG's data has no length of its own, and the decoder makes up the
// rest of one that stops short; the browser ends every JPEG with its
// end-of-image marker, so one without it was cut off and is refused.
bool IsCutShortJpeg(const unsigned char* bytes, size_t size) {
  return IsJpeg(bytes, size) && (size < 4 || bytes[size - 2] != 0xFF || bytes[size - 1] != 0xD9);
}

// Whether the JPEG's tables are ones the decoder can take.  The decoder
// trusts the symbol counts of a Huffman table and writes past its own
// table when they add up to more than 256, so every table, before or
// between the scans, is checked before the decoder sees it.  Only
// sequential pictures are taken, as the browser makes them: the decoder's
// progressive code has had faults of its own, and nothing here needs it.
bool HasSafeJpegTables(const unsigned char* bytes, size_t size) {
  size_t at = 2;  // after the start-of-image marker
  while (at + 2 <= size) {
    if (bytes[at] != 0xFF) return false;
    const unsigned char marker = bytes[at + 1];
    if (marker == 0xFF) {  // a fill byte before a marker
      ++at;
      continue;
    }
    if (marker == 0xD9) return true;  // end of image
    if (at + 4 > size) return false;
    const size_t length = (static_cast<size_t>(bytes[at + 2]) << 8) | bytes[at + 3];
    if (length < 2 || at + 2 + length > size) return false;
    if (marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE) return false;
    if (marker == 0xC4) {
      size_t table = at + 4;
      const size_t end = at + 2 + length;
      while (table < end) {
        if (table + 17 > end) return false;
        size_t symbols = 0;
        for (size_t i = 1; i <= 16; ++i) symbols += bytes[table + i];
        if (symbols > 256 || table + 17 + symbols > end) return false;
        table += 17 + symbols;
      }
    }
    at += 2 + length;
    if (marker == 0xDA) {
      // The scan's coded data, up to the next marker: in it 0xFF is
      // followed only by 0 (an escaped 0xFF) or a restart marker.
      while (at + 1 < size && !(bytes[at] == 0xFF && bytes[at + 1] != 0x00 &&
                                (bytes[at + 1] < 0xD0 || bytes[at + 1] > 0xD7))) {
        ++at;
      }
    }
  }
  return false;
}

}  // namespace

void SwapRedAndBlue(uint32_t* pixels, size_t count) {
  size_t i = 0;
  // Four pixels at a time: with green and alpha masked off, red and blue
  // are the low bytes of the two 16-bit halves of each pixel, and swapping
  // the halves swaps them.
  const __m128i greenMask = _mm_set1_epi32(0x0000FF00);
  const __m128i redBlueMask = _mm_set1_epi32(0x00FF00FF);
  for (; i + 4 <= count; i += 4) {
    __m128i* at = reinterpret_cast<__m128i*>(pixels + i);
    const __m128i rgba = _mm_loadu_si128(at);
    __m128i redBlue = _mm_and_si128(rgba, redBlueMask);
    redBlue = _mm_shufflelo_epi16(redBlue, _MM_SHUFFLE(2, 3, 0, 1));
    redBlue = _mm_shufflehi_epi16(redBlue, _MM_SHUFFLE(2, 3, 0, 1));
    _mm_storeu_si128(at, _mm_or_si128(redBlue, _mm_and_si128(rgba, greenMask)));
  }
  for (; i < count; ++i) {
    unsigned char p[4];
    std::memcpy(p, pixels + i, 4);
    const uint32_t pixel = (static_cast<uint32_t>(p[0]) << 16) |
                           (static_cast<uint32_t>(p[1]) << 8) | static_cast<uint32_t>(p[2]);
    std::memcpy(pixels + i, &pixel, 4);
  }
}

namespace {

// Where each pixel of a line `to` long samples a line `from` long: the
// first of its two source pixels and the second's weight out of 256, with
// pixel centres matched as a stretch does.
struct Sample {
  int first;
  int second;
  uint32_t weight;
};

std::vector<Sample> Samples(int from, int to) {
  std::vector<Sample> samples(static_cast<size_t>(to));
  const double step = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    double at = (i + 0.5) * step - 0.5;
    if (at < 0) at = 0;
    if (at > from - 1) at = from - 1;
    const int first = static_cast<int>(at);
    samples[static_cast<size_t>(i)].first = first;
    samples[static_cast<size_t>(i)].second = first + 1 < from ? first + 1 : first;
    samples[static_cast<size_t>(i)].weight = static_cast<uint32_t>((at - first) * 256.0 + 0.5);
  }
  return samples;
}

// One pixel mixed from two by the weight of the second: red and blue, and
// green, each mixed in one multiplication.
inline uint32_t Mix(uint32_t a, uint32_t b, uint32_t weight) {
  const uint32_t keep = 256 - weight;
  const uint32_t redBlue = (((a & 0xFF00FF) * keep + (b & 0xFF00FF) * weight) >> 8) & 0xFF00FF;
  const uint32_t green = (((a & 0x00FF00) * keep + (b & 0x00FF00) * weight) >> 8) & 0x00FF00;
  return redBlue | green;
}

// A source line stretched to the width.
void StretchLine(const uint32_t* from, const std::vector<Sample>& columns, uint32_t* to) {
  for (size_t x = 0; x < columns.size(); ++x) {
    const Sample& s = columns[x];
    to[x] = Mix(from[s.first], from[s.second], s.weight);
  }
}

// Two stretched lines mixed into the output line, four pixels at a time.
void MixLines(const uint32_t* a, const uint32_t* b, uint32_t weight, uint32_t* to, size_t count) {
  size_t x = 0;
  const __m128i zero = _mm_setzero_si128();
  const __m128i keepWeight = _mm_set1_epi16(static_cast<short>(256 - weight));
  const __m128i takeWeight = _mm_set1_epi16(static_cast<short>(weight));
  for (; x + 4 <= count; x += 4) {
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
    // Each byte widened to 16 bits; 255 * 256 still fits unsigned.
    const __m128i low =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(first, zero), keepWeight),
                                     _mm_mullo_epi16(_mm_unpacklo_epi8(second, zero), takeWeight)),
                       8);
    const __m128i high =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(first, zero), keepWeight),
                                     _mm_mullo_epi16(_mm_unpackhi_epi8(second, zero), takeWeight)),
                       8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x), _mm_packus_epi16(low, high));
  }
  for (; x < count; ++x) to[x] = Mix(a[x], b[x], weight);
}

}  // namespace

bool ScaleFramePicture(const FramePicture& from, int width, int height, FramePicture& to) {
  if (!from.pixels || from.width <= 0 || from.height <= 0 || width <= 0 || height <= 0 ||
      width > kMaxPictureSide || height > kMaxPictureSide ||
      static_cast<int64_t>(width) * height > kMaxPicturePixels) {
    return false;
  }
  FramePicture::Pixels pixels;
  if (to.pixels && to.width == width && to.height == height) {
    pixels = std::move(to.pixels);
  } else {
    pixels = FramePicture::Pixels(static_cast<uint32_t*>(
        std::malloc(static_cast<size_t>(width) * static_cast<size_t>(height) * 4)));
    if (!pixels) return false;
  }
  const std::vector<Sample> columns = Samples(from.width, width);
  const std::vector<Sample> rows = Samples(from.height, height);
  // The two source lines the current output line lies between, each
  // stretched once however many output lines use it.
  std::vector<uint32_t> lines(static_cast<size_t>(width) * 2);
  uint32_t* upperLine = lines.data();
  uint32_t* lowerLine = lines.data() + width;
  int upperRow = -1;
  int lowerRow = -1;
  const auto source = [&from](int row) {
    return from.pixels.data() + static_cast<size_t>(row) * static_cast<size_t>(from.width);
  };
  for (int y = 0; y < height; ++y) {
    const Sample& s = rows[static_cast<size_t>(y)];
    if (s.first != upperRow) {
      if (s.first == lowerRow) {
        std::swap(upperLine, lowerLine);
        std::swap(upperRow, lowerRow);
      } else {
        StretchLine(source(s.first), columns, upperLine);
        upperRow = s.first;
      }
    }
    const uint32_t* lower = upperLine;
    if (s.second != upperRow) {
      if (s.second != lowerRow) {
        StretchLine(source(s.second), columns, lowerLine);
        lowerRow = s.second;
      }
      lower = lowerLine;
    }
    MixLines(upperLine, lower, s.weight, pixels.data() + static_cast<size_t>(y) * width,
             static_cast<size_t>(width));
  }
  to.width = width;
  to.height = height;
  to.cssWidth = from.cssWidth;
  to.pixels = std::move(pixels);
  return true;
}

bool DecodeFramePicture(const char* base64, size_t size, FramePicture& picture) {
  std::string bytes;
  if (!DecodeBase64(base64, size, bytes) || bytes.empty() || bytes.size() > INT_MAX) return false;
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  const int length = static_cast<int>(bytes.size());
  int width = 0;
  int height = 0;
  int channels = 0;
  // Only the two kinds the browser sends, each as it writes them.
  static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const bool png = bytes.size() >= 8 && std::memcmp(data, kPngSignature, 8) == 0;
  const bool jpeg = IsJpeg(data, bytes.size());
  if (!png && !jpeg) return false;
  if (jpeg && (IsCutShortJpeg(data, bytes.size()) || !HasSafeJpegTables(data, bytes.size()))) {
    return false;
  }
  // The header is read first, so that a picture claiming a size the
  // program cannot hold takes no memory at all.
  if (!stbi_info_from_memory(data, length, &width, &height, &channels)) return false;
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
      static_cast<int64_t>(width) * height > kMaxPicturePixels) {
    return false;
  }
  // The decoder's own buffer becomes the picture's pixels, put into the
  // DIB's order where they lie: no second buffer of the picture's size is
  // taken and filled.
  stbi_uc* rgba = stbi_load_from_memory(data, length, &width, &height, &channels, 4);
  if (rgba == nullptr) return false;
  FramePicture::Pixels pixels(reinterpret_cast<uint32_t*>(rgba));
  SwapRedAndBlue(pixels.data(), static_cast<size_t>(width) * static_cast<size_t>(height));
  picture.width = width;
  picture.height = height;
  picture.pixels = std::move(pixels);
  return true;
}

bool DecodeFramePicture(const std::string& base64, FramePicture& picture) {
  return DecodeFramePicture(base64.data(), base64.size(), picture);
}

}  // namespace engine
