#include "toolkit/controls/SkinString.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <windows.h>

#include <string>

namespace {

using SkinUI::CSkinString;

bool IsInline(const CSkinString& text) {
  const char* data = reinterpret_cast<const char*>(text.GetData());
  const char* object = reinterpret_cast<const char*>(&text);
  return data >= object && data < object + sizeof(text);
}

// Units of the heap block the C runtime handed out for the text.
size_t HeapUnits(const CSkinString& text) {
  return _msize(const_cast<wchar_t*>(text.GetData())) / sizeof(wchar_t);
}

std::wstring Text(const CSkinString& text) { return std::wstring(text.GetData()); }

std::wstring Letters(int count, wchar_t first = L'a') {
  std::wstring letters;
  for (int i = 0; i < count; ++i) letters += static_cast<wchar_t>(first + i % 26);
  return letters;
}

TEST(SkinStringStorage, EmptyStringsPointAtTheInlineTerminator) {
  const CSkinString empty;
  EXPECT_TRUE(IsInline(empty));
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(0, empty.GetLength());
  EXPECT_EQ(L'\0', empty.GetData()[0]);
  const CSkinString fromNull(static_cast<const wchar_t*>(nullptr));
  EXPECT_TRUE(IsInline(fromNull));
  EXPECT_TRUE(fromNull.IsEmpty());
}

TEST(SkinStringStorage, SixtyTwoCharactersStayInlineAndSixtyThreeGoToAnExactHeapBlock) {
  CSkinString text(Letters(62).c_str());
  EXPECT_TRUE(IsInline(text));
  EXPECT_EQ(62, text.GetLength());

  text += L'!';
  ASSERT_FALSE(IsInline(text));
  EXPECT_EQ(64u, HeapUnits(text));
  EXPECT_EQ(Letters(62) + L"!", Text(text));

  text = L"short";
  EXPECT_TRUE(IsInline(text));
  EXPECT_EQ(L"short", Text(text));
}

TEST(SkinStringStorage, EveryWayOfSettingTheTextObeysTheSameLimit) {
  struct Case {
    const char* name;
    int length;
    bool inlineExpected;
  };
  const Case cases[] = {{"0", 0, true},    {"1", 1, true},    {"62", 62, true},
                        {"63", 63, false}, {"64", 64, false}, {"200", 200, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring letters = Letters(c.length);
    const CSkinString constructed(letters.c_str());
    CSkinString assigned;
    assigned.Assign(letters.c_str());
    CSkinString counted;
    counted.Assign((letters + L"tail").c_str(), c.length);
    CSkinString appended;
    appended.Append(letters.c_str());
    CSkinString piecewise;
    for (wchar_t ch : letters) piecewise += ch;
    const CSkinString copied(constructed);
    CSkinString formatted;
    formatted.Format(L"%s", letters.c_str());
    const CSkinString* const results[] = {&constructed, &assigned, &counted,  &appended,
                                          &piecewise,   &copied,   &formatted};
    for (const CSkinString* text : results) {
      EXPECT_EQ(letters, Text(*text));
      EXPECT_EQ(c.inlineExpected, IsInline(*text));
      if (!c.inlineExpected) {
        EXPECT_EQ(static_cast<size_t>(c.length + 1), HeapUnits(*text));
      }
    }
  }
}

TEST(SkinStringStorage, ALongerLongTextGetsANewBlockAndAShorterOneReusesIt) {
  CSkinString text(Letters(80).c_str());
  ASSERT_EQ(81u, HeapUnits(text));
  text.Assign(Letters(100).c_str());
  EXPECT_EQ(101u, HeapUnits(text));
  text.Assign(Letters(70).c_str());
  EXPECT_EQ(Letters(70), Text(text));
  EXPECT_EQ(101u, HeapUnits(text));
  // Appending always reallocates to the exact size.
  text.Append(L"xyz");
  EXPECT_EQ(74u, HeapUnits(text));
}

TEST(SkinStringStorage, ShorteningOperationsReturnToTheInlineBuffer) {
  CSkinString text(Letters(100).c_str());
  text.Empty();
  EXPECT_TRUE(IsInline(text));
  EXPECT_TRUE(text.IsEmpty());

  text = Letters(100).c_str();
  EXPECT_EQ(1, text.Replace(Letters(100).c_str(), L"x"));
  EXPECT_TRUE(IsInline(text));
  EXPECT_EQ(L"x", Text(text));

  text = Letters(100).c_str();
  text.Assign(text.GetData() + 90);
  EXPECT_TRUE(IsInline(text));
  EXPECT_EQ(Letters(100).substr(90), Text(text));
}

TEST(SkinStringStorage, PartsOfItselfCanBeAssignedAndAppended) {
  for (int length : {10, 62, 63, 90}) {
    SCOPED_TRACE(length);
    const std::wstring letters = Letters(length);
    CSkinString text(letters.c_str());
    text += text;
    EXPECT_EQ(letters + letters, Text(text));
    text = letters.c_str();
    text.Append(text.GetData() + 1);
    EXPECT_EQ(letters + letters.substr(1), Text(text));
    text = letters.c_str();
    text = text;
    EXPECT_EQ(letters, Text(text));
    text.Assign(text.GetData() + 2, 5);
    EXPECT_EQ(letters.substr(2, 5), Text(text));
  }
}

TEST(SkinStringStorage, CopiesAreIndependent) {
  CSkinString original(Letters(70).c_str());
  CSkinString copy(original);
  copy.SetAt(0, L'Z');
  EXPECT_EQ(L'a', original[0]);
  EXPECT_NE(original.GetData(), copy.GetData());
  CSkinString assigned;
  assigned = original;
  assigned.SetAt(1, L'Y');
  EXPECT_EQ(L'b', original.GetAt(1));
}

TEST(SkinStringConstruction, FromCharacterTextAndLength) {
  EXPECT_EQ(L"x", Text(CSkinString(L'x')));
  EXPECT_EQ(L"abc", Text(CSkinString(L"abcdef", 3)));
  EXPECT_EQ(L"abcdef", Text(CSkinString(L"abcdef", -1)));
  EXPECT_EQ(L"abcdef", Text(CSkinString(L"abcdef", -7)));
  EXPECT_EQ(L"", Text(CSkinString(L"abcdef", 0)));
  // A length past the terminator stops at the terminator.
  EXPECT_EQ(L"ab", Text(CSkinString(L"ab", 10)));
  EXPECT_EQ(L"", Text(CSkinString(nullptr, 3)));
}

TEST(SkinStringAssignment, NullTextsEmptyOrAppendNothing) {
  const wchar_t* none = nullptr;
  const char* noneAnsi = nullptr;
  CSkinString text(L"abc");
  text += none;
  text += noneAnsi;
  text.Append(nullptr);
  EXPECT_EQ(L"abc", Text(text));
  text = none;
  EXPECT_TRUE(text.IsEmpty());
  text = L"abc";
  text = noneAnsi;
  EXPECT_TRUE(text.IsEmpty());
  text = L"abc";
  text.Assign(nullptr);
  EXPECT_TRUE(text.IsEmpty());
}

TEST(SkinStringAssignment, CharactersAndConcatenation) {
  CSkinString text;
  text = L'q';
  EXPECT_EQ(L"q", Text(text));
  text += CSkinString(L"rs");
  text += L"t";
  EXPECT_EQ(L"qrst", Text(text));
  const CSkinString joined = text + L"u";
  EXPECT_EQ(L"qrstu", Text(joined));
  EXPECT_EQ(L"qrst", Text(text));
  EXPECT_EQ(L"qrstqrstu", Text(text + joined));
}

// The tests run under the Chinese locale: the ANSI code page is 936 (GBK).
TEST(SkinStringAssignment, EightBitTextIsTakenInTheAnsiCodePage) {
  ASSERT_EQ(936u, GetACP()) << "the tests expect the zh_CN locale";
  CSkinString text;
  text = "\xC8\xB7\xB6\xA8";  // "确定" in GBK
  EXPECT_EQ(L"\u786E\u5B9A", Text(text));
  text += " ok";
  EXPECT_EQ(L"\u786E\u5B9A ok", Text(text));
  std::string longAnsi;
  for (int i = 0; i < 40; ++i) longAnsi += "\xC8\xB7";
  text = longAnsi.c_str();
  EXPECT_EQ(40, text.GetLength());
  longAnsi += longAnsi;
  text = longAnsi.c_str();
  EXPECT_EQ(80, text.GetLength());
  EXPECT_EQ(L'\u786E', text[79]);
}

TEST(SkinStringCompare, OrdinalAndCaseInsensitive) {
  const CSkinString text(L"Button");
  EXPECT_EQ(0, text.Compare(L"Button"));
  EXPECT_LT(text.Compare(L"button"), 0);
  EXPECT_GT(text.Compare(L"Butto"), 0);
  EXPECT_GT(text.Compare(nullptr), 0);
  EXPECT_EQ(0, CSkinString().Compare(nullptr));
  EXPECT_EQ(0, text.CompareNoCase(L"bUTTON"));
  EXPECT_LT(text.CompareNoCase(L"buttons"), 0);
  EXPECT_GT(text.CompareNoCase(L"BUTTOM"), 0);
  EXPECT_GT(text.CompareNoCase(nullptr), 0);
  // UTF-16 units compare unsigned: a unit above 0x7FFF sorts after ASCII.
  EXPECT_GT(CSkinString(L"\u786E").Compare(L"z"), 0);

  EXPECT_TRUE(text == L"Button");
  EXPECT_TRUE(text != L"button");
  EXPECT_TRUE(text < L"C");
  EXPECT_TRUE(text <= L"Button");
  EXPECT_TRUE(text > L"A");
  EXPECT_TRUE(text >= L"Button");
  EXPECT_FALSE(text < L"Button");
  EXPECT_TRUE(text == CSkinString(L"Button"));
}

TEST(SkinStringCase, UpperAndLowerInPlace) {
  CSkinString text(L"Skin-Button_9");
  text.MakeUpper();
  EXPECT_EQ(L"SKIN-BUTTON_9", Text(text));
  text.MakeLower();
  EXPECT_EQ(L"skin-button_9", Text(text));
}

TEST(SkinStringParts, LeftMidRightClampTheirArguments) {
  struct Case {
    const char* name;
    CSkinString result;
    const wchar_t* expected;
  };
  const CSkinString abcdef(L"abcdef");
  const CSkinString abc(L"abc");
  const Case cases[] = {
      {"Left(2)", abc.Left(2), L"ab"},
      {"Left(0)", abc.Left(0), L""},
      {"Left(-1)", abc.Left(-1), L""},
      {"Left(3)", abc.Left(3), L"abc"},
      {"Left(10)", abc.Left(10), L"abc"},
      {"Right(2)", abc.Right(2), L"bc"},
      {"Right(0)", abc.Right(0), L""},
      {"Right(10)", abc.Right(10), L"abc"},
      {"Right(-1)", abc.Right(-1), L""},
      {"Mid(3,-1)", abcdef.Mid(3, -1), L"def"},
      {"Mid(3,-5)", abcdef.Mid(3, -5), L"def"},
      {"Mid(3)", abcdef.Mid(3), L"def"},
      {"Mid(4,10)", abcdef.Mid(4, 10), L"ef"},
      {"Mid(1,2)", abcdef.Mid(1, 2), L"bc"},
      {"Mid(0,0)", abcdef.Mid(0, 0), L""},
      {"Mid(6,-1)", abcdef.Mid(6, -1), L""},
      {"Mid(6,1)", abcdef.Mid(6, 1), L""},
      {"Mid(10,2)", abcdef.Mid(10, 2), L""},
      {"Mid(10,-1)", abcdef.Mid(10, -1), L""},
      {"Mid(-1,2)", abcdef.Mid(-1, 2), L""},
      {"Mid(-1,-1)", abcdef.Mid(-1, -1), L""},
      {"empty Left(1)", CSkinString().Left(1), L""},
      {"empty Right(1)", CSkinString().Right(1), L""},
      {"empty Mid(0,1)", CSkinString().Mid(0, 1), L""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, Text(c.result)) << c.name;

  const std::wstring letters = Letters(100);
  const CSkinString longText(letters.c_str());
  EXPECT_EQ(letters.substr(0, 62), Text(longText.Left(62)));
  EXPECT_TRUE(IsInline(longText.Left(62)));
  EXPECT_FALSE(IsInline(longText.Left(63)));
  EXPECT_EQ(letters.substr(37), Text(longText.Right(63)));
  EXPECT_EQ(letters.substr(50, 20), Text(longText.Mid(50, 20)));
}

TEST(SkinStringSearch, FindAcceptsItsStartPositionOnlyInsideTheString) {
  struct Case {
    const char* name;
    int result;
    int expected;
  };
  const CSkinString abc(L"abc");
  const CSkinString abcabc(L"abcabc");
  const Case cases[] = {
      {"ch c at 0", abc.Find(L'c'), 2},
      {"ch c at 2", abc.Find(L'c', 2), 2},
      {"ch c at 3", abc.Find(L'c', 3), -1},
      {"ch c at -1", abc.Find(L'c', -1), -1},
      {"ch a at 1 of abcabc", abcabc.Find(L'a', 1), 3},
      {"ch z", abc.Find(L'z'), -1},
      {"ch NUL", abc.Find(L'\0'), -1},
      {"ch on empty", CSkinString().Find(L'a'), -1},
      {"text bc", abc.Find(L"bc"), 1},
      {"text empty at 3", abc.Find(L"", 3), 3},
      {"text empty at 0", abc.Find(L""), 0},
      {"text empty at 4", abc.Find(L"", 4), -1},
      {"text c at 3", abc.Find(L"c", 3), -1},
      {"text at -1", abc.Find(L"a", -1), -1},
      {"text bc at 2 of abcabc", abcabc.Find(L"bc", 2), 4},
      {"text null", abc.Find(nullptr), -1},
      {"text longer", abc.Find(L"abcd"), -1},
      {"reverse a", abcabc.ReverseFind(L'a'), 3},
      {"reverse c", abcabc.ReverseFind(L'c'), 5},
      {"reverse z", abcabc.ReverseFind(L'z'), -1},
      {"reverse NUL", abcabc.ReverseFind(L'\0'), -1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, c.result) << c.name;
}

TEST(SkinStringReplace, InsertedTextIsNeverSearchedAgain) {
  struct Case {
    const wchar_t* text;
    const wchar_t* from;
    const wchar_t* to;
    const wchar_t* expected;
    int count;
  };
  const Case cases[] = {
      {L"aXa", L"a", L"aa", L"aaXaa", 2},
      {L"aaa", L"aa", L"b", L"ba", 1},
      {L"abcabc", L"bc", L"", L"aa", 2},
      {L"abc", L"x", L"y", L"abc", 0},
      {L"abc", L"", L"y", L"abc", 0},
      {L"abc", nullptr, L"y", L"abc", 0},
      {L"abc", L"b", nullptr, L"ac", 1},
      {L"", L"a", L"b", L"", 0},
      {L"&amp;&amp;", L"&amp;", L"&", L"&&", 2},
  };
  for (const Case& c : cases) {
    CSkinString text(c.text);
    EXPECT_EQ(c.count, text.Replace(c.from, c.to)) << c.text;
    EXPECT_EQ(c.expected, Text(text)) << c.text;
  }

  // Growing across the inline limit and back.
  CSkinString grown(L"x-x-x");
  EXPECT_EQ(3, grown.Replace(L"x", Letters(30).c_str()));
  EXPECT_EQ(Letters(30) + L"-" + Letters(30) + L"-" + Letters(30), Text(grown));
  EXPECT_FALSE(IsInline(grown));
  EXPECT_EQ(3, grown.Replace(Letters(30).c_str(), L"y"));
  EXPECT_EQ(L"y-y-y", Text(grown));
  EXPECT_TRUE(IsInline(grown));
}

TEST(SkinStringFormat, FormatHasNoLengthLimit) {
  CSkinString text;
  EXPECT_EQ(9, text.Format(L"%d,%s,%c", 42, L"wide", L'z'));
  EXPECT_EQ(L"42,wide,z", Text(text));
  const std::wstring big = Letters(5000);
  EXPECT_EQ(5002, text.Format(L"[%s]", big.c_str()));
  EXPECT_EQ(L"[" + big + L"]", Text(text));
  EXPECT_EQ(0, text.Format(L"%s", L""));
  EXPECT_TRUE(text.IsEmpty());
  text = L"kept";
  EXPECT_EQ(-1, text.Format(nullptr));
  EXPECT_EQ(L"kept", Text(text));
}

TEST(SkinStringFormat, SmallFormatKeepsAtMostSixtyThreeCharacters) {
  CSkinString text;
  const std::wstring hundred = Letters(100);
  EXPECT_EQ(63, text.SmallFormat(L"%s", hundred.c_str()));
  EXPECT_EQ(hundred.substr(0, 63), Text(text));
  EXPECT_EQ(62, text.SmallFormat(L"%s", hundred.substr(0, 62).c_str()));
  EXPECT_TRUE(IsInline(text));
  EXPECT_EQ(63, text.SmallFormat(L"%s", hundred.substr(0, 63).c_str()));
  EXPECT_EQ(hundred.substr(0, 63), Text(text));
  EXPECT_EQ(7, text.SmallFormat(L"%d-%d", 123, 456));
  EXPECT_EQ(L"123-456", Text(text));
}

}  // namespace
