// A handle to one element of a parsed skin document.  It is copied by value,
// owns nothing, and is valid only while its document stays loaded.  The
// parse records every attribute, so reading one costs an index and no walk
// of the text.
#pragma once

#include <cstddef>

namespace SkinUI {

class CMarkup;

class CMarkupNode {
 public:
  // At most this many attributes of an element are visible; later ones are
  // ignored by every lookup.
  static constexpr int kMaxAttributes = 64;

  // An invalid handle.
  CMarkupNode();

  // True when the handle belongs to a document.
  bool IsValid() const;

  // The parent, next sibling or first child, or an invalid handle.
  CMarkupNode GetParent() const;
  CMarkupNode GetSibling() const;
  CMarkupNode GetChild() const;
  // The first child named exactly `name` (case-sensitive), or an invalid
  // handle.
  CMarkupNode GetChild(const wchar_t* name) const;

  bool HasSiblings() const;
  bool HasChildren() const;
  // The element name, or null for an invalid handle.
  const wchar_t* GetName() const;
  // The element's text, entity-decoded, or null for an invalid handle.
  const wchar_t* GetValue() const;

  bool HasAttributes() const;
  bool HasAttribute(const wchar_t* name) const;
  int GetAttributeCount() const;
  // The index-th attribute in document order: an empty string for an index
  // outside the attributes, null for an invalid handle.
  const wchar_t* GetAttributeName(int index) const;
  const wchar_t* GetAttributeValue(int index) const;
  // The value of the first attribute named exactly `name`: an empty string
  // when there is none, null for an invalid handle.
  const wchar_t* GetAttributeValue(const wchar_t* name) const;
  // Copy the value into `buffer`, which holds `capacity` units: the value is
  // cut to capacity - 1 characters and always terminated.  False when the
  // handle is invalid, the attribute is absent or there is no room.
  bool GetAttributeValue(int index, wchar_t* buffer, size_t capacity) const;
  bool GetAttributeValue(const wchar_t* name, wchar_t* buffer, size_t capacity) const;

 private:
  friend class CMarkup;

  CMarkupNode(CMarkup* owner, unsigned long position);
  // The index of the attribute named `name`, or -1.
  int FindAttribute(const wchar_t* name) const;

  unsigned long m_iPos;
  CMarkup* m_pOwner;
};

}  // namespace SkinUI
