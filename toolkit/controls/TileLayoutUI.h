// A layout that arranges its children in a grid of equal columns, row by
// row.  Each row is as tall as its tallest child; each child is centred in
// its cell.  With an item width the column count follows from the
// layout's width.
#pragma once

#include <windows.h>

#include "toolkit/controls/ContainerUI.h"

namespace SkinUI {

class CTileLayoutUI : public CContainerUI {
 public:
  CTileLayoutUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  SIZE GetItemSize() const;
  // A positive width makes the layout fit as many columns of that width
  // as it can.
  void SetItemSize(SIZE szItem);
  int GetColumns() const;
  // Counts of 0 or less are ignored.
  void SetColumns(int nCols);

  void SetPos(RECT rc) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

 protected:
  SIZE m_szItem;
  int m_nColumns;
};

}  // namespace SkinUI
