// The paint manager's resource chain, default colours, default attribute
// lists and option groups.

#include <new>

#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// Option groups rarely hold more than a handful of options.
constexpr int kOptionGroupCapacity = 6;

}  // namespace

bool CPaintManagerUI::UseParentResource(CPaintManagerUI* pm) {
  if (pm != nullptr) {
    // The parent itself counts too: a manager that were its own parent, or
    // any other cycle, would send every lookup round for ever.
    for (const CPaintManagerUI* parent = pm; parent != nullptr;
         parent = parent->m_pParentResourcePM) {
      if (parent == this) return false;
    }
  }
  m_pParentResourcePM = pm;
  return true;
}

CPaintManagerUI* CPaintManagerUI::GetParentResource() const { return m_pParentResourcePM; }

DWORD CPaintManagerUI::GetDefaultDisabledColor() const {
  return GetTopResource()->m_dwDefaultDisabledColor;
}

void CPaintManagerUI::SetDefaultDisabledColor(DWORD dwColor) { m_dwDefaultDisabledColor = dwColor; }

DWORD CPaintManagerUI::GetDefaultFontColor() const {
  return GetTopResource()->m_dwDefaultFontColor;
}

void CPaintManagerUI::SetDefaultFontColor(DWORD dwColor) { m_dwDefaultFontColor = dwColor; }

DWORD CPaintManagerUI::GetDefaultLinkFontColor() const {
  return GetTopResource()->m_dwDefaultLinkFontColor;
}

void CPaintManagerUI::SetDefaultLinkFontColor(DWORD dwColor) { m_dwDefaultLinkFontColor = dwColor; }

DWORD CPaintManagerUI::GetDefaultLinkHoverFontColor() const {
  return GetTopResource()->m_dwDefaultLinkHoverFontColor;
}

void CPaintManagerUI::SetDefaultLinkHoverFontColor(DWORD dwColor) {
  m_dwDefaultLinkHoverFontColor = dwColor;
}

DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const {
  return GetTopResource()->m_dwDefaultSelectedBkColor;
}

void CPaintManagerUI::SetDefaultSelectedBkColor(DWORD dwColor) {
  m_dwDefaultSelectedBkColor = dwColor;
}

void CPaintManagerUI::AddDefaultAttributeList(LPCWSTR pStrControlName,
                                              LPCWSTR pStrControlAttrList) {
  if (pStrControlName == nullptr || *pStrControlName == L'\0') return;
  // The first list given for a class wins.
  if (m_DefaultAttrHash.Find(pStrControlName, false) != nullptr) return;
  auto* list = new (std::nothrow) CSkinString(pStrControlAttrList);
  if (list == nullptr) return;
  if (!m_DefaultAttrHash.Insert(pStrControlName, list)) delete list;
}

LPCWSTR CPaintManagerUI::GetDefaultAttributeList(LPCWSTR pStrControlName) const {
  for (const CPaintManagerUI* manager = this; manager != nullptr;
       manager = manager->m_pParentResourcePM) {
    if (auto* list =
            static_cast<const CSkinString*>(manager->m_DefaultAttrHash.Find(pStrControlName))) {
      return list->GetData();
    }
  }
  return nullptr;
}

bool CPaintManagerUI::RemoveDefaultAttributeList(LPCWSTR pStrControlName) {
  auto* list = static_cast<CSkinString*>(m_DefaultAttrHash.Find(pStrControlName, false));
  if (list == nullptr) return false;
  m_DefaultAttrHash.Remove(pStrControlName);
  delete list;
  return true;
}

const CStdStringPtrMap& CPaintManagerUI::GetDefaultAttribultes() const { return m_DefaultAttrHash; }

void CPaintManagerUI::RemoveAllDefaultAttributeList() {
  for (int i = 0; i < m_DefaultAttrHash.GetSize(); ++i) {
    if (const wchar_t* key = m_DefaultAttrHash.GetAt(i)) {
      delete static_cast<CSkinString*>(m_DefaultAttrHash.Find(key, false));
    }
  }
  m_DefaultAttrHash.RemoveAll();
}

bool CPaintManagerUI::AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl) {
  if (pStrGroupName == nullptr) return false;
  auto* group = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
  if (group != nullptr) {
    if (group->Find(pControl) >= 0) return false;
    return group->Add(pControl);
  }
  group = new (std::nothrow) CStdPtrArray(kOptionGroupCapacity);
  if (group == nullptr) return false;
  if (!group->Add(pControl) || !m_mOptionGroup.Insert(pStrGroupName, group)) {
    delete group;
    return false;
  }
  return true;
}

CStdPtrArray* CPaintManagerUI::GetOptionGroup(LPCWSTR pStrGroupName) {
  return static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
}

void CPaintManagerUI::RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl) {
  auto* group = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
  if (group == nullptr) return;
  int index = group->Find(pControl);
  if (index < 0) return;
  group->Remove(index);
  if (group->IsEmpty()) {
    m_mOptionGroup.Remove(pStrGroupName);
    delete group;
  }
}

void CPaintManagerUI::RemoveAllOptionGroups() {
  for (int i = 0; i < m_mOptionGroup.GetSize(); ++i) {
    if (const wchar_t* key = m_mOptionGroup.GetAt(i)) {
      delete static_cast<CStdPtrArray*>(m_mOptionGroup.Find(key, false));
    }
  }
  m_mOptionGroup.RemoveAll();
}

}  // namespace SkinUI
