#include "include/internal/cef_string.h"

#include <cstring>

CefString::CefString(const CefString& str) { FromString(str.c_str(), str.length(), true); }

CefString::CefString(CefString&& str) noexcept {
  if (str.m_attached == nullptr) {
    // Own text moves without a copy.
    m_own = str.m_own;
    str.m_own = struct_type();
  } else {
    FromString(str.c_str(), str.length(), true);
  }
}

CefString::CefString(const std::wstring& src) { FromWString(src); }

CefString::CefString(const wchar_t* src) {
  if (src != nullptr) FromString(src, std::wcslen(src), true);
}

CefString::CefString(const std::string& src) { FromString(src); }

CefString::CefString(const char* src) {
  if (src != nullptr) FromString(std::string(src));
}

CefString::CefString(const char_type* src, size_t src_len, bool copy) {
  FromString(src, src_len, copy);
}

CefString::CefString(struct_type* src) : m_attached(src) {}

CefString::CefString(const struct_type* src) {
  if (src != nullptr) FromString(src->str, src->length, true);
}

CefString::~CefString() { ClearAndFree(); }

CefString& CefString::operator=(const CefString& str) {
  // Assigning a string attached to the same structure changes nothing.
  if (Struct() != str.Struct()) FromString(str.c_str(), str.length(), true);
  return *this;
}

CefString& CefString::operator=(CefString&& str) noexcept {
  if (Struct() == str.Struct()) return *this;
  if (m_attached == nullptr && str.m_attached == nullptr) {
    cef_string_clear(&m_own);
    m_own = str.m_own;
    str.m_own = struct_type();
  } else {
    // Into an attached structure, or out of one: the text is copied, so that
    // each structure keeps text of its own.
    FromString(str.c_str(), str.length(), true);
  }
  return *this;
}

CefString& CefString::operator=(const std::wstring& str) {
  FromWString(str);
  return *this;
}

CefString& CefString::operator=(const wchar_t* str) {
  FromString(str, str != nullptr ? std::wcslen(str) : 0, true);
  return *this;
}

CefString& CefString::operator=(const std::string& str) {
  FromString(str);
  return *this;
}

CefString& CefString::operator=(const char* str) {
  FromString(std::string(str != nullptr ? str : ""));
  return *this;
}

const CefString::char_type* CefString::c_str() const {
  const struct_type* s = Struct();
  return s->str != nullptr ? s->str : L"";
}

int CefString::compare(const CefString& str) const {
  return cef_string_cmp(Struct(), str.Struct());
}

void CefString::clear() { cef_string_clear(Struct()); }

void CefString::ClearAndFree() {
  if (m_attached == nullptr) {
    cef_string_clear(&m_own);
    return;
  }
  if (m_ownsAttached) cef_string_userfree_free(m_attached);
  m_attached = nullptr;
  m_ownsAttached = false;
}

void CefString::Attach(struct_type* str, bool owner) {
  if (str == Struct()) return;
  ClearAndFree();
  m_attached = str;
  m_ownsAttached = str != nullptr && owner;
}

void CefString::AttachToUserFree(userfree_struct_type str) {
  if (str == Struct()) return;
  ClearAndFree();
  if (str == nullptr) return;
  // The text changes hands as it is; only the structure around it goes.
  m_own = *str;
  *str = struct_type();
  cef_string_userfree_free(str);
}

CefString::userfree_struct_type CefString::DetachToUserFree() {
  if (empty()) return nullptr;
  userfree_struct_type str = cef_string_userfree_alloc();
  if (IsOwner() && Struct()->dtor != nullptr) {
    *str = *Struct();
    *Struct() = struct_type();
  } else {
    // Text this string does not own is copied, never handed on.
    cef_string_copy(c_str(), length(), str);
    clear();
  }
  return str;
}

CefString::struct_type* CefString::Detach() {
  if (m_attached != nullptr) {
    struct_type* str = m_attached;
    m_attached = nullptr;
    m_ownsAttached = false;
    return str;
  }
  userfree_struct_type str = cef_string_userfree_alloc();
  *str = m_own;
  m_own = struct_type();
  return str;
}

bool CefString::FromString(const char_type* src, size_t src_len, bool copy) {
  return cef_string_set(src, src_len, Struct(), copy ? 1 : 0) != 0;
}

std::string CefString::ToString() const {
  if (empty()) return std::string();
  cef_string_utf8_t utf8 = {};
  cef_string_to_utf8(Struct()->str, length(), &utf8);
  std::string text(utf8.str != nullptr ? utf8.str : "", utf8.length);
  cef_string_utf8_clear(&utf8);
  return text;
}

bool CefString::FromString(const std::string& utf8) {
  return cef_string_from_utf8(utf8.data(), utf8.size(), Struct()) != 0;
}

std::wstring CefString::ToWString() const { return std::wstring(c_str(), length()); }

bool CefString::FromWString(const std::wstring& text) {
  return FromString(text.data(), text.size(), true);
}

bool CefString::FromASCII(const char* str) {
  clear();
  if (str == nullptr) return true;
  std::wstring wide;
  for (const char* p = str; *p != '\0'; ++p) {
    if (static_cast<unsigned char>(*p) > 0x7F) return false;
    wide += static_cast<wchar_t>(*p);
  }
  return FromWString(wide);
}
