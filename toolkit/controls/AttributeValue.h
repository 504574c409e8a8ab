// How skin attribute values are read, shared by every control class, and
// the table form in which each class lists the attributes it knows.
#pragma once

#include <windows.h>

#include <cwchar>

#include <cstddef>

namespace SkinUI {

// Every number a skin gives (positions, sizes, paddings, image rectangles,
// window sizes) is kept within plus or minus this bound before anything
// computes with it.  2^20 pixels is far more than any real screen at 200 %
// scaling needs, and small enough that sums and differences of a few such
// values, or a product with a percentage, stay well inside 32 bits: a skin
// of absurd numbers then draws nonsense instead of overflowing.
constexpr int kMaxSkinNumber = 1 << 20;

// `value` clamped to the bound above.
int ClampSkinNumber(long value);

// `count` decimal numbers, each followed by one separator character of
// any kind ("0,0,10,10" and "0 0 10 10" read alike); missing numbers read
// as 0.  Each is clamped with ClampSkinNumber.
void ParseIntList(LPCWSTR text, int* values, int count);
RECT ParseRect(LPCWSTR text);
SIZE ParseSize(LPCWSTR text);
int ParseInt(LPCWSTR text);
// True only for the exact text "true".
bool ParseBool(LPCWSTR text);
// A hexadecimal colour after one optional '#'.  With `skipSpace`, leading
// whitespace goes first; without it a space before the '#' leaves the
// '#' in place, which reads as 0.
DWORD ParseColor(LPCWSTR text, bool skipSpace = false);

// One attribute a control class knows: its name and what it does.
template <class T>
struct TAttributeRow {
  LPCWSTR name;
  void (*apply)(T& control, LPCWSTR value);
};

// Applies the row named `name`; false when the table has none, so that
// the caller passes the attribute on to its base class.
template <class T, size_t N>
bool ApplyAttributeRow(const TAttributeRow<T> (&table)[N], T& control, LPCWSTR name,
                       LPCWSTR value) {
  if (name == nullptr) return false;
  // Names are compared unit by unit: the platform's string comparison goes
  // through the user's locale rules, which costs far more and buys nothing
  // for names that are plain ASCII.  The first unit is looked at here, as
  // it tells nearly every row apart without a call.
  for (const TAttributeRow<T>& row : table) {
    if (row.name[0] == name[0] && std::wcscmp(row.name, name) == 0) {
      row.apply(control, value != nullptr ? value : L"");
      return true;
    }
  }
  return false;
}

}  // namespace SkinUI
