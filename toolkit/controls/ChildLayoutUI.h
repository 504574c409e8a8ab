// A layout whose content comes from another skin file, built when the
// layout is attached to a window.  Markup children written inside it are
// not attached: it answers as a plain control, not as a container.
#pragma once

#include <windows.h>

#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/SkinString.h"

namespace SkinUI {

class CChildLayoutUI : public CContainerUI {
 public:
  CChildLayoutUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  // Builds the skin file and adds its root control.  Unlike other
  // controls, the init hooks are not run.
  void Init() override;

  void SetChildLayoutXML(LPCWSTR pstrXML);
  CSkinString GetChildLayoutXML() const;

  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

 protected:
  CSkinString m_pstrXMLFile;
};

}  // namespace SkinUI
