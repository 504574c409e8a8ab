// Image decoding into premultiplied bitmaps, the mask rule, where image
// bytes come from, and the paint manager's image table.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/toolkit/core/CoreTestSupport.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CPaintManagerUI;
using SkinUI::TImageInfo;

struct ImageOwner {
  explicit ImageOwner(TImageInfo* image) : image(image) {}
  ~ImageOwner() { CPaintManagerUI::FreeImage(image); }
  ImageOwner(const ImageOwner&) = delete;
  ImageOwner& operator=(const ImageOwner&) = delete;
  TImageInfo* image;
};

struct Pixel {
  int x;
  int y;
  uint32_t value;  // premultiplied, 0xAARRGGBB
};

struct DecodeCase {
  const char* name;
  const wchar_t* file;
  int width;
  int height;
  bool alpha;
  std::vector<Pixel> pixels;
};

class ImageDecoding : public test::SkinSettingsTest,
                      public ::testing::WithParamInterface<DecodeCase> {};

TEST_P(ImageDecoding, GivesPremultipliedTopDownPixels) {
  const DecodeCase& c = GetParam();
  ImageOwner loaded(CPaintManagerUI::LoadImageW(test::CoreData(c.file).c_str()));
  const TImageInfo* image = loaded.image;
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->nX, c.width);
  EXPECT_EQ(image->nY, c.height);
  EXPECT_EQ(image->alphaChannel, c.alpha);
  EXPECT_TRUE(image->sResType.IsEmpty());
  EXPECT_EQ(image->dwMask, 0u);
  DIBSECTION section = {};
  ASSERT_EQ(::GetObjectW(image->hBitmap, sizeof section, &section),
            static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBmih.biBitCount, 32);
  // Rows run top-down: the pixel table's first row is the image's top
  // row (the BMP, stored bottom-up, shows it).
  for (const Pixel& p : c.pixels) {
    EXPECT_EQ(test::ImagePixel(image, p.x, p.y), p.value) << p.x << "," << p.y;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ImageDecoding,
    ::testing::Values(
        // Alpha 128 over (200, 100, 50) is stored as blue 25, green 50,
        // red 100; a transparent pixel becomes all zero.
        DecodeCase{
            "Png",
            L"images\\rgba.png",
            2,
            2,
            true,
            {{0, 0, 0x80643219}, {1, 0, 0xFFFF0000}, {0, 1, 0x00000000}, {1, 1, 0xFF0A141E}}},
        // Stored bottom-up in the file, top-down in the bitmap.
        DecodeCase{"Bmp",
                   L"images\\bars.bmp",
                   3,
                   2,
                   false,
                   {{0, 0, 0xFFFF0000},
                    {1, 0, 0xFF00FF00},
                    {2, 0, 0xFF0000FF},
                    {0, 1, 0xFFFFFFFF},
                    {1, 1, 0xFF000000},
                    {2, 1, 0xFF808080}}},
        // The first of two frames; palette index 3 is transparent.
        DecodeCase{"Gif",
                   L"images\\frames.gif",
                   2,
                   2,
                   true,
                   {{0, 0, 0xFFFF0000}, {1, 0, 0xFF00FF00}, {0, 1, 0xFF0000FF}, {1, 1, 0}}},
        DecodeCase{"Psd", L"images\\layers.psd", 2, 1, true, {{0, 0, 0xFFFA800A}, {1, 0, 0}}},
        // Alpha 102 over (90, 60, 30): 36, 24, 12.
        DecodeCase{
            "Pic", L"images\\tiny.pic", 2, 1, true, {{0, 0, 0xFF0A141E}, {1, 0, 0x6624180C}}},
        DecodeCase{
            "Jpeg",
            L"images\\grey.jpg",
            16,
            8,
            false,
            {{0, 0, 0xFF646464}, {7, 7, 0xFF646464}, {8, 0, 0xFFC8C8C8}, {15, 7, 0xFFC8C8C8}}}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

class ImageLoading : public test::SkinSettingsTest {};

TEST_F(ImageLoading, TheMaskColourBecomesTransparent) {
  // The mask is compared with the stored (premultiplied) pixel value.
  ImageOwner keyed(CPaintManagerUI::LoadImageW(test::CoreData(L"images\\bars.bmp").c_str(), nullptr,
                                               0xFFFF0000));
  ASSERT_NE(keyed.image, nullptr);
  EXPECT_EQ(test::ImagePixel(keyed.image, 0, 0), 0u);
  EXPECT_EQ(test::ImagePixel(keyed.image, 1, 0), 0xFF00FF00);
  // An opaque image with a keyed pixel has alpha now.
  EXPECT_TRUE(keyed.image->alphaChannel);
  // The record itself carries no mask; the image table sets it.
  EXPECT_EQ(keyed.image->dwMask, 0u);

  ImageOwner premultiplied(CPaintManagerUI::LoadImageW(test::CoreData(L"images\\rgba.png").c_str(),
                                                       nullptr, 0x80643219));
  ASSERT_NE(premultiplied.image, nullptr);
  EXPECT_EQ(test::ImagePixel(premultiplied.image, 0, 0), 0u);

  // A mask without alpha never meets an opaque pixel.
  ImageOwner unmatched(CPaintManagerUI::LoadImageW(test::CoreData(L"images\\bars.bmp").c_str(),
                                                   nullptr, 0x00FF0000));
  ASSERT_NE(unmatched.image, nullptr);
  EXPECT_EQ(test::ImagePixel(unmatched.image, 0, 0), 0xFFFF0000);
  EXPECT_FALSE(unmatched.image->alphaChannel);
}

TEST_F(ImageLoading, TheSkinFolderOrTheArchiveIsReadFirst) {
  CPaintManagerUI::SetResourcePath(test::CoreData(L"skin").c_str());
  ImageOwner folder(CPaintManagerUI::LoadImageW(L"bk.png"));
  ASSERT_NE(folder.image, nullptr);
  EXPECT_EQ(test::ImagePixel(folder.image, 0, 0), 0xFF0000FF);

  CPaintManagerUI::SetResourcePath(test::CoreData().c_str());
  CPaintManagerUI::SetResourceZip(L"skin.zip", true);
  ImageOwner archive(CPaintManagerUI::LoadImageW(L"BK.PNG"));
  ASSERT_NE(archive.image, nullptr);
  EXPECT_EQ(test::ImagePixel(archive.image, 0, 0), 0xFF00FF00);
}

TEST_F(ImageLoading, ANameNoReaderHasIsTriedAsAPlainPath) {
  CPaintManagerUI::SetResourcePath(test::CoreData().c_str());
  CPaintManagerUI::SetResourceZip(L"skin.zip", true);
  ImageOwner plain(CPaintManagerUI::LoadImageW(test::CoreData(L"images\\frames.gif").c_str()));
  ASSERT_NE(plain.image, nullptr);
  EXPECT_EQ(plain.image->nX, 2);
}

TEST_F(ImageLoading, ModuleResourcesAreImagesToo) {
  ImageOwner byId(CPaintManagerUI::LoadImageW(101u, L"PNG"));
  ASSERT_NE(byId.image, nullptr);
  EXPECT_EQ(test::ImagePixel(byId.image, 0, 0), 0x80643219);
  ImageOwner byName(CPaintManagerUI::LoadImageW(L"FACE", L"PNG"));
  EXPECT_NE(byName.image, nullptr);
  EXPECT_EQ(CPaintManagerUI::LoadImageW(101u), nullptr);
}

TEST_F(ImageLoading, WhatIsNotAnImageGivesNull) {
  CPaintManagerUI::SetResourcePath(test::CoreData(L"skin").c_str());
  EXPECT_EQ(CPaintManagerUI::LoadImageW(L"readme.txt"), nullptr);
  EXPECT_EQ(CPaintManagerUI::LoadImageW(L"img\\empty.png"), nullptr);
  EXPECT_EQ(CPaintManagerUI::LoadImageW(L"nothing-here.png"), nullptr);
  EXPECT_EQ(CPaintManagerUI::LoadImageW(L""), nullptr);
  EXPECT_EQ(CPaintManagerUI::LoadImageW(static_cast<const wchar_t*>(nullptr)), nullptr);
  // And loading goes on as before.
  ImageOwner after(CPaintManagerUI::LoadImageW(L"bk.png"));
  EXPECT_NE(after.image, nullptr);
}

// The image table of a paint manager.
class ImageTable : public test::SkinSettingsTest {
 protected:
  void SetUp() override {
    test::SkinSettingsTest::SetUp();
    CPaintManagerUI::SetResourcePath(test::CoreData(L"skin").c_str());
  }
  static HBITMAP Bitmap() { return ::CreateBitmap(2, 2, 1, 32, nullptr); }
};

TEST_F(ImageTable, GetImageExLoadsOnceAndKeepsTheImage) {
  CPaintManagerUI manager;
  EXPECT_EQ(manager.GetImage(L"bk.png"), nullptr);
  const TImageInfo* first = manager.GetImageEx(L"bk.png");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(manager.GetImageEx(L"bk.png"), first);
  EXPECT_EQ(manager.GetImage(L"bk.png"), first);
  EXPECT_EQ(manager.GetImageEx(L"missing.png"), nullptr);
  EXPECT_EQ(manager.GetImage(L"missing.png"), nullptr);
}

TEST_F(ImageTable, AddImageRecordsTypeAndMask) {
  CPaintManagerUI manager;
  const TImageInfo* keyed = manager.AddImage(L"img/Button.png", nullptr, 0xFF0A141E);
  ASSERT_NE(keyed, nullptr);
  EXPECT_EQ(keyed->dwMask, 0xFF0A141Eu);
  EXPECT_EQ(test::ImagePixel(keyed, 1, 1), 0u);
  EXPECT_TRUE(keyed->sResType.IsEmpty());
  const TImageInfo* resource = manager.AddImage(L"101", L"PNG");
  ASSERT_NE(resource, nullptr);
  EXPECT_EQ(std::wstring(resource->sResType), L"PNG");
  // With a type the name must be a number.
  EXPECT_EQ(manager.AddImage(L"x101", L"PNG"), nullptr);
  EXPECT_EQ(manager.AddImage(L"nothing.png"), nullptr);
}

TEST_F(ImageTable, ANameAlreadyThereKeepsItsImage) {
  CPaintManagerUI manager;
  const TImageInfo* stored = manager.AddImage(L"bk.png");
  ASSERT_NE(stored, nullptr);
  HBITMAP bitmap = stored->hBitmap;
  EXPECT_EQ(manager.AddImage(L"bk.png", nullptr, 0xFF0000FF), nullptr);
  EXPECT_EQ(manager.GetImage(L"bk.png"), stored);
  EXPECT_EQ(stored->hBitmap, bitmap);
  EXPECT_EQ(stored->dwMask, 0u);
  // A bitmap given for a name already there is deleted.
  HBITMAP refused = Bitmap();
  EXPECT_EQ(manager.AddImage(L"bk.png", refused, 2, 2, false), nullptr);
  EXPECT_EQ(::GetObjectType(refused), 0u);
}

TEST_F(ImageTable, AddImageTakesABitmapOnlyWithASize) {
  CPaintManagerUI manager;
  EXPECT_EQ(manager.AddImage(L"a", nullptr, 2, 2, false), nullptr);
  HBITMAP flat = Bitmap();
  EXPECT_EQ(manager.AddImage(L"b", flat, 0, 2, false), nullptr);
  EXPECT_EQ(::GetObjectType(flat), 0u);
  const TImageInfo* made = manager.AddImage(L"c", Bitmap(), 2, 2, true);
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->alphaChannel);
  EXPECT_EQ(made->nX, 2);
}

TEST_F(ImageTable, RemoveImageFreesIt) {
  CPaintManagerUI manager;
  HBITMAP bitmap = Bitmap();
  ASSERT_NE(manager.AddImage(L"r", bitmap, 2, 2, false), nullptr);
  EXPECT_TRUE(manager.RemoveImage(L"r"));
  EXPECT_EQ(::GetObjectType(bitmap), 0u);
  EXPECT_FALSE(manager.RemoveImage(L"r"));
  EXPECT_EQ(manager.GetImage(L"r"), nullptr);
  HBITMAP other = Bitmap();
  manager.AddImage(L"s", other, 2, 2, false);
  manager.RemoveAllImages();
  EXPECT_EQ(::GetObjectType(other), 0u);
}

TEST_F(ImageTable, ParentsLendTheirImagesToGetImageOnly) {
  CPaintManagerUI parent;
  CPaintManagerUI child;
  ASSERT_TRUE(child.UseParentResource(&parent));
  const TImageInfo* lent = parent.AddImage(L"shared", Bitmap(), 2, 2, false);
  ASSERT_NE(lent, nullptr);
  EXPECT_EQ(child.GetImage(L"shared"), lent);
  // GetImageEx looks in the child's own table and tries to load there.
  EXPECT_EQ(child.GetImageEx(L"shared"), nullptr);
  const TImageInfo* own = child.AddImage(L"shared", Bitmap(), 2, 2, false);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(child.GetImage(L"shared"), own);
}

TEST_F(ImageTable, ReloadAllImagesReadsTheFilesAgain) {
  test::TempFolder skin;
  ASSERT_TRUE(
      ::CopyFileW(test::CoreData(L"skin\\bk.png").c_str(), (skin / L"face.png").c_str(), FALSE));
  CPaintManagerUI::SetResourcePath(skin.Path().c_str());
  CPaintManagerUI manager;
  const TImageInfo* face = manager.AddImage(L"face.png");
  const TImageInfo* resource = manager.AddImage(L"101", L"PNG");
  const TImageInfo* made = manager.AddImage(L"made", Bitmap(), 2, 2, false);
  ASSERT_NE(face, nullptr);
  ASSERT_NE(resource, nullptr);
  ASSERT_NE(made, nullptr);
  HBITMAP madeBitmap = made->hBitmap;
  EXPECT_EQ(face->nX, 3);
  EXPECT_FALSE(face->alphaChannel);

  ASSERT_TRUE(::CopyFileW(test::CoreData(L"images\\rgba.png").c_str(), (skin / L"face.png").c_str(),
                          FALSE));
  manager.ReloadAllImages();
  // The records stay; their bitmaps are the new ones.
  EXPECT_EQ(manager.GetImage(L"face.png"), face);
  EXPECT_EQ(face->nX, 2);
  EXPECT_TRUE(face->alphaChannel);
  EXPECT_EQ(test::ImagePixel(face, 0, 0), 0x80643219u);
  EXPECT_EQ(resource->nX, 2);
  // An image that cannot be read again keeps what it had.
  EXPECT_EQ(made->hBitmap, madeBitmap);
}

TEST_F(ImageTable, ReloadSkinReachesEveryRegisteredManager) {
  test::TempFolder skin;
  ASSERT_TRUE(
      ::CopyFileW(test::CoreData(L"skin\\bk.png").c_str(), (skin / L"face.png").c_str(), FALSE));
  CPaintManagerUI::SetResourcePath(skin.Path().c_str());
  test::TestWindow window;
  CPaintManagerUI manager;
  manager.Init(window.Get());
  const TImageInfo* face = manager.AddImage(L"face.png");
  ASSERT_NE(face, nullptr);
  ASSERT_TRUE(::CopyFileW(test::CoreData(L"images\\rgba.png").c_str(), (skin / L"face.png").c_str(),
                          FALSE));
  CPaintManagerUI::ReloadSkin();
  EXPECT_EQ(face->nX, 2);
}

}  // namespace
