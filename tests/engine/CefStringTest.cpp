#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "include/internal/cef_string.h"

namespace {

// Text whose release is counted, to see that every owned text is freed
// exactly once and text owned elsewhere never.
int g_freed = 0;

void CountingDtor(wchar_t* str) {
  ++g_freed;
  delete[] str;
}

cef_string_t CountedText(const std::wstring& text) {
  cef_string_t str = {};
  str.str = new wchar_t[text.size() + 1];
  std::memcpy(str.str, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  str.length = text.size();
  str.dtor = &CountingDtor;
  return str;
}

std::wstring Text(const cef_string_t& str) { return std::wstring(str.str, str.length); }

class CefStringAttached : public ::testing::Test {
 protected:
  void SetUp() override { g_freed = 0; }
};

TEST_F(CefStringAttached, WritesIntoTheStructureAndFreesWhatItHeld) {
  // As in a settings structure: the string is a field of something.
  struct {
    cef_string_t cache_path;
  } settings = {CountedText(L"old")};
  CefString(&settings.cache_path) = "C:\\缓存";
  EXPECT_EQ(g_freed, 1);
  const cef_string_t& field = settings.cache_path;
  EXPECT_EQ(Text(field), L"C:\\\x7F13\x5B58");
  ASSERT_NE(field.dtor, nullptr);
  EXPECT_EQ(field.str[field.length], L'\0');

  CefString(&settings.cache_path) = std::wstring(L"wide");
  EXPECT_EQ(Text(field), L"wide");
  CefString(&settings.cache_path) = CefString("copied from a string");
  EXPECT_EQ(Text(field), L"copied from a string");
  CefString(&settings.cache_path).clear();
  EXPECT_EQ(field.length, 0u);
  EXPECT_EQ(field.str, nullptr);
}

TEST_F(CefStringAttached, ReadsWithoutOwningAndCopiesOwn) {
  cef_string_t field = CountedText(L"shared");
  {
    CefString view(&field);
    EXPECT_FALSE(view.IsOwner());
    EXPECT_EQ(view.GetStruct(), &field);
    EXPECT_EQ(view.ToString(), "shared");

    CefString copy = view;
    EXPECT_TRUE(copy.IsOwner());
    EXPECT_NE(copy.c_str(), field.str);

    // Assigning between strings attached to the same structure is no change.
    CefString other(&field);
    other = view;
    EXPECT_EQ(g_freed, 0);

    cef_string_clear(&field);
    EXPECT_EQ(g_freed, 1);
    EXPECT_EQ(copy.ToWString(), L"shared");
  }
  // Neither the view nor its copy freed the structure's text.
  EXPECT_EQ(g_freed, 1);
}

TEST_F(CefStringAttached, AnOwnedAttachmentIsFreedWithTheString) {
  cef_string_userfree_t owned = cef_string_userfree_alloc();
  *owned = CountedText(L"given");
  {
    CefString str;
    str.Attach(owned, true);
    EXPECT_TRUE(str.IsOwner());
    EXPECT_EQ(str.ToWString(), L"given");
  }
  EXPECT_EQ(g_freed, 1);
}

TEST_F(CefStringAttached, UserFreeStructuresHandTheTextOver) {
  CefString str(L"handed over");
  cef_string_userfree_t out = str.DetachToUserFree();
  ASSERT_NE(out, nullptr);
  EXPECT_TRUE(str.empty());
  EXPECT_EQ(Text(*out), L"handed over");

  CefString back;
  back.AttachToUserFree(out);  // frees the structure, keeps the text
  EXPECT_EQ(back.ToWString(), L"handed over");
  EXPECT_EQ(CefString().DetachToUserFree(), nullptr);

  cef_string_t field = CountedText(L"attached");
  CefString view(&field);
  EXPECT_EQ(view.Detach(), &field);
  EXPECT_TRUE(view.empty());
  view = L"its own again";  // the detached string let go of the structure
  EXPECT_EQ(Text(field), L"attached");
  cef_string_clear(&field);
}

TEST(CefString, CopiesAndMovesOwnTheirText) {
  CefString original(L"text");
  CefString copy(original);
  original = L"changed";
  EXPECT_EQ(copy.ToWString(), L"text");

  CefString moved(std::move(copy));
  EXPECT_EQ(moved.ToWString(), L"text");
  EXPECT_TRUE(copy.empty());  // NOLINT: the moved-from state is part of the contract
  copy = std::move(moved);
  EXPECT_EQ(copy.ToWString(), L"text");

  // Text referred to without copying is copied by a copy.
  wchar_t buffer[] = L"buffer";
  CefString reference(buffer, 6, false);
  EXPECT_EQ(reference.c_str(), buffer);
  CefString copied(reference);
  buffer[0] = L'B';
  EXPECT_EQ(copied.ToWString(), L"buffer");
  EXPECT_EQ(reference.ToWString(), L"Buffer");
}

TEST(CefString, EmptyStringsGiveAnEmptyText) {
  CefString empty;
  ASSERT_NE(empty.c_str(), nullptr);
  EXPECT_EQ(empty.c_str()[0], L'\0');
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(empty.ToString(), "");
  cef_string_t field = {};
  EXPECT_TRUE(CefString(&field).empty());
  EXPECT_TRUE(CefString(static_cast<const wchar_t*>(nullptr)).empty());
}

TEST(CefString, ComparesByCodeUnit) {
  struct Case {
    std::wstring a;
    std::wstring b;
    int sign;
  };
  const Case cases[] = {
      {L"", L"", 0},
      {L"abc", L"abc", 0},
      {L"ab", L"abc", -1},
      {L"B", L"a", -1},
      {L"\xE000", L"A", 1},  // a unit above 0x7FFF is not negative
      {std::wstring(L"a\0b", 3), std::wstring(L"a\0c", 3), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(CefString(c.a).ToString() + " vs " + CefString(c.b).ToString());
    const int result = CefString(c.a).compare(CefString(c.b));
    EXPECT_EQ((result > 0) - (result < 0), c.sign);
    EXPECT_EQ(CefString(c.a) < CefString(c.b), c.sign < 0);
    EXPECT_EQ(CefString(c.a) == CefString(c.b), c.sign == 0);
  }
}

TEST(CefStringTypes, SetCopiesOrRefersAndMayReadItsOwnText) {
  cef_string_t str = {};
  const wchar_t text[] = L"abcdef";
  cef_string_utf16_set(text, 6, &str, 0);
  EXPECT_EQ(str.str, text);
  EXPECT_EQ(str.dtor, nullptr);
  cef_string_utf16_clear(&str);  // frees nothing it does not own

  cef_string_utf16_set(text, 6, &str, 1);
  EXPECT_NE(str.str, text);
  // A part of the structure's own text replaces the whole.
  cef_string_utf16_set(str.str + 2, 3, &str, 1);
  EXPECT_EQ(Text(str), L"cde");
  EXPECT_EQ(str.str[3], L'\0');
  cef_string_utf16_clear(&str);
  EXPECT_EQ(str.length, 0u);
}

TEST(CefStringTypes, ConversionsReplaceMalformedInputAndSaySo) {
  struct Case {
    const char* name;
    std::string utf8;
    std::wstring wide;
    int wellFormed;
  };
  const Case cases[] = {
      {"ASCII", "ok", L"ok", 1},
      {"Chinese", "\xE7\xA1\xAE", L"\x786E", 1},
      {"truncated sequence", "a\xE7\xA1", L"a\xFFFD", 0},
      {"stray continuation byte", "\x80z", L"\xFFFDz", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cef_string_t wide = {};
    EXPECT_EQ(cef_string_utf8_to_utf16(c.utf8.data(), c.utf8.size(), &wide), c.wellFormed);
    EXPECT_EQ(Text(wide), c.wide);
    cef_string_clear(&wide);
  }

  const wchar_t loneSurrogate[] = L"x\xD800";
  cef_string_utf8_t utf8 = {};
  EXPECT_EQ(cef_string_utf16_to_utf8(loneSurrogate, 2, &utf8), 0);
  EXPECT_EQ(std::string(utf8.str, utf8.length), "x\xEF\xBF\xBD");
  EXPECT_EQ(cef_string_utf16_to_utf8(L"\x786E", 1, &utf8), 1);
  EXPECT_EQ(std::string(utf8.str, utf8.length), "\xE7\xA1\xAE");
  cef_string_utf8_clear(&utf8);
}

}  // namespace
