// The default font, custom fonts by position and by description, the
// parent chain and metrics measured on first use.

#include <windows.h>

#include <string>

#include "tests/toolkit/core/CoreTestSupport.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CPaintManagerUI;
using SkinUI::TFontInfo;

LOGFONTW Description(HFONT font) {
  LOGFONTW lf = {};
  ::GetObjectW(font, sizeof lf, &lf);
  return lf;
}

LOGFONTW StockDescription() {
  return Description(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

TEST(PaintManagerFonts, TheDefaultFontIsTheStockGuiFont) {
  CPaintManagerUI manager;
  const LOGFONTW stock = StockDescription();
  const TFontInfo* info = manager.GetDefaultFontInfo();
  ASSERT_NE(info->hFont, nullptr);
  EXPECT_EQ(std::wstring(info->sFontName), stock.lfFaceName);
  EXPECT_EQ(info->iSize, -stock.lfHeight);
  EXPECT_EQ(info->bBold, stock.lfWeight >= FW_BOLD);
  const LOGFONTW made = Description(info->hFont);
  EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(made.lfHeight, stock.lfHeight);
}

TEST(PaintManagerFonts, TheDefaultFontNameAppliesToLaterManagers) {
  CPaintManagerUI before;
  CPaintManagerUI::SetDefaultFontName(L"Tahoma");
  CPaintManagerUI after;
  CPaintManagerUI::SetDefaultFontName(L"");
  EXPECT_EQ(std::wstring(after.GetDefaultFontInfo()->sFontName), L"Tahoma");
  EXPECT_EQ(std::wstring(Description(after.GetDefaultFontInfo()->hFont).lfFaceName), L"Tahoma");
  EXPECT_NE(std::wstring(before.GetDefaultFontInfo()->sFontName), L"Tahoma");
}

TEST(PaintManagerFonts, SetDefaultFontReplacesTheDefault) {
  CPaintManagerUI manager;
  HFONT old = manager.GetDefaultFontInfo()->hFont;
  manager.SetDefaultFont(L"Arial", 20, true, true, false);
  const TFontInfo* info = manager.GetDefaultFontInfo();
  EXPECT_NE(info->hFont, old);
  EXPECT_EQ(::GetObjectType(old), 0u) << "the old default font is deleted";
  EXPECT_EQ(std::wstring(info->sFontName), L"Arial");
  EXPECT_EQ(info->iSize, 20);
  EXPECT_TRUE(info->bBold);
  EXPECT_TRUE(info->bUnderline);
  EXPECT_FALSE(info->bItalic);
  const LOGFONTW lf = Description(info->hFont);
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_GE(lf.lfWeight, FW_BOLD);
  EXPECT_LE(lf.lfWeight, 1000);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_NE(lf.lfQuality, CLEARTYPE_QUALITY);
}

TEST(PaintManagerFonts, AddFontDescribesTheFontAsAsked) {
  CPaintManagerUI manager;
  HFONT font = manager.AddFont(L"Arial", 14, false, false, true);
  ASSERT_NE(font, nullptr);
  const LOGFONTW lf = Description(font);
  EXPECT_EQ(std::wstring(lf.lfFaceName), L"Arial");
  EXPECT_EQ(lf.lfHeight, -14);
  EXPECT_EQ(lf.lfWeight, StockDescription().lfWeight);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_FALSE(lf.lfUnderline);
  EXPECT_EQ(lf.lfQuality, CLEARTYPE_QUALITY);
  EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
}

TEST(PaintManagerFonts, LongFaceNamesAreCutAndStayTerminated) {
  CPaintManagerUI manager;
  const std::wstring name(40, L'F');
  HFONT font = manager.AddFont(name.c_str(), 12, false, false, false);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(std::wstring(Description(font).lfFaceName), std::wstring(31, L'F'));
}

TEST(PaintManagerFonts, FontsAreAddressedByPosition) {
  CPaintManagerUI manager;
  HFONT first = manager.AddFont(L"Arial", 12, false, false, false);
  HFONT second = manager.AddFont(L"Arial", 12, false, false, false);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second) << "duplicates are separate fonts";
  EXPECT_EQ(manager.GetCustomFontCount(), 2u);
  EXPECT_EQ(manager.GetFont(0), first);
  EXPECT_EQ(manager.GetFont(1), second);
  HFONT defaultFont = manager.GetDefaultFontInfo()->hFont;
  EXPECT_EQ(manager.GetFont(-1), defaultFont);
  EXPECT_EQ(manager.GetFont(2), defaultFont);
  EXPECT_EQ(manager.GetFontInfo(2), manager.GetDefaultFontInfo());
  EXPECT_EQ(manager.GetFontIndex(second), 1);
  EXPECT_EQ(manager.GetFontIndex(L"Arial", 12, false, false, false), 0);

  HFONT front = manager.AddFontAt(0, L"Tahoma", 9, true, false, false);
  ASSERT_NE(front, nullptr);
  EXPECT_EQ(manager.GetFont(0), front);
  EXPECT_EQ(manager.GetFont(1), first);
  EXPECT_EQ(manager.AddFontAt(9, L"Tahoma", 9, true, false, false), nullptr);
  EXPECT_EQ(manager.GetCustomFontCount(), 3u);
}

TEST(PaintManagerFonts, LookupByDescriptionIsExact) {
  CPaintManagerUI manager;
  HFONT font = manager.AddFont(L"Arial", 12, true, false, false);
  EXPECT_EQ(manager.GetFont(L"Arial", 12, true, false, false), font);
  EXPECT_EQ(manager.GetFont(L"arial", 12, true, false, false), nullptr);
  EXPECT_EQ(manager.GetFont(L"Arial", 13, true, false, false), nullptr);
  EXPECT_EQ(manager.GetFont(L"Arial", 12, false, false, false), nullptr);
  EXPECT_EQ(manager.GetFont(L"Arial", 12, true, true, false), nullptr);
  EXPECT_EQ(manager.GetFont(L"Arial", 12, true, false, true), nullptr);
  EXPECT_TRUE(manager.FindFont(L"Arial", 12, true, false, false));
  EXPECT_FALSE(manager.FindFont(L"Arial", 12, false, false, false));
  EXPECT_EQ(manager.GetFontIndex(L"Arial", 13, true, false, false), -1);
}

TEST(PaintManagerFonts, ParentsLendTheirFonts) {
  CPaintManagerUI parent;
  CPaintManagerUI child;
  ASSERT_TRUE(child.UseParentResource(&parent));
  HFONT lent = parent.AddFont(L"Arial", 16, false, false, false);
  ASSERT_NE(lent, nullptr);
  EXPECT_EQ(child.GetFont(L"Arial", 16, false, false, false), lent);
  EXPECT_TRUE(child.FindFont(lent));
  EXPECT_EQ(child.GetFontIndex(lent), -1) << "indexes are the child's own";
  EXPECT_EQ(child.GetFontInfo(lent), parent.GetFontInfo(0));
  // By position only the child's own fonts count; beyond them is the
  // default font of the topmost manager.
  EXPECT_EQ(child.GetFont(0), parent.GetDefaultFontInfo()->hFont);
  EXPECT_EQ(child.GetDefaultFontInfo(), parent.GetDefaultFontInfo());
  // An unknown font gives the topmost default font's information.
  HFONT stranger =
      ::CreateFontW(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
  EXPECT_EQ(child.GetFontInfo(stranger), parent.GetDefaultFontInfo());
  EXPECT_FALSE(child.FindFont(stranger));
  ::DeleteObject(stranger);
}

TEST(PaintManagerFonts, RemovingFonts) {
  CPaintManagerUI manager;
  HFONT a = manager.AddFont(L"Arial", 10, false, false, false);
  HFONT b = manager.AddFont(L"Arial", 11, false, false, false);
  HFONT c = manager.AddFont(L"Arial", 12, false, false, false);
  EXPECT_TRUE(manager.RemoveFont(b));
  EXPECT_EQ(::GetObjectType(b), 0u);
  EXPECT_FALSE(manager.RemoveFont(b));
  EXPECT_EQ(manager.GetFont(1), c);
  EXPECT_FALSE(manager.RemoveFontAt(2));
  EXPECT_FALSE(manager.RemoveFontAt(-1));
  EXPECT_TRUE(manager.RemoveFontAt(0));
  EXPECT_EQ(::GetObjectType(a), 0u);
  manager.RemoveAllFonts();
  EXPECT_EQ(manager.GetCustomFontCount(), 0u);
  EXPECT_EQ(::GetObjectType(c), 0u);
}

TEST(PaintManagerFonts, MetricsAreMeasuredOnFirstUseWithThePaintDc) {
  CPaintManagerUI manager;
  HFONT font = manager.AddFont(L"Arial", 24, false, false, false);
  ASSERT_NE(font, nullptr);
  // No window yet, so nothing to measure with.
  EXPECT_EQ(manager.GetFontInfo(0)->tm.tmHeight, 0);
  EXPECT_EQ(manager.GetDefaultFontInfo()->tm.tmHeight, 0);
  test::TestWindow window;
  ASSERT_NE(window.Get(), nullptr);
  manager.Init(window.Get());
  ASSERT_NE(manager.GetPaintDC(), nullptr);
  const TFontInfo* info = manager.GetFontInfo(0);
  EXPECT_GE(info->tm.tmHeight, 20);
  EXPECT_LE(info->tm.tmHeight, 32);
  EXPECT_GT(manager.GetDefaultFontInfo()->tm.tmHeight, 0);
  // A new default font is measured at once now that there is a DC.
  manager.SetDefaultFont(L"Arial", 40, false, false, false);
  EXPECT_GE(manager.GetDefaultFontInfo()->tm.tmHeight, 34);
}

TEST(PaintManagerFonts, AChildMeasuresALentFontWithItsOwnDc) {
  CPaintManagerUI parent;
  CPaintManagerUI child;
  ASSERT_TRUE(child.UseParentResource(&parent));
  HFONT lent = parent.AddFont(L"Arial", 18, false, false, false);
  test::TestWindow window;
  child.Init(window.Get());
  EXPECT_GT(child.GetFontInfo(lent)->tm.tmHeight, 0);
}

}  // namespace
