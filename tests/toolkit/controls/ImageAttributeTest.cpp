// The image description grammar and how an attribute loads its image.

#include "toolkit/controls/ImageAttribute.h"

#include <windows.h>

#include <string>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CImageAttribute;

struct Fields {
  std::wstring name;
  std::wstring resType;
  RECT dest;
  RECT source;
  RECT corner;
  int fade;
  DWORD mask;
  bool hole;
  bool xtiled;
  bool ytiled;
};

struct GrammarCase {
  const wchar_t* text;
  Fields expected;
};

constexpr RECT kNone = {0, 0, 0, 0};

void PrintTo(const GrammarCase& c, std::ostream* os) {
  std::wstring text = c.text;
  *os << std::string(text.begin(), text.end());
}

class ImageAttributeGrammar : public ::testing::TestWithParam<GrammarCase> {};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_P(ImageAttributeGrammar, ParsesTheFields) {
  const GrammarCase& c = GetParam();
  CImageAttribute image;
  image.SetAttributeString(c.text);
  EXPECT_EQ(std::wstring(image.GetAttributeString()), c.text);
  EXPECT_EQ(std::wstring(image.GetImageName()), c.expected.name);
  EXPECT_EQ(std::wstring(image.GetResType()), c.expected.resType);
  EXPECT_TRUE(SameRect(image.GetDest(), c.expected.dest));
  EXPECT_TRUE(SameRect(image.GetSource(), c.expected.source));
  EXPECT_TRUE(SameRect(image.GetCorner(), c.expected.corner));
  EXPECT_EQ(image.GetFade(), c.expected.fade);
  EXPECT_EQ(image.GetMask(), c.expected.mask);
  EXPECT_EQ(image.IsHole(), c.expected.hole);
  EXPECT_EQ(image.IsTiledX(), c.expected.xtiled);
  EXPECT_EQ(image.IsTiledY(), c.expected.ytiled);
  EXPECT_EQ(image.GetImageInfo(), nullptr);
  EXPECT_TRUE(image.IsLoadSuccess());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ImageAttributeGrammar,
    ::testing::Values(
        // A bare name is the image name, everything else default.
        GrammarCase{L"bk.png", {L"bk.png", L"", kNone, kNone, kNone, 255, 0, false, false, false}},
        GrammarCase{L"file='a.png' corner='4,4,4,4' hole='true'",
                    {L"a.png", L"", kNone, kNone, {4, 4, 4, 4}, 255, 0, true, false, false}},
        GrammarCase{L"res='101' restype='PNG'",
                    {L"101", L"PNG", kNone, kNone, kNone, 255, 0, false, false, false}},
        GrammarCase{L"file='a.png' dest='0,0,10,10'",
                    {L"a.png", L"", {0, 0, 10, 10}, kNone, kNone, 255, 0, false, false, false}},
        // Two spaces between pairs end the parse after the first pair.
        GrammarCase{L"file='a.png'  dest='0,0,10,10'",
                    {L"a.png", L"", kNone, kNone, kNone, 255, 0, false, false, false}},
        // So does anything but a space after a closing quote.
        GrammarCase{L"file='a.png',dest='0,0,10,10'",
                    {L"a.png", L"", kNone, kNone, kNone, 255, 0, false, false, false}},
        // Spaces around the equals sign and before the first key are fine.
        GrammarCase{L"  file = 'a.png' source='1,2,3,4'",
                    {L"a.png", L"", kNone, {1, 2, 3, 4}, kNone, 255, 0, false, false, false}},
        // A missing closing quote ends the parse; earlier pairs stay.
        GrammarCase{
            L"fade='10' file='a.png",
            {L"fade='10' file='a.png", L"", kNone, kNone, kNone, 10, 0, false, false, false}},
        // A value without quotes ends it too.
        GrammarCase{L"file=a.png",
                    {L"file=a.png", L"", kNone, kNone, kNone, 255, 0, false, false, false}},
        // Fade keeps the low eight bits.
        GrammarCase{L"file='x.png' fade='300'",
                    {L"x.png", L"", kNone, kNone, kNone, 44, 0, false, false, false}},
        GrammarCase{L"file='x.png' fade='-1'",
                    {L"x.png", L"", kNone, kNone, kNone, 255, 0, false, false, false}},
        // Masks are hexadecimal with or without '#'.
        GrammarCase{L"file='x.png' mask='#FFFF00FF'",
                    {L"x.png", L"", kNone, kNone, kNone, 255, 0xFFFF00FF, false, false, false}},
        GrammarCase{L"file='x.png' mask='ff00ff'",
                    {L"x.png", L"", kNone, kNone, kNone, 255, 0x00FF00FF, false, false, false}},
        // Only the exact text "true" switches a flag on.
        GrammarCase{L"file='x.png' xtiled='true' ytiled='TRUE' hole='1'",
                    {L"x.png", L"", kNone, kNone, kNone, 255, 0, false, true, false}},
        GrammarCase{L"file='x.png' ytiled='true'",
                    {L"x.png", L"", kNone, kNone, kNone, 255, 0, false, false, true}},
        // Numbers are separated by one character of any kind; missing ones
        // are 0, and a short list does not read past its end.
        GrammarCase{L"file='x.png' corner='4'",
                    {L"x.png", L"", kNone, kNone, {4, 0, 0, 0}, 255, 0, false, false, false}},
        GrammarCase{L"file='x.png' corner='1;2|3 4'",
                    {L"x.png", L"", kNone, kNone, {1, 2, 3, 4}, 255, 0, false, false, false}},
        GrammarCase{L"file='x.png' corner='1,,3'",
                    {L"x.png", L"", kNone, kNone, {1, 0, 3, 0}, 255, 0, false, false, false}},
        // Empty values and unknown keys are ignored; keys are case-sensitive.
        GrammarCase{L"file='' fade='7'",
                    {L"file='' fade='7'", L"", kNone, kNone, kNone, 7, 0, false, false, false}},
        GrammarCase{L"File='y.png' colour='red' file='x.png'",
                    {L"x.png", L"", kNone, kNone, kNone, 255, 0, false, false, false}}));

