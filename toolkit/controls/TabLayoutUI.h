// A layout that shows one of its children (a page) at a time, sized to
// its inner rectangle; the other pages stay hidden.
#pragma once

#include <windows.h>

#include "toolkit/controls/ContainerUI.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI {
 public:
  CTabLayoutUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  bool Add(CControlUI* pControl) override;
  bool AddAt(CControlUI* pControl, int iIndex) override;
  bool Remove(CControlUI* pControl) override;
  // Removal by index keeps the selection on a page too.
  bool RemoveAt(int iIndex) override;
  void RemoveAll() override;

  // The selected page's index; -1 while there is none.
  int GetCurSel() const;
  // Shows the page at `iIndex` and hides the others; false when there is
  // no such page.  Selecting the current page again does nothing.
  virtual bool SelectItem(int iIndex);
  // The same for a page given by itself; false when it is not a child.
  virtual bool SelectItem(CControlUI* pControl);

  void SetPos(RECT rc) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

 protected:
  int m_iCurSel;
};

}  // namespace SkinUI
