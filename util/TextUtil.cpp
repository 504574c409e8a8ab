#include "util/TextUtil.h"

#include <windows.h>

#include <cstdarg>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <new>

namespace {

// Most texts fit in the first, stack-held buffer; longer ones are retried in
// heap buffers of twice the size each time, up to this many units (64 MiB).
constexpr size_t kStackFormatUnits = 1024;
constexpr size_t kMaxFormatUnits = 0x2000000;

// Conversions collect their output in a fixed buffer and append it to the
// result piece by piece.
constexpr size_t kWideChunkUnits = 4096;
constexpr size_t kUtf8ChunkBytes = 8192;

// Formats into the buffer and returns the length of the text, or -1 when
// the text (without its terminating zero) does not fit or the format is bad.
// The C runtime's _vsnwprintf returns the buffer size, unterminated, when
// the text fills it exactly, so that case counts as "did not fit" and the
// caller retries with a larger buffer.
int FormatInto(wchar_t* buffer, size_t size, const wchar_t* format, va_list args) {
  va_list attempt;
  va_copy(attempt, args);
  // This is msvcrt's _vsnwprintf even though libstdc++ asks for the mingw
  // formatters: only msvcrt's treats "%s" in a wide format as a wide string,
  // which is what every caller of FormatString passes.
  const int written = ::_vsnwprintf(buffer, size, format, attempt);
  va_end(attempt);
  if (written < 0 || static_cast<size_t>(written) >= size) return -1;
  return written;
}

std::wstring FormatArguments(const wchar_t* format, va_list args) {
  wchar_t stackBuffer[kStackFormatUnits];
  int written = FormatInto(stackBuffer, kStackFormatUnits, format, args);
  if (written >= 0) return std::wstring(stackBuffer, static_cast<size_t>(written));

  for (size_t size = kStackFormatUnits * 2; size <= kMaxFormatUnits; size *= 2) {
    const std::unique_ptr<wchar_t[]> heapBuffer(new (std::nothrow) wchar_t[size]);
    if (!heapBuffer) return std::wstring();
    written = FormatInto(heapBuffer.get(), size, format, args);
    if (written >= 0) return std::wstring(heapBuffer.get(), static_cast<size_t>(written));
  }
  return std::wstring();
}

// Decodes the UTF-8 sequence at the start of the input.  Returns false for
// anything that is not the shortest form of a Unicode scalar value: stray
// continuation bytes, overlong forms, encoded surrogates, values above
// U+10FFFF and sequences cut off by the end of the input.
bool DecodeUtf8(const unsigned char* input, size_t available, uint32_t* codePoint, size_t* length) {
  const unsigned char lead = input[0];
  if (lead < 0x80) {
    *codePoint = lead;
    *length = 1;
    return true;
  }
  size_t needed = 0;
  uint32_t value = 0;
  // The range allowed for the second byte; it is narrower than 80-BF for the
  // leads where the full range would give overlong forms, surrogates or
  // values beyond U+10FFFF.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead < 0xC2) {
    return false;
  } else if (lead < 0xE0) {
    needed = 2;
    value = lead & 0x1Fu;
  } else if (lead < 0xF0) {
    needed = 3;
    value = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead <= 0xF4) {
    needed = 4;
    value = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return false;
  }
  if (available < needed) return false;
  for (size_t index = 1; index < needed; ++index) {
    const unsigned char next = input[index];
    if (next < low || next > high) return false;
    low = 0x80;
    high = 0xBF;
    value = (value << 6) | (next & 0x3Fu);
  }
  *codePoint = value;
  *length = needed;
  return true;
}

bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The units trimmed from either end: the blank and the control characters
// up to U+001D.  U+001E and U+001F (record and unit separators) carry
// meaning in some of the texts we handle and are kept.
bool IsTrimmed(wchar_t unit) { return unit == 0x20 || unit <= 0x1D; }

}  // namespace

std::wstring FormatString(const wchar_t* format, ...) {
  if (format == nullptr) return std::wstring();
  va_list args;
  va_start(args, format);
  std::wstring result;
  try {
    result = FormatArguments(format, args);
  } catch (...) {
    result.clear();
  }
  va_end(args);
  return result;
}

