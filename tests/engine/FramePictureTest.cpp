// Pictures of the page as the browser program sends them: real ones it
// made, and the same cut short, corrupted, claiming sizes the program
// cannot hold or none at all, kept in data/pictures.  A picture that does
// not decode leaves the one shown before untouched.
//
// quarters.jpg (a screencast frame) and quarters.png (a screenshot) were
// made by the browser program, kept by `bench_picture --keep`; the broken
// ones were made from them, each broken in the one way its name says.
#include "src/FramePicture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "src/Base64.h"
#include "tests/support/TempFolder.h"

namespace {

std::wstring DataFolder() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"TALMIC_ENGINE_DATA", folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder) + L"\\pictures\\" : std::wstring();
}

// The colours of the page the kept pictures show, a quarter each: red top
// left, green top right, blue bottom left, light grey bottom right.
constexpr uint32_t kQuarters[4] = {0xE01010, 0x10C020, 0x1020E0, 0xF0F0F0};

uint32_t At(const engine::FramePicture& picture, int x, int y) {
  return picture.pixels[static_cast<size_t>(y) * picture.width + x];
}

bool Near(uint32_t pixel, uint32_t colour, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>((pixel >> shift) & 0xFF);
    const int b = static_cast<int>((colour >> shift) & 0xFF);
    if (std::abs(a - b) > tolerance) return false;
  }
  return (pixel >> 24) == 0;
}

std::vector<uint32_t> Copy(const engine::FramePicture& picture) {
  return std::vector<uint32_t>(picture.pixels.data(),
                               picture.pixels.data() + static_cast<size_t>(picture.width) *
                                                           static_cast<size_t>(picture.height));
}

// Each kept file, given as the browser gives a picture (base64 text, or
// the text itself for the .b64 files), either decodes to the quarters at
// the size or is refused.  The JPEG is compared with the tolerance its
// compression needs at the quarters' middles; the PNG is exact.
TEST(FramePicture, KeptPicturesDecodeOrLeaveThePictureShownBefore) {
  struct Case {
    const wchar_t* file;
    bool decodes;
    int tolerance;
  };
  const Case cases[] = {
      {L"quarters.jpg", true, 24},
      {L"quarters.png", true, 2},
      // Base64 text wrapped in lines, as some encoders write it.
      {L"quarters-wrapped.b64", true, 2},
      {L"quarters-cut-in-half.jpg", false, 0},
      {L"quarters-without-end-marker.jpg", false, 0},
      {L"quarters-cut-in-half.png", false, 0},
      {L"quarters-without-image-end.png", false, 0},
      {L"corrupt-frame-header.jpg", false, 0},
      {L"corrupt-compressed-data.png", false, 0},
      {L"corrupt-huffman-table.jpg", false, 0},
      {L"corrupt-huffman-table-after-scan.jpg", false, 0},
      {L"progressive-frame.jpg", false, 0},
      {L"fill-byte-before-start.jpg", false, 0},
      {L"huge-100000x100000.png", false, 0},
      {L"huge-65535x65535.jpg", false, 0},
      {L"side-over-limit-20000x10.png", false, 0},
      {L"pixels-over-limit-16384x16384.png", false, 0},
      {L"zero-width.png", false, 0},
      {L"zero-height.jpg", false, 0},
      {L"empty.bin", false, 0},
      {L"junk.bin", false, 0},
      {L"other-format.gif", false, 0},
      {L"not-base64.b64", false, 0},
      {L"data-after-padding.b64", false, 0},
  };
  ASSERT_FALSE(DataFolder().empty()) << "TALMIC_ENGINE_DATA is not set";
  // The picture shown before: a real one, so that any change shows.
  engine::FramePicture shown;
  ASSERT_TRUE(engine::DecodeFramePicture(
      engine::EncodeBase64(test::ReadFileBytes(DataFolder() + L"quarters.png")), shown));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.file);
    const std::wstring name = c.file;
    const std::string bytes = test::ReadFileBytes(DataFolder() + name);
    const bool isText = name.size() > 4 && name.compare(name.size() - 4, 4, L".b64") == 0;
    ASSERT_TRUE(!bytes.empty() || name == L"empty.bin") << "the file is missing";
    const std::string text = isText ? bytes : engine::EncodeBase64(bytes);

    engine::FramePicture picture;
    picture.width = shown.width;
    picture.height = shown.height;
    picture.pixels = engine::FramePicture::Pixels(static_cast<uint32_t*>(
        std::malloc(static_cast<size_t>(shown.width) * static_cast<size_t>(shown.height) * 4)));
    std::memcpy(picture.pixels.data(), shown.pixels.data(),
                static_cast<size_t>(shown.width) * static_cast<size_t>(shown.height) * 4);
    const uint32_t* before = picture.pixels.data();

    const bool decoded = engine::DecodeFramePicture(text.data(), text.size(), picture);
    EXPECT_EQ(decoded, c.decodes);
    if (!decoded) {
      EXPECT_EQ(picture.pixels.data(), before);
      EXPECT_EQ(picture.width, shown.width);
      EXPECT_EQ(picture.height, shown.height);
      EXPECT_EQ(Copy(picture), Copy(shown));
      continue;
    }
    ASSERT_EQ(picture.width, 64);
    ASSERT_EQ(picture.height, 48);
    const int xs[2] = {16, 48};
    const int ys[2] = {12, 36};
    for (int quarter = 0; quarter < 4; ++quarter) {
      const uint32_t pixel = At(picture, xs[quarter % 2], ys[quarter / 2]);
      EXPECT_TRUE(Near(pixel, kQuarters[quarter], c.tolerance))
          << "quarter " << quarter << " is " << std::hex << pixel << ", expected "
          << kQuarters[quarter];
    }
  }
}

