#include "toolkit/controls/MarkupNode.h"

#include "toolkit/controls/Markup.h"

#include <cstring>
#include <cwchar>

namespace SkinUI {

namespace {

const wchar_t kNoText[] = L"";

bool IsWhitespace(wchar_t ch) { return ch != L'\0' && ch <= L' '; }

// The position behind the terminator of the string at `text`.  Names and
// values are short, and a loop here is faster than a call per string.
const wchar_t* PastString(const wchar_t* text) {
  while (*text != L'\0') ++text;
  return text + 1;
}

}  // namespace

CMarkupNode::CMarkupNode() : m_iPos(0), m_nAttributes(0), m_pOwner(nullptr) {}

CMarkupNode::CMarkupNode(CMarkup* owner, unsigned long position)
    : m_iPos(position), m_nAttributes(0), m_pOwner(owner) {}

bool CMarkupNode::IsValid() const { return m_pOwner != nullptr; }

CMarkupNode CMarkupNode::GetParent() const {
  if (m_pOwner == nullptr) return CMarkupNode();
  const unsigned long parent = m_pOwner->m_pElements[m_iPos].iParent;
  return parent == 0 ? CMarkupNode() : CMarkupNode(m_pOwner, parent);
}

CMarkupNode CMarkupNode::GetSibling() const {
  if (m_pOwner == nullptr) return CMarkupNode();
  const unsigned long next = m_pOwner->m_pElements[m_iPos].iNext;
  return next == 0 ? CMarkupNode() : CMarkupNode(m_pOwner, next);
}

CMarkupNode CMarkupNode::GetChild() const {
  if (m_pOwner == nullptr) return CMarkupNode();
  const unsigned long child = m_pOwner->m_pElements[m_iPos].iChild;
  return child == 0 ? CMarkupNode() : CMarkupNode(m_pOwner, child);
}

CMarkupNode CMarkupNode::GetChild(const wchar_t* name) const {
  if (m_pOwner == nullptr || name == nullptr) return CMarkupNode();
  for (unsigned long child = m_pOwner->m_pElements[m_iPos].iChild; child != 0;
       child = m_pOwner->m_pElements[child].iNext) {
    if (std::wcscmp(m_pOwner->m_pstrXML + m_pOwner->m_pElements[child].iStart, name) == 0)
      return CMarkupNode(m_pOwner, child);
  }
  return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const {
  return m_pOwner != nullptr && m_pOwner->m_pElements[m_iPos].iNext != 0;
}

bool CMarkupNode::HasChildren() const {
  return m_pOwner != nullptr && m_pOwner->m_pElements[m_iPos].iChild != 0;
}

const wchar_t* CMarkupNode::GetName() const {
  if (m_pOwner == nullptr) return nullptr;
  return m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iStart;
}

const wchar_t* CMarkupNode::GetValue() const {
  if (m_pOwner == nullptr) return nullptr;
  return m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iData;
}

void CMarkupNode::MapAttributes() const {
  m_nAttributes = 0;
  const wchar_t* base = m_pOwner->m_pstrXML;
  const CMarkup::XMLELEMENT& element = m_pOwner->m_pElements[m_iPos];
  const wchar_t* text = PastString(base + element.iStart);
  // The start tag ends where the element's text begins; nothing behind it
  // belongs to the attributes.
  const wchar_t* end = base + element.iData;
  while (m_nAttributes < kMaxAttributes && text < end) {
    while (text < end && IsWhitespace(*text)) ++text;
    if (text >= end) break;
    const wchar_t* name = text;
    text = PastString(text);
    if (text >= end) break;
    while (text < end && IsWhitespace(*text)) ++text;
    if (text >= end || *text != L'"') break;
    ++text;
    const wchar_t* value = text;
    text = PastString(text);
    m_aAttributes[m_nAttributes].iName = static_cast<unsigned long>(name - base);
    m_aAttributes[m_nAttributes].iValue = static_cast<unsigned long>(value - base);
    ++m_nAttributes;
  }
}

int CMarkupNode::GetAttributeCount() const {
  if (m_pOwner == nullptr) return 0;
  if (m_nAttributes == 0) MapAttributes();
  return m_nAttributes;
}

bool CMarkupNode::HasAttributes() const { return GetAttributeCount() > 0; }

int CMarkupNode::FindAttribute(const wchar_t* name) const {
  if (name == nullptr) return -1;
  const int count = GetAttributeCount();
  for (int i = 0; i < count; ++i) {
    if (std::wcscmp(m_pOwner->m_pstrXML + m_aAttributes[i].iName, name) == 0) return i;
  }
  return -1;
}

bool CMarkupNode::HasAttribute(const wchar_t* name) const {
  return m_pOwner != nullptr && FindAttribute(name) >= 0;
}

const wchar_t* CMarkupNode::GetAttributeName(int index) const {
  if (m_pOwner == nullptr) return nullptr;
  if (index < 0 || index >= GetAttributeCount()) return kNoText;
  return m_pOwner->m_pstrXML + m_aAttributes[index].iName;
}

const wchar_t* CMarkupNode::GetAttributeValue(int index) const {
  if (m_pOwner == nullptr) return nullptr;
  if (index < 0 || index >= GetAttributeCount()) return kNoText;
  return m_pOwner->m_pstrXML + m_aAttributes[index].iValue;
}

const wchar_t* CMarkupNode::GetAttributeValue(const wchar_t* name) const {
  if (m_pOwner == nullptr) return nullptr;
  const int index = FindAttribute(name);
  return index < 0 ? kNoText : m_pOwner->m_pstrXML + m_aAttributes[index].iValue;
}

namespace {

bool CopyValue(const wchar_t* value, wchar_t* buffer, size_t capacity) {
  if (buffer == nullptr || capacity == 0) return false;
  const size_t count = ::wcsnlen(value, capacity - 1);
  std::memcpy(buffer, value, count * sizeof(wchar_t));
  buffer[count] = L'\0';
  return true;
}

}  // namespace

bool CMarkupNode::GetAttributeValue(int index, wchar_t* buffer, size_t capacity) const {
  if (m_pOwner == nullptr || index < 0 || index >= GetAttributeCount()) return false;
  return CopyValue(m_pOwner->m_pstrXML + m_aAttributes[index].iValue, buffer, capacity);
}

bool CMarkupNode::GetAttributeValue(const wchar_t* name, wchar_t* buffer, size_t capacity) const {
  if (m_pOwner == nullptr) return false;
  const int index = FindAttribute(name);
  if (index < 0) return false;
  return CopyValue(m_pOwner->m_pstrXML + m_aAttributes[index].iValue, buffer, capacity);
}

}  // namespace SkinUI
