// The tab strip's styling: the selected tab, the tab left of it and the
// last tab are drawn so that the separators between tabs look right.
#include "windows/BrowserWnd.h"

#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/OptionUI.h"
#include "windows/TabItem.h"

namespace {

TabItem* TabAt(SkinUI::CContainerUI& container, int iIndex) {
  SkinUI::CControlUI* pItem = container.GetItemAt(iIndex);
  if (pItem == nullptr) return nullptr;
  return static_cast<TabItem*>(pItem->GetInterface(L"TabItem"));
}

}  // namespace

void CBrowserWnd::OnSelectChanged(SkinUI::TNotifyUI& msg) {
  if (msg.pSender == nullptr || m_pTabContainer == nullptr) return;

  int iSelected = 0;
  for (int i = 0; i < m_pTabContainer->GetCount(); ++i) {
    TabItem* pTab = TabAt(*m_pTabContainer, i);
    if (pTab == nullptr) continue;
    const bool bSelected = pTab->GetTitle() != nullptr &&
                           static_cast<SkinUI::CControlUI*>(pTab->GetTitle()) == msg.pSender;
    pTab->RestyleTab(bSelected);
    if (!bSelected) continue;
    iSelected = i;
    // The selected tab draws its own left edge, so its left neighbour
    // needs no separator.
    if (i >= 1) {
      if (TabItem* pLeft = TabAt(*m_pTabContainer, i - 1)) pLeft->RestyleAsEdgeTab();
    }
  }

  const int nCount = m_pTabContainer->GetCount();
  if (nCount < 2 || iSelected == nCount - 1) return;
  if (TabItem* pLast = TabAt(*m_pTabContainer, nCount - 1)) pLast->RestyleAsEdgeTab();
}
