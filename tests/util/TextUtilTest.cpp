#include "util/TextUtil.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes += static_cast<char>(value);
  return bytes;
}

std::wstring Units(std::initializer_list<int> values) {
  std::wstring units;
  for (int value : values) units += static_cast<wchar_t>(value);
  return units;
}

// Hex renderings make failures readable: both sides are shown unit by unit.
std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char byte : bytes) {
    if (!text.empty()) text += ' ';
    text += digits[byte >> 4];
    text += digits[byte & 0xF];
  }
  return text;
}

std::string Hex(const std::wstring& units) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (wchar_t unit : units) {
    const auto value = static_cast<uint16_t>(unit);
    if (!text.empty()) text += ' ';
    for (int shift = 12; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
  }
  return text;
}

// For long texts: where two texts first differ, or npos when they are equal.
template <typename Text>
size_t FirstDifference(const Text& a, const Text& b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t index = 0; index < common; ++index) {
    if (a[index] != b[index]) return index;
  }
  return a.size() == b.size() ? Text::npos : common;
}

// Windows' own converters serve as the independent reference; the flags
// make them refuse malformed input, so a reference result is always the
// conversion of a well-formed text.
std::string ReferenceUtf8(const std::wstring& wide) {
  const int size =
      ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(),
                            static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), static_cast<int>(wide.size()),
                        &utf8[0], size, nullptr, nullptr);
  return utf8;
}

std::wstring ReferenceWide(const std::string& utf8) {
  const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                         static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        &wide[0], size);
  return wide;
}

// A text of the given length whose units differ from their neighbours, so
// that a lost, doubled or shifted piece shows up in a comparison.
std::wstring PatternText(size_t length) {
  std::wstring text;
  text.reserve(length);
  for (size_t index = 0; index < length; ++index) {
    text += static_cast<wchar_t>(L'A' + index % 23);
  }
  return text;
}

TEST(FormatString, FormatsArguments) {
  struct Case {
    const char* name;
    std::wstring actual;
    std::wstring expected;
  };
  const std::wstring chinese = L"\x4E2D\x6587";
  const Case cases[] = {
      {"wide %s takes a wide string", FormatString(L"%s", L"abc"), L"abc"},
      {"%S takes a narrow string", FormatString(L"%S", "abc"), L"abc"},
      {"non-ASCII argument", FormatString(L"[%s]", chinese.c_str()), L"[" + chinese + L"]"},
      {"surrogate pair argument", FormatString(L"%s", L"\xD83D\xDE00"), L"\xD83D\xDE00"},
      {"dump file name", FormatString(L"%04d%02d%02d_%02d%02d%02d.dmp", 2024, 3, 15, 9, 30, 5),
       L"20240315_093005.dmp"},
      {"mixed conversions", FormatString(L"%s=%d (%x) %c%%", L"id", -42, 255u, L'z'),
       L"id=-42 (ff) z%"},
      {"64-bit integer", FormatString(L"%I64d", static_cast<int64_t>(-9000000000LL)),
       L"-9000000000"},
      {"no conversions", FormatString(L"plain text"), L"plain text"},
      {"empty format", FormatString(L""), L""},
      {"null format", FormatString(nullptr), L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.actual, c.expected);
  }
}

TEST(FormatString, ReturnsLongTextsWholeAtEveryBufferSize) {
  // The lengths around each buffer size: a text that fills a buffer exactly
  // has no room for its terminator and must be retried in the next one.
  const size_t lengths[] = {0,    1,    1022, 1023, 1024, 1025, 2047, 2048,
                            2049, 4095, 4096, 4097, 5000, 8192, 70000};
  for (size_t length : lengths) {
    SCOPED_TRACE(testing::Message() << "length " << length);
    const std::wstring text = PatternText(length);
    const std::wstring result = FormatString(L"%s", text.c_str());
    EXPECT_EQ(result.size(), length);
    EXPECT_EQ(FirstDifference(result, text), std::wstring::npos);
  }
}

TEST(FormatString, CountsFormatAndArgumentsTowardsTheLength) {
  // 1022 units of argument between two literal units make exactly 1024.
  const std::wstring middle = PatternText(1022);
  const std::wstring result = FormatString(L"<%s>", middle.c_str());
  EXPECT_EQ(result, L"<" + middle + L">");
}

