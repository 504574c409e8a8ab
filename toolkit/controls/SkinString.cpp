#include "toolkit/controls/SkinString.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace SkinUI {

namespace {

const wchar_t kEmptyText[] = L"";

int TextLength(const wchar_t* text) { return static_cast<int>(std::wcslen(text)); }

void CopyUnits(wchar_t* to, const wchar_t* from, int count) {
  // Sources may lie inside the destination's own storage (a string assigned
  // a part of itself), so the copy must allow overlap.
  std::memmove(to, from, static_cast<size_t>(count) * sizeof(wchar_t));
}

wchar_t* AllocateUnits(int count) {
  return static_cast<wchar_t*>(std::malloc(static_cast<size_t>(count) * sizeof(wchar_t)));
}

// A heap buffer freed when the owner goes out of scope.
class CUnitBuffer {
 public:
  explicit CUnitBuffer(int count) : m_units(AllocateUnits(count)) {}
  ~CUnitBuffer() { std::free(m_units); }
  CUnitBuffer(const CUnitBuffer&) = delete;
  CUnitBuffer& operator=(const CUnitBuffer&) = delete;
  wchar_t* Get() const { return m_units; }

 private:
  wchar_t* m_units;
};

// Converts ANSI text and hands the result to `use`.  Texts that fit the
// inline buffer are converted on the stack.
template <typename Use>
void WithWideText(const char* text, Use use) {
  if (text == nullptr || *text == '\0') {
    use(kEmptyText);
    return;
  }
  const int units = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (units <= 0) return;
  if (units <= CSkinString::kInlineUnits) {
    wchar_t local[CSkinString::kInlineUnits];
    if (::MultiByteToWideChar(CP_ACP, 0, text, -1, local, units) > 0) use(local);
    return;
  }
  CUnitBuffer buffer(units);
  if (buffer.Get() != nullptr &&
      ::MultiByteToWideChar(CP_ACP, 0, text, -1, buffer.Get(), units) > 0)
    use(buffer.Get());
}

}  // namespace

CSkinString::CSkinString() : m_pstr(m_szBuffer) { m_szBuffer[0] = L'\0'; }

CSkinString::CSkinString(wchar_t ch) : m_pstr(m_szBuffer) {
  m_szBuffer[0] = ch;
  m_szBuffer[1] = L'\0';
}

CSkinString::CSkinString(const wchar_t* text, int length) : m_pstr(m_szBuffer) {
  m_szBuffer[0] = L'\0';
  Assign(text, length);
}

CSkinString::CSkinString(const CSkinString& source) : m_pstr(m_szBuffer) {
  m_szBuffer[0] = L'\0';
  Assign(source.m_pstr);
}

CSkinString::~CSkinString() {
  if (!IsInline()) std::free(m_pstr);
}

void CSkinString::ReleaseHeap() {
  if (!IsInline()) std::free(m_pstr);
  m_pstr = m_szBuffer;
  m_szBuffer[0] = L'\0';
}

void CSkinString::Empty() { ReleaseHeap(); }

int CSkinString::GetLength() const { return TextLength(m_pstr); }

bool CSkinString::IsEmpty() const { return m_pstr[0] == L'\0'; }

wchar_t CSkinString::GetAt(int index) const { return m_pstr[index]; }

void CSkinString::SetAt(int index, wchar_t ch) { m_pstr[index] = ch; }

wchar_t CSkinString::operator[](int index) const { return m_pstr[index]; }

const wchar_t* CSkinString::GetData() const { return m_pstr; }

CSkinString::operator const wchar_t*() const { return m_pstr; }

void CSkinString::Assign(const wchar_t* text, int length) {
  if (text == nullptr) text = kEmptyText;
  const int count = length < 0 ? TextLength(text)
                               : static_cast<int>(::wcsnlen(text, static_cast<size_t>(length)));
  if (count <= kMaxInlineLength) {
    // The text may lie in the heap block, so it is copied before the block
    // goes.
    CopyUnits(m_szBuffer, text, count);
    m_szBuffer[count] = L'\0';
    if (!IsInline()) std::free(m_pstr);
    m_pstr = m_szBuffer;
    return;
  }
  if (IsInline() || count > GetLength()) {
    wchar_t* block = AllocateUnits(count + 1);
    if (block == nullptr) return;
    CopyUnits(block, text, count);
    block[count] = L'\0';
    if (!IsInline()) std::free(m_pstr);
    m_pstr = block;
    return;
  }
  // A shorter long text reuses the heap block it already has.
  CopyUnits(m_pstr, text, count);
  m_pstr[count] = L'\0';
}