std::wstring Utf8ToWide(const char* bytes, size_t count) {
  if (bytes == nullptr || count == 0) return std::wstring();
  try {
    const auto* input = reinterpret_cast<const unsigned char*>(bytes);
    std::wstring result;
    // Every byte gives at most one unit (a four-byte sequence gives two).
    result.reserve(count);
    wchar_t chunk[kWideChunkUnits];
    size_t used = 0;
    size_t position = 0;
    while (position < count) {
      uint32_t codePoint = 0;
      size_t length = 0;
      if (!DecodeUtf8(input + position, count - position, &codePoint, &length)) {
        return std::wstring();
      }
      position += length;
      // Flush early enough that a surrogate pair always lands in one piece.
      if (kWideChunkUnits - used < 2) {
        result.append(chunk, used);
        used = 0;
      }
      if (codePoint >= 0x10000) {
        codePoint -= 0x10000;
        chunk[used++] = static_cast<wchar_t>(0xD800 | (codePoint >> 10));
        chunk[used++] = static_cast<wchar_t>(0xDC00 | (codePoint & 0x3FF));
      } else {
        chunk[used++] = static_cast<wchar_t>(codePoint);
      }
    }
    result.append(chunk, used);
    return result;
  } catch (...) {
    return std::wstring();
  }
}

std::wstring Utf8ToWide(const std::string& text) { return Utf8ToWide(text.data(), text.size()); }

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return std::wstring();
  try {
    const int bytes = static_cast<int>(text.size());
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring result(static_cast<size_t>(units), L'\0');
    if (::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, result.data(), units) != units) {
      return std::wstring();
    }
    return result;
  } catch (const std::bad_alloc&) {
    return std::wstring();
  }
}

std::string WideToUtf8(const wchar_t* units, size_t count) {
  if (units == nullptr || count == 0) return std::string();
  try {
    std::string result;
    result.reserve(count);
    char chunk[kUtf8ChunkBytes];
    size_t used = 0;
    for (size_t index = 0; index < count; ++index) {
      uint32_t codePoint = static_cast<uint16_t>(units[index]);
      if (IsHighSurrogate(codePoint)) {
        // A high surrogate at the very end means the text was cut in the
        // middle of a character; nothing sensible can be made of it.
        if (index + 1 == count) return std::string();
        const uint32_t next = static_cast<uint16_t>(units[index + 1]);
        if (IsLowSurrogate(next)) {
          codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (next - 0xDC00);
          ++index;
        }
      }
      if (kUtf8ChunkBytes - used < 4) {
        result.append(chunk, used);
        used = 0;
      }
      if (codePoint < 0x80) {
        chunk[used++] = static_cast<char>(codePoint);
      } else if (codePoint < 0x800) {
        chunk[used++] = static_cast<char>(0xC0 | (codePoint >> 6));
        chunk[used++] = static_cast<char>(0x80 | (codePoint & 0x3F));
      } else if (codePoint < 0x10000) {
        chunk[used++] = static_cast<char>(0xE0 | (codePoint >> 12));
        chunk[used++] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        chunk[used++] = static_cast<char>(0x80 | (codePoint & 0x3F));
      } else {
        chunk[used++] = static_cast<char>(0xF0 | (codePoint >> 18));
        chunk[used++] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        chunk[used++] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        chunk[used++] = static_cast<char>(0x80 | (codePoint & 0x3F));
      }
    }
    result.append(chunk, used);
    return result;
  } catch (...) {
    return std::string();
  }
}

std::string WideToUtf8(const std::wstring& text) { return WideToUtf8(text.data(), text.size()); }

std::wstring TrimLeft(const wchar_t* text) {
  if (text == nullptr) return std::wstring();
  try {
    std::wstring result(text);
    size_t first = 0;
    while (first < result.size() && IsTrimmed(result[first])) ++first;
    result.erase(0, first);
    return result;
  } catch (...) {
    return std::wstring();
  }
}

std::wstring TrimRight(const wchar_t* text) {
  if (text == nullptr) return std::wstring();
  try {
    std::wstring result(text);
    size_t end = result.size();
    while (end > 0 && IsTrimmed(result[end - 1])) --end;
    result.erase(end);
    return result;
  } catch (...) {
    return std::wstring();
  }
}
