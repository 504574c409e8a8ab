// A button with a selected state.  Options that share a group name within
// one window are exclusive: selecting one deselects the others.  Every
// selection reports "selectchanged".
//
// Sources by concern: OptionUI.cpp (selection, groups and attributes),
// OptionPaint.cpp (selected images, background and text colours).
#pragma once

#include <windows.h>

#include "toolkit/controls/ButtonUI.h"

namespace SkinUI {

class COptionUI : public CButtonUI {
 public:
  COptionUI();
  // Leaves its group.
  ~COptionUI() override;

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  // With `bInit`, an option with a group joins the manager's group.
  void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
  // A click: as a button's, then selected (in a group) or toggled.
  bool Activate() override;
  // Disabling keeps only the selected bit.
  void SetEnabled(bool bEnable = true) override;
  SIZE EstimateSize(SIZE szAvailable) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;

  // Sets the selected state; selecting an option of a group deselects the
  // group's other options.
  virtual void Selected(bool bSelected);
  bool IsSelected() const;

  LPCWSTR GetGroup() const;
  void SetGroup(LPCWSTR pStrGroupName = nullptr);

  LPCWSTR GetSelectedImage() const;
  void SetSelectedImage(LPCWSTR pStrImage);
  LPCWSTR GetSelectedHotImage() const;
  void SetSelectedHotImage(LPCWSTR pStrImage);
  LPCWSTR GetSelectedPushedImage() const;
  void SetSelectedPushedImage(LPCWSTR pStrImage);
  LPCWSTR GetSelectedForedImage() const;
  void SetSelectedForedImage(LPCWSTR pStrImage);

  void SetSelectedBkColor(DWORD dwBkColor);
  DWORD GetSelectBkColor() const;
  void SetSelectedTextColor(DWORD dwTextColor);
  // The window's default font colour, which is then kept, while none is
  // set.
  DWORD GetSelectedTextColor();

 protected:
  bool m_bSelected;
  CSkinString m_sGroupName;
  DWORD m_dwSelectedBkColor;
  DWORD m_dwSelectedTextColor;
  CImageAttribute m_diSelected;
  CImageAttribute m_diSelectedHot;
  CImageAttribute m_diSelectedPushed;
  CImageAttribute m_diSelectedFore;
};

}  // namespace SkinUI