TEST(FormatString, GivesUpBeyondTheLargestBuffer) {
  // The largest buffer holds 0x2000000 units, so the longest text it can
  // return is one unit shorter.
  const int largest = 0x2000000;
  const std::wstring longest = FormatString(L"%*d", largest - 1, 7);
  ASSERT_EQ(longest.size(), static_cast<size_t>(largest - 1));
  EXPECT_EQ(longest.front(), L' ');
  EXPECT_EQ(longest.back(), L'7');
  EXPECT_EQ(longest.find_first_not_of(L' '), longest.size() - 1);

  EXPECT_EQ(FormatString(L"%*d", largest, 7), L"");
}

TEST(Utf8ToWide, ConvertsWellFormedSequences) {
  struct Case {
    const char* name;
    std::string input;
    std::wstring expected;
  };
  const Case cases[] = {
      {"empty", "", L""},
      {"ASCII", "abc", L"abc"},
      {"highest one-byte", Bytes({0x7F}), Units({0x007F})},
      {"lowest two-byte", Bytes({0xC2, 0x80}), Units({0x0080})},
      {"highest two-byte", Bytes({0xDF, 0xBF}), Units({0x07FF})},
      {"lowest three-byte", Bytes({0xE0, 0xA0, 0x80}), Units({0x0800})},
      {"just below the surrogates", Bytes({0xED, 0x9F, 0xBF}), Units({0xD7FF})},
      {"just above the surrogates", Bytes({0xEE, 0x80, 0x80}), Units({0xE000})},
      {"highest three-byte", Bytes({0xEF, 0xBF, 0xBF}), Units({0xFFFF})},
      {"lowest four-byte", Bytes({0xF0, 0x90, 0x80, 0x80}), Units({0xD800, 0xDC00})},
      {"emoji after ASCII", Bytes({0x61, 0xF0, 0x9F, 0x98, 0x80}), Units({0x0061, 0xD83D, 0xDE00})},
      {"highest code point", Bytes({0xF4, 0x8F, 0xBF, 0xBF}), Units({0xDBFF, 0xDFFF})},
      {"Chinese", Bytes({0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87}), Units({0x4E2D, 0x6587})},
      {"zero bytes inside", Bytes({0x61, 0x00, 0x62, 0x00}), Units({0x61, 0x00, 0x62, 0x00})},
      {"only a zero byte", Bytes({0x00}), Units({0x0000})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(Utf8ToWide(c.input)), Hex(c.expected));
    EXPECT_EQ(Hex(Utf8ToWide(c.input.data(), c.input.size())), Hex(c.expected));
  }
}

TEST(Utf8ToWide, RejectsTheWholeTextForAnyMalformedSequence) {
  struct Case {
    const char* name;
    std::string input;
  };
  const Case cases[] = {
      {"cut two-byte", Bytes({0x61, 0xC3})},
      {"overlong slash", Bytes({0x61, 0xC0, 0xAF})},
      {"overlong two-byte C1", Bytes({0xC1, 0xBF})},
      {"lone continuation 80", Bytes({0x80})},
      {"lone continuation BF", Bytes({0x61, 0xBF, 0x62})},
      {"lead F5", Bytes({0xF5, 0x80, 0x80, 0x80})},
      {"lead FF", Bytes({0xFF})},
      {"lead FE", Bytes({0xFE, 0xFF})},
      {"continuation not 80-BF", Bytes({0xC3, 0x28})},
      {"continuation C0", Bytes({0xC3, 0xC0})},
      {"second continuation bad", Bytes({0xE2, 0x82, 0x28})},
      {"third continuation bad", Bytes({0xF0, 0x9F, 0x98, 0x41})},
      {"overlong three-byte", Bytes({0xE0, 0x9F, 0xBF})},
      {"overlong four-byte", Bytes({0xF0, 0x8F, 0xBF, 0xBF})},
      {"encoded high surrogate", Bytes({0xED, 0xA0, 0x80})},
      {"encoded low surrogate", Bytes({0xED, 0xBF, 0xBF})},
      {"encoded surrogate pair", Bytes({0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80})},
      {"above U+10FFFF", Bytes({0xF4, 0x90, 0x80, 0x80})},
      {"cut three-byte", Bytes({0xE2, 0x82})},
      {"cut four-byte", Bytes({0x61, 0xF0, 0x9F, 0x98})},
      {"lead alone at the end", Bytes({0x61, 0x62, 0xE4})},
      {"bad byte after a long valid text", std::string(5000, 'a') + Bytes({0x80})},
      {"bad byte before a long valid text", Bytes({0xC0}) + std::string(5000, 'a')},
      {"cut sequence after a full chunk", std::string(4096, 'a') + Bytes({0xF0, 0x9F})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(Utf8ToWide(c.input)), "");
  }
}

