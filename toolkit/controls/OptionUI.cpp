#include "toolkit/controls/OptionUI.h"

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// Without a fixed height an option is as tall as its font plus this margin.
constexpr int kOptionHeightMargin = 8;

using Row = TAttributeRow<COptionUI>;

const Row kOptionAttributes[] = {
    {L"group", [](COptionUI& c, LPCWSTR v) { c.SetGroup(v); }},
    {L"selected", [](COptionUI& c, LPCWSTR v) { c.Selected(ParseBool(v)); }},
    {L"selectedimage", [](COptionUI& c, LPCWSTR v) { c.SetSelectedImage(v); }},
    {L"selectedhotimage", [](COptionUI& c, LPCWSTR v) { c.SetSelectedHotImage(v); }},
    {L"selectedpushedimage", [](COptionUI& c, LPCWSTR v) { c.SetSelectedPushedImage(v); }},
    {L"selectedforeimage", [](COptionUI& c, LPCWSTR v) { c.SetSelectedForedImage(v); }},
    {L"selectedbkcolor", [](COptionUI& c, LPCWSTR v) { c.SetSelectedBkColor(ParseColor(v)); }},
    {L"selectedtextcolor", [](COptionUI& c, LPCWSTR v) { c.SetSelectedTextColor(ParseColor(v)); }},
};

}  // namespace

COptionUI::COptionUI() : m_bSelected(false), m_dwSelectedBkColor(0), m_dwSelectedTextColor(0) {}

COptionUI::~COptionUI() {
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) {
    m_pManager->RemoveOptionGroup(m_sGroupName, this);
  }
}

LPCWSTR COptionUI::GetClass() const { return L"OptionUI"; }

LPVOID COptionUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"Option") == 0) {
    return static_cast<COptionUI*>(this);
  }
  return CButtonUI::GetInterface(pstrName);
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
  // An option moving to another window (or to none) leaves the group of
  // the old one, which would otherwise keep a pointer to it.
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr && m_pManager != pManager) {
    m_pManager->RemoveOptionGroup(m_sGroupName, this);
  }
  CButtonUI::SetManager(pManager, pParent, bInit);
  if (bInit && !m_sGroupName.IsEmpty() && m_pManager != nullptr) {
    m_pManager->AddOptionGroup(m_sGroupName, this);
  }
}

bool COptionUI::IsSelected() const { return m_bSelected; }

void COptionUI::Selected(bool bSelected) {
  m_bSelected = bSelected;
  if (m_bSelected) {
    m_uButtonState |= UISTATE_SELECTED;
  } else {
    m_uButtonState &= ~UISTATE_SELECTED;
  }
  if (m_pManager != nullptr) {
    if (m_sGroupName.IsEmpty()) {
      m_pManager->SendNotify(this, L"selectchanged");
    } else if (m_bSelected) {
      if (CStdPtrArray* group = m_pManager->GetOptionGroup(m_sGroupName)) {
        for (int i = 0; i < group->GetSize(); ++i) {
          auto* member = static_cast<CControlUI*>(group->GetAt(i));
          if (member == this) continue;
          // Anything else put into the group by hand is left alone.
          auto* option = static_cast<COptionUI*>(member->GetInterface(L"Option"));
          if (option != nullptr) option->Selected(false);
        }
      }
      m_pManager->SendNotify(this, L"selectchanged");
    }
  }
  Invalidate();
}

bool COptionUI::Activate() {
  if (!CButtonUI::Activate()) return false;
  Selected(m_sGroupName.IsEmpty() ? !m_bSelected : true);
  return true;
}

void COptionUI::SetEnabled(bool bEnable) {
  CControlUI::SetEnabled(bEnable);
  if (!IsEnabled()) m_uButtonState = m_bSelected ? UINT{UISTATE_SELECTED} : 0u;
}

LPCWSTR COptionUI::GetGroup() const { return m_sGroupName; }

void COptionUI::SetGroup(LPCWSTR pStrGroupName) {
  if (m_sGroupName == pStrGroupName) return;
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) {
    m_pManager->RemoveOptionGroup(m_sGroupName, this);
  }
  m_sGroupName = pStrGroupName;
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) {
    m_pManager->AddOptionGroup(m_sGroupName, this);
  }
  Selected(m_bSelected);
}

SIZE COptionUI::EstimateSize(SIZE /*szAvailable*/) {
  UpdateAutoWidth();
  if (m_cxyFixed.cy != 0) return m_cxyFixed;
  return SIZE{m_cxyFixed.cx, FontHeight() + kOptionHeightMargin};
}

void COptionUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (ApplyAttributeRow(kOptionAttributes, *this, pstrName, pstrValue)) return;
  CButtonUI::SetAttribute(pstrName, pstrValue);
}

LPCWSTR COptionUI::GetSelectedImage() const { return m_diSelected.GetAttributeString(); }

void COptionUI::SetSelectedImage(LPCWSTR pStrImage) {
  m_diSelected.SetAttributeString(pStrImage);
  Invalidate();
}

LPCWSTR COptionUI::GetSelectedHotImage() const { return m_diSelectedHot.GetAttributeString(); }

void COptionUI::SetSelectedHotImage(LPCWSTR pStrImage) {
  m_diSelectedHot.SetAttributeString(pStrImage);
  Invalidate();
}

LPCWSTR COptionUI::GetSelectedPushedImage() const {
  return m_diSelectedPushed.GetAttributeString();
}

void COptionUI::SetSelectedPushedImage(LPCWSTR pStrImage) {
  m_diSelectedPushed.SetAttributeString(pStrImage);
  Invalidate();
}

LPCWSTR COptionUI::GetSelectedForedImage() const { return m_diSelectedFore.GetAttributeString(); }

void COptionUI::SetSelectedForedImage(LPCWSTR pStrImage) {
  m_diSelectedFore.SetAttributeString(pStrImage);
  Invalidate();
}

void COptionUI::SetSelectedBkColor(DWORD dwBkColor) { m_dwSelectedBkColor = dwBkColor; }

DWORD COptionUI::GetSelectBkColor() const { return m_dwSelectedBkColor; }

void COptionUI::SetSelectedTextColor(DWORD dwTextColor) { m_dwSelectedTextColor = dwTextColor; }

DWORD COptionUI::GetSelectedTextColor() {
  if (m_dwSelectedTextColor == 0 && m_pManager != nullptr) {
    m_dwSelectedTextColor = m_pManager->GetDefaultFontColor();
  }
  return m_dwSelectedTextColor;
}

}  // namespace SkinUI
