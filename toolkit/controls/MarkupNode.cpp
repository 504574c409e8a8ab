#include "toolkit/controls/MarkupNode.h"

#include "toolkit/controls/Markup.h"

#include <cstring>
#include <cwchar>

namespace SkinUI {

namespace {

const wchar_t kNoText[] = L"";

// True when the terminated strings are equal.  Attribute names are short
// and differ in their first units nearly always, where a loop here ends
// sooner than a call would.
bool SameName(const wchar_t* a, const wchar_t* b) {
  for (; *a == *b; ++a, ++b) {
    if (*a == L'\0') return true;
  }
  return false;
}

bool CopyValue(const wchar_t* value, wchar_t* buffer, size_t capacity) {
  if (buffer == nullptr || capacity == 0) return false;
  const size_t count = ::wcsnlen(value, capacity - 1);
  std::memcpy(buffer, value, count * sizeof(wchar_t));
  buffer[count] = L'\0';
  return true;
}

}  // namespace

CMarkupNode::CMarkupNode() : m_iPos(0), m_pOwner(nullptr) {}

CMarkupNode::CMarkupNode(CMarkup* owner, unsigned long position)
    : m_iPos(position), m_pOwner(owner) {}

bool CMarkupNode::IsValid() const { return m_pOwner != nullptr; }

CMarkupNode CMarkupNode::GetParent() const {
  if (m_pOwner == nullptr) return CMarkupNode();
  const unsigned long parent = m_pOwner->Element(m_iPos).iParent;
  return parent == 0 ? CMarkupNode() : CMarkupNode(m_pOwner, parent);
}

CMarkupNode CMarkupNode::GetSibling() const {
  if (m_pOwner == nullptr) return CMarkupNode();
  const unsigned long next = m_pOwner->Element(m_iPos).iNext;
  return next == 0 ? CMarkupNode() : CMarkupNode(m_pOwner, next);
}

CMarkupNode CMarkupNode::GetChild() const {
  if (m_pOwner == nullptr) return CMarkupNode();
  const unsigned long child = m_pOwner->Element(m_iPos).iChild;
  return child == 0 ? CMarkupNode() : CMarkupNode(m_pOwner, child);
}

CMarkupNode CMarkupNode::GetChild(const wchar_t* name) const {
  if (m_pOwner == nullptr || name == nullptr) return CMarkupNode();
  for (unsigned long child = m_pOwner->Element(m_iPos).iChild; child != 0;
       child = m_pOwner->Element(child).iNext) {
    if (SameName(m_pOwner->m_pstrXML + m_pOwner->Element(child).iStart, name))
      return CMarkupNode(m_pOwner, child);
  }
  return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const {
  return m_pOwner != nullptr && m_pOwner->Element(m_iPos).iNext != 0;
}

bool CMarkupNode::HasChildren() const {
  return m_pOwner != nullptr && m_pOwner->Element(m_iPos).iChild != 0;
}

const wchar_t* CMarkupNode::GetName() const {
  if (m_pOwner == nullptr) return nullptr;
  return m_pOwner->m_pstrXML + m_pOwner->Element(m_iPos).iStart;
}

const wchar_t* CMarkupNode::GetValue() const {
  if (m_pOwner == nullptr) return nullptr;
  return m_pOwner->m_pstrXML + m_pOwner->Element(m_iPos).iData;
}

int CMarkupNode::GetAttributeCount() const {
  if (m_pOwner == nullptr) return 0;
  return static_cast<int>(m_pOwner->Element(m_iPos).nAttributes);
}

bool CMarkupNode::HasAttributes() const { return GetAttributeCount() > 0; }

int CMarkupNode::FindAttribute(const wchar_t* name) const {
  if (m_pOwner == nullptr || name == nullptr) return -1;
  const CMarkup::XMLATTRIBUTE* attributes = m_pOwner->Attributes(m_iPos);
  const int count = GetAttributeCount();
  for (int i = 0; i < count; ++i) {
    if (SameName(m_pOwner->m_pstrXML + attributes[i].iName, name)) return i;
  }
  return -1;
}

bool CMarkupNode::HasAttribute(const wchar_t* name) const { return FindAttribute(name) >= 0; }

const wchar_t* CMarkupNode::GetAttributeName(int index) const {
  if (m_pOwner == nullptr) return nullptr;
  if (index < 0 || index >= GetAttributeCount()) return kNoText;
  return m_pOwner->m_pstrXML + m_pOwner->Attributes(m_iPos)[index].iName;
}

const wchar_t* CMarkupNode::GetAttributeValue(int index) const {
  if (m_pOwner == nullptr) return nullptr;
  if (index < 0 || index >= GetAttributeCount()) return kNoText;
  return m_pOwner->m_pstrXML + m_pOwner->Attributes(m_iPos)[index].iValue;
}

const wchar_t* CMarkupNode::GetAttributeValue(const wchar_t* name) const {
  if (m_pOwner == nullptr) return nullptr;
  const int index = FindAttribute(name);
  return index < 0 ? kNoText : m_pOwner->m_pstrXML + m_pOwner->Attributes(m_iPos)[index].iValue;
}

bool CMarkupNode::GetAttributeValue(int index, wchar_t* buffer, size_t capacity) const {
  if (m_pOwner == nullptr || index < 0 || index >= GetAttributeCount()) return false;
  return CopyValue(m_pOwner->m_pstrXML + m_pOwner->Attributes(m_iPos)[index].iValue, buffer,
                   capacity);
}

bool CMarkupNode::GetAttributeValue(const wchar_t* name, wchar_t* buffer, size_t capacity) const {
  const int index = FindAttribute(name);
  if (index < 0) return false;
  return CopyValue(m_pOwner->m_pstrXML + m_pOwner->Attributes(m_iPos)[index].iValue, buffer,
                   capacity);
}

}  // namespace SkinUI
