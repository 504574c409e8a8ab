#include "toolkit/controls/TabLayoutUI.h"

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/LayoutSizing.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

using Row = TAttributeRow<CTabLayoutUI>;

const Row kTabLayoutAttributes[] = {
    {L"selectedid", [](CTabLayoutUI& c, LPCWSTR v) { c.SelectItem(ParseInt(v)); }},
};

}  // namespace

CTabLayoutUI::CTabLayoutUI() : m_iCurSel(-1) {}

LPCWSTR CTabLayoutUI::GetClass() const { return L"TabLayoutUI"; }

LPVOID CTabLayoutUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"TabLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

// --- Pages ---------------------------------------------------------------------

bool CTabLayoutUI::Add(CControlUI* pControl) {
  // Whether the page itself is shown is read before the container hides
  // it along with a hidden tab layout.
  const bool visible = pControl != nullptr && pControl->IsVisible();
  if (!CContainerUI::Add(pControl)) return false;
  if (m_iCurSel == -1 && visible) {
    m_iCurSel = GetItemIndex(pControl);
  } else {
    pControl->SetVisible(false);
  }
  return true;
}

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex) {
  const bool visible = pControl != nullptr && pControl->IsVisible();
  if (!CContainerUI::AddAt(pControl, iIndex)) return false;
  if (m_iCurSel == -1 && visible) {
    m_iCurSel = iIndex;
  } else {
    pControl->SetVisible(false);
    // The selected page moved one place on.
    if (iIndex <= m_iCurSel) ++m_iCurSel;
  }
  return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl) {
  if (pControl == nullptr) return false;
  const int index = GetItemIndex(pControl);
  if (index < 0) return false;
  return RemoveAt(index);
}

bool CTabLayoutUI::RemoveAt(int iIndex) {
  if (!CContainerUI::RemoveAt(iIndex)) return false;
  if (iIndex == m_iCurSel) {
    // The first page takes over, quietly: nobody chose it.
    if (GetCount() > 0) {
      m_iCurSel = 0;
      GetItemAt(0)->SetVisible(true);
    } else {
      m_iCurSel = -1;
    }
    NeedParentUpdate();
  } else if (iIndex < m_iCurSel) {
    --m_iCurSel;
  }
  return true;
}

void CTabLayoutUI::RemoveAll() {
  m_iCurSel = -1;
  CContainerUI::RemoveAll();
  NeedParentUpdate();
}

// --- Selection -------------------------------------------------------------------

int CTabLayoutUI::GetCurSel() const { return m_iCurSel; }

bool CTabLayoutUI::SelectItem(int iIndex) {
  if (iIndex < 0 || iIndex >= m_items.GetSize()) return false;
  if (iIndex == m_iCurSel) return true;

  const int old = m_iCurSel;
  m_iCurSel = iIndex;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    auto* page = static_cast<CControlUI*>(m_items[i]);
    if (i == iIndex) {
      page->SetVisible(true);
      page->SetFocus();
    } else {
      page->SetVisible(false);
    }
  }
  SetPos(m_rcItem);
  NeedParentUpdate();

  if (m_pManager != nullptr) {
    // The keyboard focus moves on into the page just shown.
    m_pManager->SetNextTabControl(true);
    m_pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(m_iCurSel),
                           static_cast<LPARAM>(old));
  }
  return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl) {
  const int index = GetItemIndex(pControl);
  if (index < 0) return false;
  return SelectItem(index);
}

// --- Placement and attributes ----------------------------------------------------

void CTabLayoutUI::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  rc = m_rcItem;
  rc.left += m_rcInset.left;
  rc.top += m_rcInset.top;
  rc.right -= m_rcInset.right;
  rc.bottom -= m_rcInset.bottom;

  // Hidden pages keep their old rectangles: nothing looks at them.
  for (int i = 0; i < m_items.GetSize(); ++i) {
    auto* control = static_cast<CControlUI*>(m_items[i]);
    if (!control->IsVisible()) continue;
    if (control->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    if (i != m_iCurSel) continue;

    const RECT padding = control->GetPadding();
    RECT page = rc;
    page.left += padding.left;
    page.top += padding.top;
    page.right -= padding.right;
    page.bottom -= padding.bottom;
    const SIZE available = {page.right - page.left, page.bottom - page.top};
    SIZE sz = control->EstimateSize(available);
    if (sz.cx == 0) sz.cx = available.cx > 0 ? available.cx : 0;
    if (sz.cy == 0) sz.cy = available.cy > 0 ? available.cy : 0;
    sz.cx = ClampWidth(*control, sz.cx);
    sz.cy = ClampHeight(*control, sz.cy);
    control->SetPos(RECT{page.left, page.top, page.left + sz.cx, page.top + sz.cy});
  }
}

void CTabLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  // Every attribute also reaches the container, "selectedid" included:
  // the container has no use for it and ignores it.
  ApplyAttributeRow(kTabLayoutAttributes, *this, pstrName, pstrValue);
  CContainerUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace SkinUI
