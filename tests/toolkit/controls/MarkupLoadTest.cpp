#include "toolkit/controls/Markup.h"

#include "MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using SkinUI::CMarkup;
using SkinUI::MarkupEncoding;
using test::DumpDocument;
using test::ErrorLocation;
using test::ErrorMessage;

const unsigned char* Data(const std::string& bytes) {
  return reinterpret_cast<const unsigned char*>(bytes.data());
}

bool LoadBytes(CMarkup& markup, const std::string& bytes, MarkupEncoding encoding) {
  return markup.LoadFromMem(Data(bytes), bytes.size(), encoding);
}

// "确定" and "取消" in UTF-8 and in GBK (code page 936).
const char kOkUtf8[] = "\xE7\xA1\xAE\xE5\xAE\x9A";
const char kCancelUtf8[] = "\xE5\x8F\x96\xE6\xB6\x88";
const char kOkGbk[] = "\xC8\xB7\xB6\xA8";
const char kCancelGbk[] = "\xC8\xA1\xCF\xFB";
// The root's text is the line break and indent before its child.
const wchar_t kTree[] =
    L"Window{caption=\u786E\u5B9A}\"\r\n  \"(Label{text=\u53D6\u6D88}\"\u786E\u5B9A\")";

std::string Document(const char* ok, const char* cancel) {
  return std::string("<Window caption=\"") + ok + "\">\r\n  <Label text=\"" + cancel + "\">" + ok +
         "</Label>\r\n</Window>\r\n";
}

TEST(MarkupLoad, Utf8WithAndWithoutAByteOrderMarkGiveTheSameTree) {
  const std::string plain = Document(kOkUtf8, kCancelUtf8);
  CMarkup withoutMark;
  ASSERT_TRUE(LoadBytes(withoutMark, plain, MarkupEncoding::Utf8))
      << testing::PrintToString(ErrorMessage(withoutMark));
  EXPECT_EQ(kTree, DumpDocument(withoutMark));
  CMarkup withMark;
  ASSERT_TRUE(LoadBytes(withMark, "\xEF\xBB\xBF" + plain, MarkupEncoding::Utf8));
  EXPECT_EQ(kTree, DumpDocument(withMark));
  // The default encoding is UTF-8.
  CMarkup byDefault;
  ASSERT_TRUE(byDefault.LoadFromMem(Data(plain), plain.size()));
  EXPECT_EQ(kTree, DumpDocument(byDefault));
}

TEST(MarkupLoad, Utf8EdgeCases) {
  CMarkup markup;
  // Only a mark: an empty document.
  EXPECT_TRUE(LoadBytes(markup, "\xEF\xBB\xBF", MarkupEncoding::Utf8));
  EXPECT_TRUE(markup.IsValid());
  EXPECT_FALSE(markup.GetRoot().IsValid());
  EXPECT_TRUE(markup.LoadFromMem(nullptr, 0, MarkupEncoding::Utf8));
  EXPECT_FALSE(markup.GetRoot().IsValid());
  // Two bytes of a mark are no mark: they are text, and broken text at that.
  EXPECT_FALSE(LoadBytes(markup, "\xEF\xBB", MarkupEncoding::Utf8));
  EXPECT_EQ(L"Expected start tag", ErrorMessage(markup));
  // A mark counts only at the start.
  EXPECT_FALSE(LoadBytes(markup, "<a/>\xEF\xBB\xBF", MarkupEncoding::Utf8));
  EXPECT_EQ(L"\uFEFF", ErrorLocation(markup));
  // Invalid sequences become replacement characters.
  ASSERT_TRUE(LoadBytes(markup, "<a v=\"x\xFFy\">\xC3</a>", MarkupEncoding::Utf8));
  EXPECT_STREQ(L"x\uFFFDy", markup.GetRoot().GetAttributeValue(L"v"));
  EXPECT_STREQ(L"\uFFFD", markup.GetRoot().GetValue());
  // Characters outside the basic plane arrive as surrogate pairs.
  ASSERT_TRUE(LoadBytes(markup, "<a v=\"\xF0\x9F\x98\x80\"/>", MarkupEncoding::Utf8));
  EXPECT_STREQ(L"\xD83D\xDE00", markup.GetRoot().GetAttributeValue(L"v"));
  // A zero byte ends the document.
  ASSERT_TRUE(LoadBytes(markup, std::string("<a/>\0junk", 9), MarkupEncoding::Utf8));
  EXPECT_EQ(L"a", DumpDocument(markup));
}

