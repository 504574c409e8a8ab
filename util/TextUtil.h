// Text helpers: printf-style formatting into a std::wstring, conversion
// between UTF-8 and UTF-16, and trimming of blanks and control characters.
//
// None of these throws; when a result cannot be produced (malformed input,
// no memory) the result is empty.
#pragma once

#include <cstddef>
#include <string>

// Formats like the C runtime's wide printf: "%s" takes a wide string.  The
// result is empty when the text cannot be formatted or is longer than
// 33,554,431 units.
std::wstring FormatString(const wchar_t* format, ...);

// Converts well-formed UTF-8 to UTF-16.  Any malformed sequence anywhere in
// the input makes the whole result empty.  Zero bytes inside the counted
// input are converted like any other character.
std::wstring Utf8ToWide(const char* bytes, size_t count);
std::wstring Utf8ToWide(const std::string& text);

// Converts text in the ANSI code page (the system's narrow code page, 936
// under the Chinese locale) to UTF-16, as the system's own "A" calls read
// it.  Empty when the conversion fails.
std::wstring AnsiToWide(const std::string& text);

// Converts UTF-16 to UTF-8.  Surrogate pairs become one four-byte sequence;
// unpaired surrogates are encoded by their own value, except that a high
// surrogate ending the input makes the whole result empty (the text was cut
// in the middle of a character).
std::string WideToUtf8(const wchar_t* units, size_t count);
std::string WideToUtf8(const std::wstring& text);

// Copies the text without the blanks (U+0020) and control characters up to
// U+001D at its start or end.  A null text gives an empty result.
std::wstring TrimLeft(const wchar_t* text);
std::wstring TrimRight(const wchar_t* text);