// A picture made from pixels given here, 0x00RRGGBB each.
engine::FramePicture Picture(int width, int height, const std::vector<uint32_t>& pixels) {
  engine::FramePicture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels =
      engine::FramePicture::Pixels(static_cast<uint32_t*>(std::malloc(pixels.size() * 4)));
  std::memcpy(picture.pixels.data(), pixels.data(), pixels.size() * 4);
  return picture;
}

// Stretching, as a view does for a picture at another resolution than its
// window's: the sizes of a 150 % and a 125 % window, of one line, and
// stretching down.  The corners keep their colours, a pixel between two
// is a mix of them, and a one-colour picture stays one colour.
TEST(FramePicture, StretchedPicturesKeepCornersAndMixBetween) {
  const engine::FramePicture corners = Picture(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
  struct Case {
    int width;
    int height;
  };
  for (const Case& c : {Case{3, 3}, Case{5, 4}, Case{2, 2}, Case{9, 1}, Case{1, 7}, Case{40, 30}}) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    engine::FramePicture stretched;
    ASSERT_TRUE(engine::ScaleFramePicture(corners, c.width, c.height, stretched));
    ASSERT_EQ(stretched.width, c.width);
    ASSERT_EQ(stretched.height, c.height);
    if (c.width >= 2 && c.height >= 2) {
      EXPECT_EQ(At(stretched, 0, 0), 0xFF0000u);
      EXPECT_EQ(At(stretched, c.width - 1, 0), 0x00FF00u);
      EXPECT_EQ(At(stretched, 0, c.height - 1), 0x0000FFu);
      EXPECT_EQ(At(stretched, c.width - 1, c.height - 1), 0xFFFFFFu);
    }
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) EXPECT_EQ(At(stretched, x, y) >> 24, 0u);
    }
  }
  // The middle of a 3-wide line between red and green is half of each.
  engine::FramePicture line;
  ASSERT_TRUE(engine::ScaleFramePicture(Picture(2, 1, {0xFF0000, 0x00FF00}), 3, 1, line));
  EXPECT_TRUE(Near(At(line, 1, 0), 0x808000, 1)) << std::hex << At(line, 1, 0);

  // A one-colour picture the size of a 150 % window, from a moving
  // picture's size, stays one colour to its edges.
  const engine::FramePicture plain = Picture(128, 80, std::vector<uint32_t>(128 * 80, 0x3366CC));
  engine::FramePicture big;
  ASSERT_TRUE(engine::ScaleFramePicture(plain, 192, 120, big));
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 192; ++x) ASSERT_EQ(At(big, x, y), 0x3366CCu) << x << "," << y;
  }
  // The memory of a stretched picture of the same size is used again.
  const uint32_t* memory = big.pixels.data();
  ASSERT_TRUE(engine::ScaleFramePicture(corners, 192, 120, big));
  EXPECT_EQ(big.pixels.data(), memory);
  EXPECT_EQ(At(big, 0, 0), 0xFF0000u);

  // Sizes no window has leave the picture as it was.
  for (const Case& c :
       {Case{0, 10}, Case{10, 0}, Case{-1, 5}, Case{20000, 10}, Case{16384, 16384}}) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    EXPECT_FALSE(engine::ScaleFramePicture(corners, c.width, c.height, big));
    EXPECT_EQ(big.width, 192);
    EXPECT_EQ(big.pixels.data(), memory);
  }
  EXPECT_FALSE(engine::ScaleFramePicture(engine::FramePicture(), 10, 10, big));
}

// The decoder turns the decoder's red, green, blue, alpha bytes into the
// DIB's order, for every count of pixels (the vector loop takes four at a
// time, the rest one by one).
TEST(FramePicture, RedAndBlueAreSwappedForEveryCount) {
  for (size_t count = 0; count <= 11; ++count) {
    SCOPED_TRACE(count);
    std::vector<uint32_t> pixels(count);
    for (size_t i = 0; i < count; ++i) {
      const unsigned char rgba[4] = {static_cast<unsigned char>(0x10 + i), 0x80,
                                     static_cast<unsigned char>(0xF0 - i), 0xFF};
      std::memcpy(&pixels[i], rgba, 4);
    }
    engine::SwapRedAndBlue(pixels.data(), count);
    for (size_t i = 0; i < count; ++i) {
      EXPECT_EQ(pixels[i], (static_cast<uint32_t>(0x10 + i) << 16) | 0x8000u | (0xF0 - i));
    }
  }
}

}  // namespace