TEST(ImageAttribute, ASecondTextResetsEveryField) {
  CImageAttribute image;
  image.SetAttributeString(L"file='a.png' corner='1,2,3,4' fade='9' hole='true'");
  image.SetAttributeString(L"b.png");
  EXPECT_EQ(std::wstring(image.GetImageName()), L"b.png");
  EXPECT_TRUE(SameRect(image.GetCorner(), kNone));
  EXPECT_EQ(image.GetFade(), 255);
  EXPECT_FALSE(image.IsHole());
}

TEST(ImageAttribute, ModifyParsesOverTheFieldsWithoutResetting) {
  CImageAttribute image;
  image.SetAttributeString(L"file='a.png' corner='1,2,3,4'");
  image.ModifyAttribute(L"dest='5,6,7,8' fade='100'");
  EXPECT_EQ(std::wstring(image.GetAttributeString()), L"file='a.png' corner='1,2,3,4'");
  EXPECT_EQ(std::wstring(image.GetImageName()), L"a.png");
  EXPECT_TRUE(SameRect(image.GetCorner(), RECT{1, 2, 3, 4}));
  EXPECT_TRUE(SameRect(image.GetDest(), RECT{5, 6, 7, 8}));
  EXPECT_EQ(image.GetFade(), 100);
}

TEST(ImageAttribute, IsLoadSuccessNeedsAText) {
  CImageAttribute image;
  EXPECT_FALSE(image.IsLoadSuccess());
  image.SetAttributeString(L"a.png");
  EXPECT_TRUE(image.IsLoadSuccess());
}

// Loading goes through the manager's image table; images put there
// directly need no files.
class ImageAttributeLoad : public ::testing::Test {
 protected:
  const SkinUI::TImageInfo* Add(const wchar_t* name, int width, int height) {
    HBITMAP bitmap = test::MakeBitmap(width, height, [](int, int) { return 0xFF112233u; });
    return m_manager.AddImage(name, bitmap, width, height, false);
  }

  SkinUI::CPaintManagerUI m_manager;
};

TEST_F(ImageAttributeLoad, AnUnsetSourceBecomesTheWholeBitmap) {
  const SkinUI::TImageInfo* info = Add(L"whole.png", 20, 10);
  CImageAttribute image;
  image.SetAttributeString(L"whole.png");
  ASSERT_TRUE(image.LoadImageW(&m_manager));
  EXPECT_EQ(image.GetImageInfo(), info);
  EXPECT_TRUE(SameRect(image.GetSource(), RECT{0, 0, 20, 10}));
}

TEST_F(ImageAttributeLoad, ASourceLargerThanTheBitmapIsCut) {
  Add(L"small.png", 20, 10);
  CImageAttribute image;
  image.SetAttributeString(L"file='small.png' source='5,2,40,30'");
  ASSERT_TRUE(image.LoadImageW(&m_manager));
  EXPECT_TRUE(SameRect(image.GetSource(), RECT{5, 2, 20, 10}));
}

TEST_F(ImageAttributeLoad, AFailedLoadIsNotTriedAgain) {
  CImageAttribute image;
  image.SetAttributeString(L"file='later.png'");
  EXPECT_FALSE(image.LoadImageW(&m_manager));
  EXPECT_FALSE(image.IsLoadSuccess());
  // The image exists now, but the attribute remembers its failure ...
  Add(L"later.png", 4, 4);
  EXPECT_FALSE(image.LoadImageW(&m_manager));
  // ... until it is given another text.
  image.SetAttributeString(L"later.png");
  EXPECT_TRUE(image.LoadImageW(&m_manager));
}

TEST_F(ImageAttributeLoad, CopiesCarryTheLoadedImage) {
  const SkinUI::TImageInfo* info = Add(L"copy.png", 8, 8);
  CImageAttribute image;
  image.SetAttributeString(L"copy.png");
  ASSERT_TRUE(image.LoadImageW(&m_manager));
  CImageAttribute copy(image);
  copy.ModifyAttribute(L"dest='1,1,4,4'");
  EXPECT_EQ(copy.GetImageInfo(), info);
  CImageAttribute assigned;
  assigned = image;
  EXPECT_EQ(assigned.GetImageInfo(), info);
}

TEST_F(ImageAttributeLoad, AModifiedImageNameDropsTheLoadedImage) {
  Add(L"one.png", 8, 8);
  const SkinUI::TImageInfo* two = Add(L"two.png", 6, 3);
  CImageAttribute image;
  image.SetAttributeString(L"one.png");
  ASSERT_TRUE(image.LoadImageW(&m_manager));
  image.ModifyAttribute(L"file='two.png'");
  EXPECT_EQ(image.GetImageInfo(), nullptr);
  ASSERT_TRUE(image.LoadImageW(&m_manager));
  EXPECT_EQ(image.GetImageInfo(), two);
}

TEST_F(ImageAttributeLoad, NoManagerLoadsNothingAndKeepsTrying) {
  Add(L"kept.png", 8, 8);
  CImageAttribute image;
  image.SetAttributeString(L"kept.png");
  EXPECT_FALSE(image.LoadImageW(nullptr));
  EXPECT_TRUE(image.LoadImageW(&m_manager));
}

}  // namespace
