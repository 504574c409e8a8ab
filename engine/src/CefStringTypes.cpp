#include "include/internal/cef_string_types.h"

#include <windows.h>

#include <cstring>
#include <type_traits>

namespace {

template <typename Char>
void DeleteText(Char* str) {
  delete[] str;
}

// Shared by both widths: the structures differ only in their code unit.
template <typename Struct, typename Char>
void Clear(Struct* str) {
  if (str == nullptr) return;
  if (str->dtor != nullptr && str->str != nullptr) str->dtor(str->str);
  str->str = nullptr;
  str->length = 0;
  str->dtor = nullptr;
}

template <typename Struct, typename Char>
int Set(const Char* src, size_t src_len, Struct* output, int copy) {
  if (output == nullptr) return 0;
  if (src == nullptr) src_len = 0;
  Char* text = nullptr;
  void (*dtor)(Char*) = nullptr;
  if (copy) {
    // The copy is made before the old text is freed, so that src may be
    // (part of) output's own text.
    text = new Char[src_len + 1];
    if (src_len > 0) std::memcpy(text, src, src_len * sizeof(Char));
    text[src_len] = Char();
    dtor = &DeleteText<Char>;
  } else {
    text = const_cast<Char*>(src);
  }
  Clear<Struct, Char>(output);
  output->str = text;
  output->length = src_len;
  output->dtor = dtor;
  return 1;
}

template <typename Struct>
int Compare(const Struct* str1, const Struct* str2) {
  const size_t length1 = str1 != nullptr ? str1->length : 0;
  const size_t length2 = str2 != nullptr ? str2->length : 0;
  const size_t common = length1 < length2 ? length1 : length2;
  for (size_t i = 0; i < common; ++i) {
    // Code units compare as unsigned values, so that a UTF-8 lead byte
    // sorts above ASCII whatever the signedness of char.
    typedef std::make_unsigned_t<std::remove_pointer_t<decltype(str1->str)>> Unit;
    const Unit a = static_cast<Unit>(str1->str[i]);
    const Unit b = static_cast<Unit>(str2->str[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  if (length1 == length2) return 0;
  return length1 < length2 ? -1 : 1;
}

// The converted text in a new buffer owned by output.
template <typename Struct, typename Char>
void TakeBuffer(Char* buffer, size_t length, Struct* output) {
  buffer[length] = Char();
  Clear<Struct, Char>(output);
  output->str = buffer;
  output->length = length;
  output->dtor = &DeleteText<Char>;
}

}  // namespace

extern "C" {

int cef_string_utf16_set(const cef_char16_t* src, size_t src_len, cef_string_utf16_t* output,
                         int copy) {
  return Set<cef_string_utf16_t, cef_char16_t>(src, src_len, output, copy);
}

int cef_string_utf8_set(const char* src, size_t src_len, cef_string_utf8_t* output, int copy) {
  return Set<cef_string_utf8_t, char>(src, src_len, output, copy);
}

void cef_string_utf16_clear(cef_string_utf16_t* str) {
  Clear<cef_string_utf16_t, cef_char16_t>(str);
}

void cef_string_utf8_clear(cef_string_utf8_t* str) { Clear<cef_string_utf8_t, char>(str); }

int cef_string_utf16_cmp(const cef_string_utf16_t* str1, const cef_string_utf16_t* str2) {
  return Compare(str1, str2);
}

int cef_string_utf8_cmp(const cef_string_utf8_t* str1, const cef_string_utf8_t* str2) {
  return Compare(str1, str2);
}

int cef_string_utf8_to_utf16(const char* src, size_t src_len, cef_string_utf16_t* output) {
  if (output == nullptr) return 0;
  if (src == nullptr || src_len == 0) return cef_string_utf16_set(nullptr, 0, output, 1);
  const int srcLength = static_cast<int>(src_len);
  // The strict pass only tells whether the input is well-formed; the
  // lenient one turns each malformed sequence into U+FFFD.
  const bool wellFormed =
      ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, src, srcLength, nullptr, 0) > 0;
  const int units = ::MultiByteToWideChar(CP_UTF8, 0, src, srcLength, nullptr, 0);
  if (units <= 0) {
    cef_string_utf16_clear(output);
    return 0;
  }
  wchar_t* buffer = new wchar_t[static_cast<size_t>(units) + 1];
  ::MultiByteToWideChar(CP_UTF8, 0, src, srcLength, buffer, units);
  TakeBuffer(buffer, static_cast<size_t>(units), output);
  return wellFormed ? 1 : 0;
}

int cef_string_utf16_to_utf8(const cef_char16_t* src, size_t src_len, cef_string_utf8_t* output) {
  if (output == nullptr) return 0;
  if (src == nullptr || src_len == 0) return cef_string_utf8_set(nullptr, 0, output, 1);
  const int srcLength = static_cast<int>(src_len);
  const bool wellFormed = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, src, srcLength,
                                                nullptr, 0, nullptr, nullptr) > 0;
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, src, srcLength, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) {
    cef_string_utf8_clear(output);
    return 0;
  }
  char* buffer = new char[static_cast<size_t>(bytes) + 1];
  ::WideCharToMultiByte(CP_UTF8, 0, src, srcLength, buffer, bytes, nullptr, nullptr);
  TakeBuffer(buffer, static_cast<size_t>(bytes), output);
  return wellFormed ? 1 : 0;
}

cef_string_userfree_utf16_t cef_string_userfree_utf16_alloc(void) {
  return new cef_string_utf16_t();
}

void cef_string_userfree_utf16_free(cef_string_userfree_utf16_t str) {
  cef_string_utf16_clear(str);
  delete str;
}

cef_string_userfree_utf8_t cef_string_userfree_utf8_alloc(void) { return new cef_string_utf8_t(); }

void cef_string_userfree_utf8_free(cef_string_userfree_utf8_t str) {
  cef_string_utf8_clear(str);
  delete str;
}

}  // extern "C"
