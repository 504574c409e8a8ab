// The engine's string: UTF-16 text, converted to and from UTF-8 at the
// interface.  Malformed UTF-8 becomes U+FFFD, as the engine's own converter
// does, rather than being dropped.
//
// A CefString either owns its text or is attached to a cef_string_t that
// lives elsewhere, typically a field of one of the engine's C structures:
//
//   CefString(&settings.cache_path) = L"C:\\cache";
//
// writes the text into settings.cache_path, which then owns it.  Every
// operation that changes the text changes the attached structure.  Copying a
// CefString always gives a string that owns a copy of the text.
#pragma once

#include <string>

#include "include/internal/cef_string_types.h"

typedef cef_string_utf16_t cef_string_t;
typedef cef_string_userfree_utf16_t cef_string_userfree_t;

#define cef_string_set cef_string_utf16_set
#define cef_string_copy cef_string_utf16_copy
#define cef_string_clear cef_string_utf16_clear
#define cef_string_cmp cef_string_utf16_cmp
#define cef_string_from_utf8 cef_string_utf8_to_utf16
#define cef_string_to_utf8 cef_string_utf16_to_utf8
#define cef_string_userfree_alloc cef_string_userfree_utf16_alloc
#define cef_string_userfree_free cef_string_userfree_utf16_free

class CefString {
 public:
  typedef cef_char16_t char_type;
  typedef cef_string_t struct_type;
  typedef cef_string_userfree_t userfree_struct_type;

  CefString() = default;
  CefString(const CefString& str);
  CefString(CefString&& str) noexcept;
  CefString(const std::wstring& src);  // NOLINT: implicit, as the engine's API has it
  CefString(const wchar_t* src);       // NOLINT
  CefString(const std::string& src);   // NOLINT: UTF-8
  CefString(const char* src);          // NOLINT: UTF-8
  // src_len code units of src; with copy false the string refers to src,
  // which must outlive it.
  CefString(const char_type* src, size_t src_len, bool copy);
  // Attaches to an existing structure without taking it over: the structure
  // must outlive this string, which writes its changes into it.
  CefString(struct_type* src);  // NOLINT
  // Copies the text of an existing structure.
  CefString(const struct_type* src);  // NOLINT
  ~CefString();

  CefString& operator=(const CefString& str);
  CefString& operator=(CefString&& str) noexcept;
  CefString& operator=(const std::wstring& str);
  CefString& operator=(const wchar_t* str);
  CefString& operator=(const std::string& str);
  CefString& operator=(const char* str);

  // The text, never null.  Text set without copying is terminated only if
  // its source was.
  const char_type* c_str() const;
  size_t length() const { return Struct()->length; }
  size_t size() const { return length(); }
  bool empty() const { return length() == 0; }
  int compare(const CefString& str) const;
  // Empties the text (of the attached structure, when there is one).
  void clear();

  // True when this string owns its structure: always, unless it is attached
  // to one without having been given it.
  bool IsOwner() const { return m_attached == nullptr || m_ownsAttached; }
  const struct_type* GetStruct() const { return Struct(); }
  struct_type* GetWritableStruct() { return Struct(); }

  // Empties the text when this string owns it and returns to own storage; a
  // structure attached without ownership is left as it is.
  void ClearAndFree();
  // Attaches to str.  With owner set, str came from new (or from
  // cef_string_userfree_alloc) and this string frees it together with its
  // text.
  void Attach(struct_type* str, bool owner);
  // Takes the text of a userfree structure and frees the structure.
  void AttachToUserFree(userfree_struct_type str);
  // Hands the text over in a new userfree structure, which the caller frees
  // with cef_string_userfree_free; this string is left empty.  Null when
  // there is no text.
  userfree_struct_type DetachToUserFree();
  // Lets go of the structure: an attached one is returned as it is (and
  // this string returns to empty storage of its own); otherwise the text
  // moves into a new userfree structure, returned for the caller to free.
  struct_type* Detach();

  bool FromString(const char_type* src, size_t src_len, bool copy);

  // The text as UTF-8.
  std::string ToString() const;
  bool FromString(const std::string& utf8);
  // The text as UTF-16.
  std::wstring ToWString() const;
  bool FromWString(const std::wstring& text);
  std::wstring ToString16() const { return ToWString(); }
  bool FromString16(const std::wstring& text) { return FromWString(text); }
  // Takes 7-bit text; false, leaving the string empty, for any other byte.
  bool FromASCII(const char* str);

  operator std::wstring() const { return ToWString(); }
  operator std::string() const { return ToString(); }

  bool operator==(const CefString& str) const { return compare(str) == 0; }
  bool operator!=(const CefString& str) const { return compare(str) != 0; }
  bool operator<(const CefString& str) const { return compare(str) < 0; }
  bool operator<=(const CefString& str) const { return compare(str) <= 0; }
  bool operator>(const CefString& str) const { return compare(str) > 0; }
  bool operator>=(const CefString& str) const { return compare(str) >= 0; }

 private:
  struct_type* Struct() { return m_attached != nullptr ? m_attached : &m_own; }
  const struct_type* Struct() const { return m_attached != nullptr ? m_attached : &m_own; }

  // The text while no structure is attached.
  struct_type m_own = {};
  // The structure this string is attached to, or null.
  struct_type* m_attached = nullptr;
  // The attached structure is this string's to free.
  bool m_ownsAttached = false;
};
