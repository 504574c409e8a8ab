#include "toolkit/controls/AttributeValue.h"

#include <cwchar>
#include <cwctype>

namespace SkinUI {

int ClampSkinNumber(long value) {
  if (value > kMaxSkinNumber) return kMaxSkinNumber;
  if (value < -kMaxSkinNumber) return -kMaxSkinNumber;
  return static_cast<int>(value);
}

void ParseIntList(LPCWSTR text, int* values, int count) {
  const wchar_t* p = text != nullptr ? text : L"";
  for (int i = 0; i < count; ++i) {
    wchar_t* end = nullptr;
    values[i] = ClampSkinNumber(std::wcstol(p, &end, 10));
    p = end;
    if (*p != L'\0') ++p;
  }
}

RECT ParseRect(LPCWSTR text) {
  int v[4] = {};
  ParseIntList(text, v, 4);
  return RECT{v[0], v[1], v[2], v[3]};
}

SIZE ParseSize(LPCWSTR text) {
  int v[2] = {};
  ParseIntList(text, v, 2);
  return SIZE{v[0], v[1]};
}

int ParseInt(LPCWSTR text) {
  int v = 0;
  ParseIntList(text, &v, 1);
  return v;
}

bool ParseBool(LPCWSTR text) { return text != nullptr && std::wcscmp(text, L"true") == 0; }

DWORD ParseColor(LPCWSTR text, bool skipSpace) {
  const wchar_t* p = text != nullptr ? text : L"";
  if (skipSpace) {
    while (*p != L'\0' && std::iswspace(*p)) ++p;
  }
  if (*p == L'#') ++p;
  return static_cast<DWORD>(std::wcstoul(p, nullptr, 16));
}

}  // namespace SkinUI
