#include "windows/TabItem.h"

#include <cwchar>

#include "toolkit/controls/OptionUI.h"

namespace {

// The three looks of a tab.  The tab images keep 30 pixels at each side
// and 2 at top and bottom unstretched, so their rounded shoulders and
// separator survive any tab width; the close glyph is drawn into the
// middle 8 x 8 pixels of its 16 x 16 button.
constexpr wchar_t kSelectedImage[] = L"file='sel.png' corner='30,2,30,2'";
constexpr wchar_t kUnselectedImage[] = L"file='unsel_b.png' corner='30,2,30,2'";
constexpr wchar_t kEdgeImage[] = L"file='unsel_a.png' corner='30,2,30,2'";
constexpr wchar_t kCloseSelectedImage[] = L"file='close_sel.png' dest='4,4,12,12'";
constexpr wchar_t kCloseUnselectedImage[] = L"file='close_unsel.png' dest='4,4,12,12'";
constexpr DWORD kSelectedTitleColor = 0xFF333333;
constexpr DWORD kUnselectedTitleColor = 0xFF777777;

}  // namespace

const wchar_t TabItem::kElementName[] = L"TabItem";

TabItem::TabItem() : m_pTitle(nullptr), m_pCloseBtn(nullptr) {}

LPCWSTR TabItem::GetClass() const { return L"TabItem"; }

LPVOID TabItem::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"TabItem") == 0) {
    return static_cast<TabItem*>(this);
  }
  return CHorizontalLayoutUI::GetInterface(pstrName);
}

bool TabItem::Add(SkinUI::CControlUI* pControl) {
  if (!CHorizontalLayoutUI::Add(pControl)) return false;
  Bind(pControl);
  return true;
}

bool TabItem::AddAt(SkinUI::CControlUI* pControl, int iIndex) {
  if (!CHorizontalLayoutUI::AddAt(pControl, iIndex)) return false;
  Bind(pControl);
  return true;
}

bool TabItem::Remove(SkinUI::CControlUI* pControl) {
  // Unbound first: a removed child may be deleted by the container.
  Unbind(pControl);
  return CHorizontalLayoutUI::Remove(pControl);
}

bool TabItem::RemoveAt(int iIndex) {
  Unbind(GetItemAt(iIndex));
  return CHorizontalLayoutUI::RemoveAt(iIndex);
}

void TabItem::RemoveAll() {
  m_pTitle = nullptr;
  m_pCloseBtn = nullptr;
  CHorizontalLayoutUI::RemoveAll();
}

void TabItem::Bind(SkinUI::CControlUI* pControl) {
  if (pControl == nullptr) return;
  if (auto* pOption = static_cast<SkinUI::COptionUI*>(pControl->GetInterface(L"Option"))) {
    if (m_pTitle == nullptr) m_pTitle = pOption;
    return;
  }
  if (m_pCloseBtn == nullptr && pControl->GetInterface(L"Button") != nullptr) {
    m_pCloseBtn = pControl;
  }
}

void TabItem::Unbind(SkinUI::CControlUI* pControl) {
  if (pControl == nullptr) return;
  if (pControl == m_pTitle) m_pTitle = nullptr;
  if (pControl == m_pCloseBtn) m_pCloseBtn = nullptr;
}

void TabItem::ApplyLook(LPCWSTR pstrBkImage, DWORD dwTitleColor, LPCWSTR pstrCloseImage) {
  SetBkImage(pstrBkImage);
  if (m_pTitle != nullptr) m_pTitle->SetTextColor(dwTitleColor);
  if (m_pCloseBtn != nullptr) m_pCloseBtn->SetBkImage(pstrCloseImage);
}

void TabItem::RestyleTab(bool bSelected) {
  if (bSelected) {
    ApplyLook(kSelectedImage, kSelectedTitleColor, kCloseSelectedImage);
  } else {
    ApplyLook(kUnselectedImage, kUnselectedTitleColor, kCloseUnselectedImage);
  }
  // The whole tab is repainted in one pass, background and children
  // together, rather than piece by piece as each setter asks.
  Invalidate();
}

void TabItem::RestyleAsEdgeTab() {
  ApplyLook(kEdgeImage, kUnselectedTitleColor, kCloseUnselectedImage);
  Invalidate();
}