// The tests run under the Chinese locale, where the ANSI code page is 936.
TEST(MarkupLoad, AnsiIsTakenInTheSystemCodePage) {
  ASSERT_EQ(936u, GetACP()) << "the tests expect the zh_CN locale";
  CMarkup markup;
  ASSERT_TRUE(LoadBytes(markup, Document(kOkGbk, kCancelGbk), MarkupEncoding::Ansi));
  EXPECT_EQ(kTree, DumpDocument(markup));
  // The same bytes read as UTF-8 are not that text.
  CMarkup asUtf8;
  ASSERT_TRUE(LoadBytes(asUtf8, Document(kOkGbk, kCancelGbk), MarkupEncoding::Utf8));
  EXPECT_NE(kTree, DumpDocument(asUtf8));
}

TEST(MarkupLoad, Utf16NeedsAByteOrderMarkOfEitherOrder) {
  const std::wstring text =
      L"<Window caption=\"\u786E\u5B9A\">\r\n  <Label text=\"\u53D6\u6D88\">"
      L"\u786E\u5B9A</Label>\r\n</Window>\r\n";
  CMarkup little;
  ASSERT_TRUE(LoadBytes(little, test::Utf16Bytes(text, false), MarkupEncoding::Utf16));
  EXPECT_EQ(kTree, DumpDocument(little));
  CMarkup big;
  ASSERT_TRUE(LoadBytes(big, test::Utf16Bytes(text, true), MarkupEncoding::Utf16));
  EXPECT_EQ(kTree, DumpDocument(big));
  // A trailing odd byte is ignored.
  CMarkup odd;
  ASSERT_TRUE(LoadBytes(odd, test::Utf16Bytes(L"<a/>", false) + "<", MarkupEncoding::Utf16));
  EXPECT_EQ(L"a", DumpDocument(odd));
  // Only a mark: an empty document.
  CMarkup markOnly;
  EXPECT_TRUE(LoadBytes(markOnly, "\xFF\xFE", MarkupEncoding::Utf16));
  EXPECT_FALSE(markOnly.GetRoot().IsValid());

  // Without a mark, or too short for one, nothing is parsed.
  CMarkup refused;
  std::string unmarked = test::Utf16Bytes(L"<a/>", false).substr(2);
  EXPECT_FALSE(LoadBytes(refused, unmarked, MarkupEncoding::Utf16));
  EXPECT_FALSE(refused.IsValid());
  EXPECT_FALSE(LoadBytes(refused, "\xFF", MarkupEncoding::Utf16));
  EXPECT_FALSE(refused.LoadFromMem(nullptr, 0, MarkupEncoding::Utf16));
  EXPECT_FALSE(refused.IsValid());
}

TEST(MarkupLoad, FourMebibytesAreTheLimit) {
  const size_t limit = 4 * 1024 * 1024;
  ASSERT_EQ(limit, CMarkup::kMaxInputBytes);
  const std::string head = "<Window>";
  const std::string tail = "<Label text=\"end\"/></Window>";
  std::string document = head + std::string(limit - head.size() - tail.size(), 'x') + tail;
  ASSERT_EQ(limit, document.size());

  CMarkup markup;
  ASSERT_TRUE(LoadBytes(markup, document, MarkupEncoding::Utf8));
  EXPECT_EQ(limit - head.size() - tail.size(), std::wcslen(markup.GetRoot().GetValue()));
  EXPECT_STREQ(L"end", markup.GetRoot().GetChild().GetAttributeValue(L"text"));

  document.insert(head.size(), "x");
  ASSERT_EQ(limit + 1, document.size());
  for (MarkupEncoding encoding :
       {MarkupEncoding::Utf8, MarkupEncoding::Ansi, MarkupEncoding::Utf16}) {
    ASSERT_TRUE(LoadBytes(markup, "<a/>", MarkupEncoding::Utf8));
    EXPECT_FALSE(LoadBytes(markup, document, encoding));
    EXPECT_EQ(L"File too large", ErrorMessage(markup));
    EXPECT_EQ(L"", ErrorLocation(markup));
    // The document loaded before is gone.
    EXPECT_FALSE(markup.IsValid());
  }

  // The limit counts bytes, byte-order mark included.
  const std::string marked =
      "\xEF\xBB\xBF" + head + std::string(limit - 3 - head.size() - tail.size(), 'x') + tail;
  ASSERT_EQ(limit, marked.size());
  EXPECT_TRUE(LoadBytes(markup, marked, MarkupEncoding::Utf8));
}

}  // namespace
