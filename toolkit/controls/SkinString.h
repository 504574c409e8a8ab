// The toolkit's string: mutable, NUL-terminated UTF-16 with room for short
// texts inside the object itself.
//
// Texts of up to 62 characters live in the inline buffer and never touch the
// heap; longer texts live in a heap block of exactly length + 1 units when it
// is allocated.  Whenever an operation leaves the text short enough again,
// the heap block is freed and the inline buffer is used.  The storage
// pointer is never null: an empty string is a single NUL in the inline
// buffer.
#pragma once

#include <cstddef>

namespace SkinUI {

class CSkinString {
 public:
  // Units of the inline buffer, terminator included.
  static constexpr int kInlineUnits = 64;
  // The longest text that is kept inline.  One unit of the buffer stays
  // unused: a text of 63 characters already goes to the heap.
  static constexpr int kMaxInlineLength = 62;

  CSkinString();
  CSkinString(wchar_t ch);  // NOLINT: a character converts to a string
  // Copies `length` characters of `text`, or all of it when `length` is
  // negative; copying stops early at a NUL.  A null text gives an empty
  // string.
  CSkinString(const wchar_t* text, int length = -1);  // NOLINT
  CSkinString(const CSkinString& source);
  ~CSkinString();

  void Empty();
  int GetLength() const;
  bool IsEmpty() const;
  // Unchecked character access: the caller passes a valid index.
  wchar_t GetAt(int index) const;
  void SetAt(int index, wchar_t ch);
  wchar_t operator[](int index) const;

  void Append(const wchar_t* text);
  void Assign(const wchar_t* text, int length = -1);
  const wchar_t* GetData() const;
  operator const wchar_t*() const;  // NOLINT: used wherever a text is taken

  CSkinString& operator=(const CSkinString& source);
  CSkinString& operator=(const wchar_t* text);
  CSkinString& operator=(wchar_t ch);
  // 8-bit text is taken in the system's ANSI code page.
  CSkinString& operator=(const char* text);

  CSkinString& operator+=(const CSkinString& source);
  CSkinString& operator+=(const wchar_t* text);
  CSkinString& operator+=(wchar_t ch);
  CSkinString& operator+=(const char* text);

  CSkinString operator+(const CSkinString& source) const;
  CSkinString operator+(const wchar_t* text) const;

  bool operator==(const wchar_t* text) const;
  bool operator!=(const wchar_t* text) const;
  bool operator<(const wchar_t* text) const;
  bool operator<=(const wchar_t* text) const;
  bool operator>(const wchar_t* text) const;
  bool operator>=(const wchar_t* text) const;

  // Ordinal comparison of UTF-16 units: negative, zero or positive.  A null
  // text compares as the empty string.
  int Compare(const wchar_t* text) const;
  // The same with upper and lower case taken as equal.
  int CompareNoCase(const wchar_t* text) const;

  void MakeUpper();
  void MakeLower();

  // The first `length` characters; `length` is clamped to 0 ... length.
  CSkinString Left(int length) const;
  // `length` characters from `position`; a negative `length` means up to the
  // end, and a length reaching past the end is cut there.  A position
  // outside the string or nothing left to take gives an empty string.
  CSkinString Mid(int position, int length = -1) const;
  // The last `length` characters; more than there are gives the whole
  // string, a negative length an empty one.
  CSkinString Right(int length) const;

  // Index of the first `ch` at or after `position`, else -1.  A position
  // other than 0 must lie inside the string.
  int Find(wchar_t ch, int position = 0) const;
  // Index of the first occurrence of `text` at or after `position`, else -1.
  // Here the position may also be the length itself, where only the empty
  // text is found.  A null text is never found.
  int Find(const wchar_t* text, int position = 0) const;
  // Index of the last `ch`, else -1.
  int ReverseFind(wchar_t ch) const;
  // Replaces every occurrence of `from`, left to right, never searching the
  // inserted text again.  Returns the number of replacements; an empty or
  // null `from` replaces nothing, a null `to` counts as empty.
  int Replace(const wchar_t* from, const wchar_t* to);

  // printf-style formatting in the C runtime's wide flavour ("%s" takes a
  // wide string), of any length.  Returns the new length, or -1 (and leaves
  // the string as it was) when the format cannot be used.
  int __cdecl Format(const wchar_t* format, ...);
  // The same into a 64-unit buffer: at most 63 characters remain.
  int __cdecl SmallFormat(const wchar_t* format, ...);

 private:
  bool IsInline() const { return m_pstr == m_szBuffer; }
  // Frees a heap block and points back at the (empty) inline buffer.
  void ReleaseHeap();
  void AppendUnits(const wchar_t* text, int count);

  wchar_t* m_pstr;
  wchar_t m_szBuffer[kInlineUnits];
};

}  // namespace SkinUI
