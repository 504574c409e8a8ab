// One tab of the main window's tab strip: a row holding the tab's title (an
// option that raises "selectchanged" when the user picks the tab) and its
// close button.
//
// A tab only knows how to draw itself as selected, as an ordinary
// unselected tab, or as the unselected tab that needs no separator on its
// right (the one left of the selected tab, and the last one).  Which of the
// three each tab gets is decided by the window that owns the strip.
#pragma once

#include <windows.h>

#include "toolkit/controls/HorizontalLayoutUI.h"

namespace SkinUI {
class COptionUI;
}

class TabItem : public SkinUI::CHorizontalLayoutUI {
 public:
  // The element name of a tab in a skin file.
  static const wchar_t kElementName[];

  TabItem();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  // The first option added becomes the title and the first other button the
  // close button; removing either unbinds it.
  bool Add(SkinUI::CControlUI* pControl) override;
  bool AddAt(SkinUI::CControlUI* pControl, int iIndex) override;
  bool Remove(SkinUI::CControlUI* pControl) override;
  bool RemoveAt(int iIndex) override;
  void RemoveAll() override;

  SkinUI::COptionUI* GetTitle() const { return m_pTitle; }
  SkinUI::CControlUI* GetCloseButton() const { return m_pCloseBtn; }

  // Selected or ordinary unselected look.
  void RestyleTab(bool bSelected);
  // The unselected look without a separator on the right.
  void RestyleAsEdgeTab();

 private:
  void Bind(SkinUI::CControlUI* pControl);
  void Unbind(SkinUI::CControlUI* pControl);
  void ApplyLook(LPCWSTR pstrBkImage, DWORD dwTitleColor, LPCWSTR pstrCloseImage);

  SkinUI::COptionUI* m_pTitle;
  SkinUI::CControlUI* m_pCloseBtn;
};
