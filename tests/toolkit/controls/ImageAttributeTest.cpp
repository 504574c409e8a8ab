// The image description grammar and how an attribute loads its image.

#include "toolkit/controls/ImageAttribute.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CImageAttribute;

constexpr RECT kNone = {0, 0, 0, 0};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The parsed fields in one line: the image name, then each field that is
// not at its default (no resource type, empty rectangles, fade 255, no
// mask, no flags), so that a case states only what its text changes.
std::wstring Describe(const CImageAttribute& image) {
  std::wstring out(image.GetImageName());
  const auto rect = [&](const wchar_t* label, const RECT& rc) {
    if (SameRect(rc, kNone)) return;
    out += std::wstring(L"; ") + label + L" " + std::to_wstring(rc.left) + L"," +
           std::to_wstring(rc.top) + L"," + std::to_wstring(rc.right) + L"," +
           std::to_wstring(rc.bottom);
  };
  const auto flag = [&](const wchar_t* label, bool on) {
    if (on) out += std::wstring(L"; ") + label;
  };
  const std::wstring resType(image.GetResType());
  if (!resType.empty()) out += L"; restype " + resType;
  rect(L"dest", image.GetDest());
  rect(L"source", image.GetSource());
  rect(L"corner", image.GetCorner());
  if (image.GetFade() != 255) out += L"; fade " + std::to_wstring(image.GetFade());
  if (image.GetMask() != 0) {
    wchar_t mask[16];
    swprintf(mask, 16, L"%08lX", static_cast<unsigned long>(image.GetMask()));
    out += std::wstring(L"; mask ") + mask;
  }
  flag(L"hole", image.IsHole());
  flag(L"xtiled", image.IsTiledX());
  flag(L"ytiled", image.IsTiledY());
  return out;
}

struct GrammarCase {
  const wchar_t* text;
  const wchar_t* fields;  // as Describe gives them
};

void PrintTo(const GrammarCase& c, std::ostream* os) {
  std::wstring text = c.text;
  *os << std::string(text.begin(), text.end());
}

class ImageAttributeGrammar : public ::testing::TestWithParam<GrammarCase> {};

TEST_P(ImageAttributeGrammar, ParsesTheFields) {
  const GrammarCase& c = GetParam();
  CImageAttribute image;
  image.SetAttributeString(c.text);
  EXPECT_EQ(std::wstring(image.GetAttributeString()), c.text);
  EXPECT_EQ(Describe(image), c.fields);
  EXPECT_EQ(image.GetImageInfo(), nullptr);
  EXPECT_TRUE(image.IsLoadSuccess());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ImageAttributeGrammar,
    ::testing::Values(
        // A bare name is the image name, everything else default.
        GrammarCase{L"bk.png", L"bk.png"},
        GrammarCase{L"file='a.png' corner='4,4,4,4' hole='true'", L"a.png; corner 4,4,4,4; hole"},
        GrammarCase{L"res='101' restype='PNG'", L"101; restype PNG"},
        GrammarCase{L"file='a.png' dest='0,0,10,10'", L"a.png; dest 0,0,10,10"},
        // Two spaces between pairs end the parse after the first pair.
        GrammarCase{L"file='a.png'  dest='0,0,10,10'", L"a.png"},
        // So does anything but a space after a closing quote.
        GrammarCase{L"file='a.png',dest='0,0,10,10'", L"a.png"},
        // Spaces around the equals sign and before the first key are fine.
        GrammarCase{L"  file = 'a.png' source='1,2,3,4'", L"a.png; source 1,2,3,4"},
        // A missing closing quote ends the parse; earlier pairs stay.
        GrammarCase{L"fade='10' file='a.png", L"fade='10' file='a.png; fade 10"},
        // A value without quotes ends it too.
        GrammarCase{L"file=a.png", L"file=a.png"},
        // Fade keeps the low eight bits.
        GrammarCase{L"file='x.png' fade='300'", L"x.png; fade 44"},
        GrammarCase{L"file='x.png' fade='-1'", L"x.png"},
        // Masks are hexadecimal with or without '#'.
        GrammarCase{L"file='x.png' mask='#FFFF00FF'", L"x.png; mask FFFF00FF"},
        GrammarCase{L"file='x.png' mask='ff00ff'", L"x.png; mask 00FF00FF"},
        // Only the exact text "true" switches a flag on.
        GrammarCase{L"file='x.png' xtiled='true' ytiled='TRUE' hole='1'", L"x.png; xtiled"},
        GrammarCase{L"file='x.png' ytiled='true'", L"x.png; ytiled"},
        // Numbers are separated by one character of any kind; missing ones
        // are 0, and a short list does not read past its end.
        GrammarCase{L"file='x.png' corner='4'", L"x.png; corner 4,0,0,0"},
        GrammarCase{L"file='x.png' corner='1;2|3 4'", L"x.png; corner 1,2,3,4"},
        GrammarCase{L"file='x.png' corner='1,,3'", L"x.png; corner 1,0,3,0"},
        // Empty values and unknown keys are ignored; keys are case-sensitive.
        GrammarCase{L"file='' fade='7'", L"file='' fade='7'; fade 7"},
        GrammarCase{L"File='y.png' colour='red' file='x.png'", L"x.png"}));

TEST(ImageAttribute, ASecondTextResetsEveryField) {
  CImageAttribute image;
  image.SetAttributeString(L"file='a.png' corner='1,2,3,4' fade='9' hole='true'");
  image.SetAttributeString(L"b.png");
  EXPECT_EQ(std::wstring(image.GetImageName()), L"b.png");
  EXPECT_TRUE(SameRect(image.GetCorner(), kNone));
  EXPECT_EQ(image.GetFade(), 255);
  EXPECT_FALSE(image.IsHole());
}

// Copies own their fields, and an emptied slot reads as a new one.
TEST(ImageAttribute, CopiesAreIndependentAndAnEmptiedSlotIsNew) {
  const std::wstring full = L"a.png; corner 1,2,3,4; fade 9; hole";
  CImageAttribute image;
  image.SetAttributeString(L"file='a.png' corner='1,2,3,4' fade='9' hole='true'");
  CImageAttribute copy(image);
  CImageAttribute assigned;
  assigned = image;
  copy.ModifyAttribute(L"fade='50'");
  EXPECT_EQ(Describe(image), full);
  EXPECT_EQ(Describe(assigned), full);

  image.SetAttributeString(L"");
  EXPECT_EQ(Describe(image), L"");
  EXPECT_TRUE(image.GetAttributeString().IsEmpty());
  EXPECT_EQ(Describe(assigned), full);
  EXPECT_EQ(Describe(copy), L"a.png; corner 1,2,3,4; fade 50; hole");

  // An empty slot copied over a full one empties it.
  assigned = image;
  EXPECT_EQ(Describe(assigned), L"");
  CImageAttribute fromEmpty(image);
  EXPECT_EQ(Describe(fromEmpty), L"");
  // Modifying an empty slot gives it fields of its own only.
  fromEmpty.ModifyAttribute(L"dest='1,1,2,2'");
  EXPECT_EQ(Describe(fromEmpty), L"; dest 1,1,2,2");
  EXPECT_EQ(Describe(image), L"");
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
