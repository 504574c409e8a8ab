#include "toolkit/controls/ChildLayoutUI.h"

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/DialogBuilder.h"

namespace SkinUI {
namespace {

using Row = TAttributeRow<CChildLayoutUI>;

const Row kChildLayoutAttributes[] = {
    {L"xmlfile", [](CChildLayoutUI& c, LPCWSTR v) { c.SetChildLayoutXML(v); }},
};

}  // namespace

CChildLayoutUI::CChildLayoutUI() = default;

LPCWSTR CChildLayoutUI::GetClass() const { return L"ChildLayoutUI"; }

LPVOID CChildLayoutUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"ChildLayout") == 0) return this;
  // Deliberately not a container to the outside: its content is the
  // file's, not the markup's.
  return CControlUI::GetInterface(pstrName);
}

void CChildLayoutUI::Init() {
  if (m_pstrXMLFile.IsEmpty()) return;
  // A layout initialised again (attached anew after being moved) keeps
  // the content it built the first time instead of stacking a second
  // copy on it.
  if (GetCount() > 0) return;
  CDialogBuilder builder;
  CControlUI* root = builder.Create(m_pstrXMLFile.GetData(), nullptr, nullptr, m_pManager, nullptr);
  if (root != nullptr) {
    Add(root);
  } else {
    RemoveAll();
  }
}

void CChildLayoutUI::SetChildLayoutXML(LPCWSTR pstrXML) { m_pstrXMLFile = pstrXML; }

CSkinString CChildLayoutUI::GetChildLayoutXML() const { return m_pstrXMLFile; }

void CChildLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (ApplyAttributeRow(kChildLayoutAttributes, *this, pstrName, pstrValue)) return;
  CContainerUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace SkinUI