void CSkinString::AppendUnits(const wchar_t* text, int count) {
  if (count <= 0) return;
  const int current = GetLength();
  const int total = current + count;
  if (total <= kMaxInlineLength) {
    // Only a heap block whose text was cut short with SetAt can get here
    // without being inline; its text moves back into the object.
    if (!IsInline()) CopyUnits(m_szBuffer, m_pstr, current);
    CopyUnits(m_szBuffer + current, text, count);
    m_szBuffer[total] = L'\0';
    if (!IsInline()) std::free(m_pstr);
    m_pstr = m_szBuffer;
    return;
  }
  wchar_t* block = AllocateUnits(total + 1);
  if (block == nullptr) return;
  CopyUnits(block, m_pstr, current);
  CopyUnits(block + current, text, count);
  block[total] = L'\0';
  if (!IsInline()) std::free(m_pstr);
  m_pstr = block;
}

void CSkinString::Append(const wchar_t* text) {
  if (text == nullptr) return;
  AppendUnits(text, TextLength(text));
}

CSkinString& CSkinString::operator=(const CSkinString& source) {
  Assign(source.m_pstr);
  return *this;
}

CSkinString& CSkinString::operator=(const wchar_t* text) {
  Assign(text);
  return *this;
}

CSkinString& CSkinString::operator=(wchar_t ch) {
  const wchar_t text[2] = {ch, L'\0'};
  Assign(text);
  return *this;
}

CSkinString& CSkinString::operator=(const char* text) {
  WithWideText(text, [this](const wchar_t* wide) { Assign(wide); });
  return *this;
}

CSkinString& CSkinString::operator+=(const CSkinString& source) {
  Append(source.m_pstr);
  return *this;
}

CSkinString& CSkinString::operator+=(const wchar_t* text) {
  Append(text);
  return *this;
}

CSkinString& CSkinString::operator+=(wchar_t ch) {
  const wchar_t text[2] = {ch, L'\0'};
  Append(text);
  return *this;
}

CSkinString& CSkinString::operator+=(const char* text) {
  WithWideText(text, [this](const wchar_t* wide) { Append(wide); });
  return *this;
}

CSkinString CSkinString::operator+(const CSkinString& source) const {
  CSkinString result(*this);
  result.Append(source.m_pstr);
  return result;
}

CSkinString CSkinString::operator+(const wchar_t* text) const {
  CSkinString result(*this);
  result.Append(text);
  return result;
}

bool CSkinString::operator==(const wchar_t* text) const { return Compare(text) == 0; }
bool CSkinString::operator!=(const wchar_t* text) const { return Compare(text) != 0; }
bool CSkinString::operator<(const wchar_t* text) const { return Compare(text) < 0; }
bool CSkinString::operator<=(const wchar_t* text) const { return Compare(text) <= 0; }
bool CSkinString::operator>(const wchar_t* text) const { return Compare(text) > 0; }
bool CSkinString::operator>=(const wchar_t* text) const { return Compare(text) >= 0; }

int CSkinString::Compare(const wchar_t* text) const {
  return std::wcscmp(m_pstr, text != nullptr ? text : kEmptyText);
}

int CSkinString::CompareNoCase(const wchar_t* text) const {
  // The ordinal comparison folds case by the locale-independent Unicode
  // tables, so a skin behaves the same under every user locale.
  const int result =
      ::CompareStringOrdinal(m_pstr, -1, text != nullptr ? text : kEmptyText, -1, TRUE);
  return result == 0 ? std::wcscmp(m_pstr, text != nullptr ? text : kEmptyText)
                     : result - CSTR_EQUAL;
}

void CSkinString::MakeUpper() { ::CharUpperBuffW(m_pstr, static_cast<DWORD>(GetLength())); }

void CSkinString::MakeLower() { ::CharLowerBuffW(m_pstr, static_cast<DWORD>(GetLength())); }

CSkinString CSkinString::Left(int length) const {
  const int available = GetLength();
  if (length < 0) length = 0;
  if (length > available) length = available;
  return CSkinString(m_pstr, length);
}

