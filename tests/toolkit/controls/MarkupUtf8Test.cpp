// UTF-8 input must read exactly as the platform's own conversion reads it,
// well-formed or not: the parser decodes well-formed text itself and hands
// everything else to MultiByteToWideChar, and the two must never disagree.
#include "toolkit/controls/Markup.h"

#include "MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using SkinUI::CMarkup;
using SkinUI::MarkupEncoding;

std::wstring PlatformText(const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  const int size = static_cast<int>(bytes.size());
  const int units = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<size_t>(units), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, text.data(), units);
  return text;
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char digits[4];
  for (unsigned char byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X ", byte);
    out += digits;
  }
  return out;
}

TEST(MarkupUtf8, BytesReadAsThePlatformConvertsThem) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case sequences[] = {
      {"ASCII", "plain"},
      {"two bytes, lowest and highest", "\xC2\x80\xDF\xBF"},
      {"three bytes, lowest and highest", "\xE0\xA0\x80\xEF\xBF\xBF"},
      {"Chinese", "\xE7\xA1\xAE\xE5\xAE\x9A"},
      {"four bytes, lowest and highest", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
      {"last before the surrogates", "\xED\x9F\xBF"},
      {"first after the surrogates", "\xEE\x80\x80"},
      {"overlong two bytes", "\xC0\x80\xC1\xBF"},
      {"overlong three bytes", "\xE0\x80\x80"},
      {"overlong four bytes", "\xF0\x80\x80\x80"},
      {"a surrogate", "\xED\xA0\x80"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80"},
      {"lead byte F5", "\xF5\x80\x80\x80"},
      {"bytes FE and FF", "\xFE\xFF"},
      {"stray continuation bytes", "\x80\xBF"},
      {"three bytes cut short", "\xE6\xAC"},
      {"four bytes cut short", "\xF0\x9F\x98"},
      {"cut short before ASCII",
       "\xE6"
       "abcd"},
  };
  // Each sequence at every offset against the sixteen-byte blocks that
  // plain ASCII passes in (and the four-byte steps within them), in an
  // attribute value and in element text, so that it meets the plain-ASCII
  // path from each side.
  for (const Case& sequence : sequences) {
    for (int offset = 0; offset < 34; ++offset) {
      const std::string pad(static_cast<size_t>(offset), 'p');
      const std::string bytes = "<a v=\"" + pad + sequence.bytes + "abcdefg\">" + pad +
                                sequence.bytes + "</a>" + pad + sequence.bytes;
      CMarkup fromBytes;
      const bool bytesLoaded = fromBytes.LoadFromMem(
          reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), MarkupEncoding::Utf8);
      CMarkup fromText;
      const bool textLoaded = fromText.Load(PlatformText(bytes).c_str());
      SCOPED_TRACE(std::string(sequence.name) + " at offset " + std::to_string(offset) + ": " +
                   Hex(bytes));
      EXPECT_EQ(textLoaded, bytesLoaded);
      EXPECT_EQ(test::DumpDocument(fromText), test::DumpDocument(fromBytes));
      EXPECT_EQ(test::ErrorMessage(fromText), test::ErrorMessage(fromBytes));
      EXPECT_EQ(test::ErrorLocation(fromText), test::ErrorLocation(fromBytes));
    }
  }
}

TEST(MarkupUtf8, AnIllFormedByteAnywhereStillGivesTheWholeDocument) {
  // A long well-formed stretch, then one bad byte near the end: the text
  // before it must not be lost or doubled when the platform takes over.
  std::string bytes = "<Window text=\"";
  for (int i = 0; i < 1000; ++i)
    bytes +=
        "\xE7\xA1\xAE"
        "ab";
  bytes += "\xFF\">tail</Window>";
  CMarkup markup;
  ASSERT_TRUE(markup.LoadFromMem(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                 MarkupEncoding::Utf8));
  std::wstring expected;
  for (int i = 0; i < 1000; ++i)
    expected +=
        L"\x786E"
        L"ab";
  expected += L"\xFFFD";
  EXPECT_EQ(expected, markup.GetRoot().GetAttributeValue(L"text"));
  EXPECT_STREQ(L"tail", markup.GetRoot().GetValue());
}

}  // namespace
