#include "toolkit/controls/SkinGeometry.h"
#include "toolkit/controls/StringOrId.h"
#include "toolkit/controls/WaitCursor.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using SkinUI::CPoint;
using SkinUI::CSize;
using SkinUI::CSkinRect;
using SkinUI::STRINGorID;

void ExpectRect(const RECT& rect, int left, int top, int right, int bottom) {
  EXPECT_EQ(left, rect.left);
  EXPECT_EQ(top, rect.top);
  EXPECT_EQ(right, rect.right);
  EXPECT_EQ(bottom, rect.bottom);
}

TEST(SkinRect, ConstructionAndMeasures) {
  ExpectRect(CSkinRect(), 0, 0, 0, 0);
  EXPECT_TRUE(CSkinRect().IsNull());
  const RECT platform = {1, 2, 30, 40};
  const CSkinRect rect(platform);
  ExpectRect(rect, 1, 2, 30, 40);
  EXPECT_EQ(29, rect.GetWidth());
  EXPECT_EQ(38, rect.GetHeight());
  EXPECT_FALSE(rect.IsNull());
  // Reversed sides give negative measures; nothing is normalised behind
  // the caller's back.
  EXPECT_EQ(-10, CSkinRect(10, 10, 0, 0).GetWidth());
  EXPECT_FALSE(CSkinRect(0, 0, 0, 1).IsNull());
  CSkinRect emptied(5, 6, 7, 8);
  emptied.Empty();
  EXPECT_TRUE(emptied.IsNull());
}

TEST(SkinRect, JoinTakesTheOuterSidesEvenOfEmptyRectangles) {
  CSkinRect rect(10, 10, 20, 20);
  rect.Join(CSkinRect(15, 5, 30, 18));
  ExpectRect(rect, 10, 5, 30, 20);
  // An all-zero rectangle still pulls left and top to 0.
  rect.Join(CSkinRect());
  ExpectRect(rect, 0, 0, 30, 20);
}

TEST(SkinRect, ResetOffsetAndNormalize) {
  CSkinRect rect(-5, 7, 10, 27);
  rect.ResetOffset();
  ExpectRect(rect, 0, 0, 15, 20);
  CSkinRect reversed(10, 20, 0, 5);
  reversed.Normalize();
  ExpectRect(reversed, 0, 5, 10, 20);
  CSkinRect half(0, 20, 10, 5);
  half.Normalize();
  ExpectRect(half, 0, 5, 10, 20);
}

TEST(SkinRect, PlatformOperationsReportTheirResults) {
  CSkinRect rect(0, 0, 10, 10);
  EXPECT_TRUE(rect.Offset(5, -5));
  ExpectRect(rect, 5, -5, 15, 5);
  EXPECT_TRUE(rect.Inflate(2, 3));
  ExpectRect(rect, 3, -8, 17, 8);
  EXPECT_TRUE(rect.Deflate(2, 3));
  ExpectRect(rect, 5, -5, 15, 5);

  EXPECT_TRUE(rect.Intersect(CSkinRect(10, 0, 30, 30)));
  ExpectRect(rect, 10, 0, 15, 5);
  // No overlap: the platform empties the rectangle and reports failure.
  EXPECT_FALSE(rect.Intersect(CSkinRect(100, 100, 110, 110)));
  ExpectRect(rect, 0, 0, 0, 0);

  CSkinRect united(0, 0, 10, 10);
  EXPECT_TRUE(united.Union(CSkinRect(20, 20, 30, 30)));
  ExpectRect(united, 0, 0, 30, 30);
  // Unlike Join, the platform's union ignores an empty rectangle.
  CSkinRect ignoring(10, 10, 20, 20);
  EXPECT_TRUE(ignoring.Union(CSkinRect()));
  ExpectRect(ignoring, 10, 10, 20, 20);
  CSkinRect nothing;
  EXPECT_FALSE(nothing.Union(CSkinRect()));
}

TEST(SkinSizeAndPoint, Construction) {
  const CSize zero;
  EXPECT_EQ(0, zero.cx);
  EXPECT_EQ(0, zero.cy);
  const CSize size(3, 4);
  EXPECT_EQ(3, size.cx);
  EXPECT_EQ(4, size.cy);
  const CSize fromRect(CSkinRect(10, 20, 15, 60));
  EXPECT_EQ(5, fromRect.cx);
  EXPECT_EQ(40, fromRect.cy);

  const CPoint origin;
  EXPECT_EQ(0, origin.x);
  EXPECT_EQ(0, origin.y);
  const CPoint point(-3, 9);
  EXPECT_EQ(-3, point.x);
  EXPECT_EQ(9, point.y);
}

TEST(SkinSizeAndPoint, PackedCoordinatesAreSignedSixteenBitHalves) {
  struct Case {
    LPARAM packed;
    int x;
    int y;
  };
  const Case cases[] = {
      {MAKELPARAM(10, 20), 10, 20},
      {static_cast<LPARAM>(0x0005FFFF), -1, 5},
      {static_cast<LPARAM>(0xFFFF0007), 7, -1},
      {static_cast<LPARAM>(0x80007FFF), 32767, -32768},
      {0, 0, 0},
  };
  for (const Case& c : cases) {
    const CPoint point(c.packed);
    EXPECT_EQ(c.x, point.x) << std::hex << c.packed;
    EXPECT_EQ(c.y, point.y) << std::hex << c.packed;
  }
}

TEST(StringOrId, ValuesBelowSixtyFiveThousandFiveHundredThirtySixAreIds) {
  const STRINGorID id(101u);
  EXPECT_TRUE(id.IsId());
  EXPECT_EQ(101, id.GetId());
  EXPECT_EQ(MAKEINTRESOURCEW(101), id.m_lpstr);
  const STRINGorID largest(0xFFFFu);
  EXPECT_TRUE(largest.IsId());
  const wchar_t* name = L"BrowserWnd.xml";
  const STRINGorID text(name);
  EXPECT_FALSE(text.IsId());
  EXPECT_EQ(name, text.m_lpstr);
}

TEST(WaitCursor, ShowsTheWaitCursorAndPutsThePreviousOneBack) {
  const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
  ASSERT_NE(nullptr, wait);
  ::SetCursor(arrow);
  ASSERT_EQ(arrow, ::GetCursor());
  {
    SkinUI::CWaitCursor outer;
    EXPECT_EQ(wait, ::GetCursor());
    {
      SkinUI::CWaitCursor inner;
      EXPECT_EQ(wait, ::GetCursor());
    }
    EXPECT_EQ(wait, ::GetCursor());
  }
  EXPECT_EQ(arrow, ::GetCursor());
}

}  // namespace