CSkinString CSkinString::Mid(int position, int length) const {
  const int available = GetLength();
  if (position < 0 || position > available) return CSkinString();
  if (length < 0 || length > available - position) length = available - position;
  if (length <= 0) return CSkinString();
  return CSkinString(m_pstr + position, length);
}

CSkinString CSkinString::Right(int length) const {
  const int available = GetLength();
  if (length < 0) length = 0;
  if (length > available) length = available;
  return CSkinString(m_pstr + available - length, length);
}

int CSkinString::Find(wchar_t ch, int position) const {
  if (position != 0 && (position < 0 || position >= GetLength())) return -1;
  if (ch == L'\0') return -1;
  const wchar_t* hit = std::wcschr(m_pstr + position, ch);
  return hit == nullptr ? -1 : static_cast<int>(hit - m_pstr);
}

int CSkinString::Find(const wchar_t* text, int position) const {
  if (text == nullptr || position < 0 || position > GetLength()) return -1;
  // Not every C runtime finds the empty text in an empty remainder, so that
  // case is answered here.
  if (*text == L'\0') return position;
  const wchar_t* hit = std::wcsstr(m_pstr + position, text);
  return hit == nullptr ? -1 : static_cast<int>(hit - m_pstr);
}

int CSkinString::ReverseFind(wchar_t ch) const {
  if (ch == L'\0') return -1;
  const wchar_t* hit = std::wcsrchr(m_pstr, ch);
  return hit == nullptr ? -1 : static_cast<int>(hit - m_pstr);
}

int CSkinString::Replace(const wchar_t* from, const wchar_t* to) {
  if (from == nullptr || *from == L'\0') return 0;
  if (to == nullptr) to = kEmptyText;
  const int fromLength = TextLength(from);
  const int toLength = TextLength(to);

  // Count first so that the result is built in one block.
  int count = 0;
  for (const wchar_t* hit = std::wcsstr(m_pstr, from); hit != nullptr;
       hit = std::wcsstr(hit + fromLength, from))
    ++count;
  if (count == 0) return 0;

  const long long total =
      static_cast<long long>(GetLength()) + static_cast<long long>(count) * (toLength - fromLength);
  if (total > 0x3FFFFFFF) return 0;
  CUnitBuffer buffer(static_cast<int>(total) + 1);
  if (buffer.Get() == nullptr) return 0;
  wchar_t* out = buffer.Get();
  const wchar_t* scan = m_pstr;
  for (const wchar_t* hit = std::wcsstr(scan, from); hit != nullptr;
       hit = std::wcsstr(scan, from)) {
    const int before = static_cast<int>(hit - scan);
    CopyUnits(out, scan, before);
    out += before;
    CopyUnits(out, to, toLength);
    out += toLength;
    scan = hit + fromLength;
  }
  const int rest = TextLength(scan);
  CopyUnits(out, scan, rest);
  out[rest] = L'\0';
  Assign(buffer.Get(), static_cast<int>(total));
  return count;
}

int __cdecl CSkinString::Format(const wchar_t* format, ...) {
  if (format == nullptr) return -1;
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  // msvcrt's formatters: only they take "%s" in a wide format as a wide
  // string, which is what every caller passes.
  const int length = ::_vscwprintf(format, measure);
  va_end(measure);
  int result = -1;
  if (length >= 0 && length < 0x3FFFFFFF) {
    CUnitBuffer buffer(length + 1);
    if (buffer.Get() != nullptr) {
      const int written =
          ::_vsnwprintf(buffer.Get(), static_cast<size_t>(length) + 1, format, args);
      if (written >= 0) {
        buffer.Get()[written] = L'\0';
        Assign(buffer.Get(), written);
        result = written;
      }
    }
  }
  va_end(args);
  return result;
}

int __cdecl CSkinString::SmallFormat(const wchar_t* format, ...) {
  if (format == nullptr) return -1;
  wchar_t buffer[kInlineUnits] = {};
  va_list args;
  va_start(args, format);
  // A text that does not fit is cut after 63 characters; the formatter then
  // reports -1 and leaves the buffer unterminated, so the last unit is set
  // here.
  ::_vsnwprintf(buffer, kInlineUnits - 1, format, args);
  va_end(args);
  buffer[kInlineUnits - 1] = L'\0';
  Assign(buffer);
  return GetLength();
}

}  // namespace SkinUI
