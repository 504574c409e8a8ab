// The engine's string: UTF-16 text, converted to and from UTF-8 at the
// interface.  Malformed UTF-8 becomes U+FFFD, as the engine's own converter
// does, rather than being dropped.
#pragma once

#include <string>

class CefString {
 public:
  CefString() = default;
  CefString(const std::wstring& text) : m_text(text) {}  // NOLINT: implicit by design
  CefString(const wchar_t* text) : m_text(text != nullptr ? text : L"") {}  // NOLINT
  CefString(const std::string& utf8) { FromString(utf8); }                  // NOLINT
  CefString(const char* utf8) { FromString(utf8 != nullptr ? utf8 : ""); }  // NOLINT

  const wchar_t* c_str() const { return m_text.c_str(); }
  size_t length() const { return m_text.length(); }
  size_t size() const { return m_text.size(); }
  bool empty() const { return m_text.empty(); }
  void clear() { m_text.clear(); }

  // The text as UTF-8.
  std::string ToString() const;
  // The text as UTF-16.
  std::wstring ToWString() const { return m_text; }
  operator std::wstring() const { return m_text; }

  bool FromString(const std::string& utf8);
  bool FromWString(const std::wstring& text) {
    m_text = text;
    return true;
  }

  bool operator==(const CefString& other) const { return m_text == other.m_text; }
  bool operator!=(const CefString& other) const { return m_text != other.m_text; }
  bool operator<(const CefString& other) const { return m_text < other.m_text; }

 private:
  std::wstring m_text;
};
