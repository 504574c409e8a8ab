// The skinned modal message box: a yes/no question or a one-button notice.
//
// It is built from "messagebox.xml" in the skin folder, centred on its
// owner, and runs the window wrapper's modal loop with the owner disabled.
// The result says which button closed it: 1 for the yes button, 0 for the
// no button, the close button and every other way of closing it.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/core/WindowImplBase.h"

class CMessageBoxWnd : public SkinUI::WindowImplBase {
 public:
  CMessageBoxWnd();

  LPCWSTR GetWindowClassName() const override;
  void InitWindow() override;
  // Only clicks on the box's own buttons are handled; the system buttons
  // of the base have no effect here.
  void Notify(SkinUI::TNotifyUI& msg) override;

  // The controls of the skin, each null when the skin lacks it.
  SkinUI::CControlUI* GetTextLabel() const { return m_pTextLabel; }
  SkinUI::CControlUI* GetYesButton() const { return m_pYesButton; }
  SkinUI::CControlUI* GetNoButton() const { return m_pNoButton; }

 protected:
  SkinUI::CSkinString GetSkinFolderName() override;
  SkinUI::CSkinString GetSkinFileName() override;

 private:
  SkinUI::CControlUI* m_pTextLabel;
  SkinUI::CControlUI* m_pCodeLabel;
  SkinUI::CControlUI* m_pYesButton;
  SkinUI::CControlUI* m_pNoButton;
};

// Shows a message box owned by `hWndOwner` and returns when it is closed:
// 1 when the yes button closed it, 0 otherwise.  With `bTwoButtons` false
// only the yes button shows, labelled "确定".
UINT ShowMessageBox(HWND hWndOwner, bool bTwoButtons, std::wstring strText);