TEST(Utf8ToWide, HandlesNullAndCountedInput) {
  EXPECT_EQ(Utf8ToWide(nullptr, 0), L"");
  EXPECT_EQ(Utf8ToWide(nullptr, 4), L"");
  // Only the counted bytes are read: the rest of the buffer is malformed.
  const char buffer[] = {'a', 'b', '\xC0', '\xAF'};
  EXPECT_EQ(Utf8ToWide(buffer, 2), L"ab");
  EXPECT_EQ(Utf8ToWide(buffer, 0), L"");
  // The std::string overload counts embedded zero bytes.
  EXPECT_EQ(Utf8ToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(Utf8ToWide, IsUnaffectedByTheOutputChunks) {
  // The output is collected in pieces of 4096 units; these inputs put a
  // multi-unit character, or a multi-byte sequence, across each piece's end.
  struct Case {
    size_t asciiBefore;
    std::string tail;
    std::wstring expectedTail;
  };
  const std::string emoji = Bytes({0xF0, 0x9F, 0x98, 0x80});
  const std::wstring emojiUnits = Units({0xD83D, 0xDE00});
  const Case cases[] = {
      {4094, emoji, emojiUnits},
      {4095, emoji, emojiUnits},
      {4096, emoji, emojiUnits},
      {4095, emoji + emoji, emojiUnits + emojiUnits},
      {4095, Bytes({0xE4, 0xB8, 0xAD}), Units({0x4E2D})},
      {4095, Bytes({0xC3, 0xA9, 0x62}), Units({0x00E9, 0x0062})},
      {8191, emoji, emojiUnits},
      {8192, Bytes({0xE4, 0xB8, 0xAD}), Units({0x4E2D})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.asciiBefore << " ASCII bytes, then " << Hex(c.tail));
    const std::wstring result = Utf8ToWide(std::string(c.asciiBefore, 'q') + c.tail);
    const std::wstring expected = std::wstring(c.asciiBefore, L'q') + c.expectedTail;
    EXPECT_EQ(result.size(), expected.size());
    EXPECT_EQ(FirstDifference(result, expected), std::wstring::npos);
  }
  // A run of four-byte sequences shifted by 0 to 3 bytes puts every possible
  // cut of a sequence and of its surrogate pair at the piece boundary.
  for (size_t shift = 0; shift < 4; ++shift) {
    SCOPED_TRACE(testing::Message() << "run of emoji after " << shift << " ASCII bytes");
    std::string input(shift, 'q');
    std::wstring expected(shift, L'q');
    for (int count = 0; count < 3000; ++count) {
      input += emoji;
      expected += emojiUnits;
    }
    const std::wstring result = Utf8ToWide(input);
    EXPECT_EQ(result.size(), expected.size());
    EXPECT_EQ(FirstDifference(result, expected), std::wstring::npos);
  }
}

TEST(AnsiToWide, ReadsTheAnsiCodePage) {
  // The tests run under the Chinese locale: its ANSI code page is 936.
  ASSERT_EQ(::GetACP(), 936u);
  struct Case {
    const char* name;
    std::string ansi;
    std::wstring wide;
  };
  const Case cases[] = {
      // An application-data folder below an account named 张三, as the
      // system's ANSI calls spell it.
      {"Chinese folder", "C:\\Users\\\xD5\xC5\xC8\xFD\\AppData\\Local\\KelpBrowser\\",
       L"C:\\Users\\张三\\AppData\\Local\\KelpBrowser\\"},
      {"short form with a space", "C:\\PROGRA~1\\My App\\", L"C:\\PROGRA~1\\My App\\"},
      {"empty", "", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(AnsiToWide(c.ansi), c.wide);
  }
}

TEST(WideToUtf8, EncodesUnitsAndPairs) {
  struct Case {
    const char* name;
    std::wstring input;
    std::string expected;
  };
  const Case cases[] = {
      {"empty", L"", ""},
      {"ASCII", L"abc", "abc"},
      {"zero unit inside", Units({0x61, 0x00, 0x62}), Bytes({0x61, 0x00, 0x62})},
      {"highest one-byte", Units({0x007F}), Bytes({0x7F})},
      {"lowest two-byte", Units({0x0080}), Bytes({0xC2, 0x80})},
      {"highest two-byte", Units({0x07FF}), Bytes({0xDF, 0xBF})},
      {"lowest three-byte", Units({0x0800}), Bytes({0xE0, 0xA0, 0x80})},
      {"highest three-byte", Units({0xFFFF}), Bytes({0xEF, 0xBF, 0xBF})},
      {"Chinese", Units({0x4E2D, 0x6587}), Bytes({0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87})},
      {"emoji pair", Units({0xD83D, 0xDE00}), Bytes({0xF0, 0x9F, 0x98, 0x80})},
      {"lowest pair", Units({0xD800, 0xDC00}), Bytes({0xF0, 0x90, 0x80, 0x80})},
      {"highest pair", Units({0xDBFF, 0xDFFF}), Bytes({0xF4, 0x8F, 0xBF, 0xBF})},
      {"lone low surrogate", Units({0xDC00}), Bytes({0xED, 0xB0, 0x80})},
      {"low before high is two lone units", Units({0xDC00, 0xD800, 0x41}),
       Bytes({0xED, 0xB0, 0x80, 0xED, 0xA0, 0x80, 0x41})},
      {"high followed by a letter", Units({0xD800, 0x0041}), Bytes({0xED, 0xA0, 0x80, 0x41})},
      {"high followed by a high and its low", Units({0xD800, 0xD83D, 0xDE00}),
       Bytes({0xED, 0xA0, 0x80, 0xF0, 0x9F, 0x98, 0x80})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(WideToUtf8(c.input)), Hex(c.expected));
    EXPECT_EQ(Hex(WideToUtf8(c.input.data(), c.input.size())), Hex(c.expected));
  }
}

TEST(WideToUtf8, RejectsTheWholeTextWhenItEndsInAHighSurrogate) {
  struct Case {
    const char* name;
    std::wstring input;
  };
  const Case cases[] = {
      {"letter then high", Units({0x0041, 0xD83D})},
      {"high alone", Units({0xD800})},
      {"lone low then high", Units({0xDC00, 0xDBFF})},
      {"pair then high", Units({0xD83D, 0xDE00, 0xD83D})},
      {"long text then high", std::wstring(9000, L'a') + Units({0xD800})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(WideToUtf8(c.input)), "");
  }
}

TEST(WideToUtf8, HandlesNullAndCountedInput) {
  EXPECT_EQ(WideToUtf8(nullptr, 0), "");
  EXPECT_EQ(WideToUtf8(nullptr, 3), "");
  // Only the counted units are read: cutting a pair in two leaves its high
  // half last, which rejects the text.
  const wchar_t buffer[] = {L'a', 0xD83D, 0xDE00};
  EXPECT_EQ(WideToUtf8(buffer, 1), "a");
  EXPECT_EQ(WideToUtf8(buffer, 2), "");
  EXPECT_EQ(Hex(WideToUtf8(buffer, 3)), "61 F0 9F 98 80");
}

TEST(WideToUtf8, IsUnaffectedByTheOutputChunks) {
  // The output is collected in pieces of 8192 bytes; these inputs put a
  // multi-byte sequence across each piece's end, and a surrogate pair
  // across the 4096-unit mark.
  struct Case {
    size_t asciiBefore;
    std::wstring tail;
    std::string expectedTail;
  };
  const Case cases[] = {
      {8189, Units({0x4E2D}), Bytes({0xE4, 0xB8, 0xAD})},
      {8190, Units({0x4E2D}), Bytes({0xE4, 0xB8, 0xAD})},
      {8191, Units({0x4E2D}), Bytes({0xE4, 0xB8, 0xAD})},
      {8191, Units({0x00E9}), Bytes({0xC3, 0xA9})},
      {8191, Units({0xD83D, 0xDE00}), Bytes({0xF0, 0x9F, 0x98, 0x80})},
      {8192, Units({0xD83D, 0xDE00}), Bytes({0xF0, 0x9F, 0x98, 0x80})},
      {8188, Units({0xD83D, 0xDE00, 0x41}), Bytes({0xF0, 0x9F, 0x98, 0x80, 0x41})},
      {4095, Units({0xD83D, 0xDE00}), Bytes({0xF0, 0x9F, 0x98, 0x80})},
      {4095, Units({0xDC00}), Bytes({0xED, 0xB0, 0x80})},
      {8191, Units({0xD800, 0x41}), Bytes({0xED, 0xA0, 0x80, 0x41})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.asciiBefore << " ASCII units, then " << Hex(c.tail));
    const std::string result = WideToUtf8(std::wstring(c.asciiBefore, L'q') + c.tail);
    const std::string expected = std::string(c.asciiBefore, 'q') + c.expectedTail;
    EXPECT_EQ(result.size(), expected.size());
    EXPECT_EQ(FirstDifference(result, expected), std::string::npos);
  }
  // Three-byte characters shifted by 0 to 2 units put every cut of a
  // sequence at each piece boundary.
  for (size_t shift = 0; shift < 3; ++shift) {
    SCOPED_TRACE(testing::Message() << "run of U+4E2D after " << shift << " ASCII units");
    const std::wstring input = std::wstring(shift, L'q') + std::wstring(6000, L'\x4E2D');
    std::string expected(shift, 'q');
    for (int count = 0; count < 6000; ++count) expected += Bytes({0xE4, 0xB8, 0xAD});
    const std::string result = WideToUtf8(input);
    EXPECT_EQ(result.size(), expected.size());
    EXPECT_EQ(FirstDifference(result, expected), std::string::npos);
  }
}

// Random well-formed texts of every kind of character, of lengths around the
// chunk sizes and far beyond, compared with Windows' own converters.
TEST(TextConversion, RoundTripsRandomTextsLikeWindows) {
  std::mt19937 random(20240315);
  const size_t lengths[] = {1, 2, 1000, 2047, 2048, 4095, 4096, 4097, 8191, 8192, 8193, 100000};
  for (size_t length : lengths) {
    for (int kind = 0; kind < 2; ++kind) {
      SCOPED_TRACE(testing::Message() << "about " << length << " units, "
                                      << (kind == 0 ? "mixed" : "mostly non-ASCII"));
      std::wstring wide;
      while (wide.size() < length) {
        const uint32_t pick = random() % 4;
        uint32_t codePoint = 0;
        if (pick == 0 && kind == 0) {
          codePoint = random() % 0x80;
        } else if (pick <= 1) {
          codePoint = 0x80 + random() % (0x800 - 0x80);
        } else if (pick == 2) {
          codePoint = 0x800 + random() % (0x10000 - 0x800 - 0x800);
          if (codePoint >= 0xD800) codePoint += 0x800;  // Skip the surrogates.
        } else {
          codePoint = 0x10000 + random() % (0x110000 - 0x10000);
        }
        if (codePoint >= 0x10000) {
          wide += static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
          wide += static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
          wide += static_cast<wchar_t>(codePoint);
        }
      }
      const std::string reference = ReferenceUtf8(wide);
      ASSERT_FALSE(reference.empty());
      ASSERT_EQ(ReferenceWide(reference), wide);

      const std::string utf8 = WideToUtf8(wide);
      EXPECT_EQ(utf8.size(), reference.size());
      EXPECT_EQ(FirstDifference(utf8, reference), std::string::npos);
      const std::wstring back = Utf8ToWide(reference);
      EXPECT_EQ(back.size(), wide.size());
      EXPECT_EQ(FirstDifference(back, wide), std::wstring::npos);
    }
  }
}

TEST(Trim, RemovesBlanksAndLowControlCharacters) {
  struct Case {
    const char* name;
    std::wstring input;
    std::wstring left;
    std::wstring right;
  };
  const Case cases[] = {
      {"empty", L"", L"", L""},
      {"nothing to trim", L"a b", L"a b", L"a b"},
      {"tab and two spaces at the start", L"\t  abc", L"abc", L"\t  abc"},
      {"line ends at the end", L"abc \r\n", L"abc \r\n", L"abc"},
      {"both ends", L"  a b  ", L"a b  ", L"  a b"},
      {"only trimmed units", L" \t\r\n\u0001\u001D ", L"", L""},
      {"U+001D is trimmed", L"\u001Da\u001D", L"a\u001D", L"\u001Da"},
      {"U+001F stops trimming", L"\u001F a", L"\u001F a", L"\u001F a"},
      {"U+001E stops trimming", L" \u001E a \u001E ", L"\u001E a \u001E ", L" \u001E a \u001E"},
      {"only U+001E and U+001F", L"\u001E\u001F", L"\u001E\u001F", L"\u001E\u001F"},
      {"no-break space is kept", L"\u00A0a\u00A0", L"\u00A0a\u00A0", L"\u00A0a\u00A0"},
      {"ideographic space is kept", L"\u3000a\u3000", L"\u3000a\u3000", L"\u3000a\u3000"},
      {"DEL is kept", L"\u007Fa\u007F", L"\u007Fa\u007F", L"\u007Fa\u007F"},
      {"!, the unit after the blank, is kept", L"!a!", L"!a!", L"!a!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(TrimLeft(c.input.c_str())), Hex(c.left));
    EXPECT_EQ(Hex(TrimRight(c.input.c_str())), Hex(c.right));
  }
}

TEST(Trim, NullTextGivesAnEmptyResult) {
  EXPECT_EQ(TrimLeft(nullptr), L"");
  EXPECT_EQ(TrimRight(nullptr), L"");
}

}  // namespace
