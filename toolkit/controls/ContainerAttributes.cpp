// The skin attributes of containers.

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/ScrollBarUI.h"

namespace SkinUI {
namespace {

using Row = TAttributeRow<CContainerUI>;

const Row kContainerAttributes[] = {
    {L"inset", [](CContainerUI& c, LPCWSTR v) { c.SetInset(ParseRect(v)); }},
    {L"mousechild", [](CContainerUI& c, LPCWSTR v) { c.SetMouseChildEnabled(ParseBool(v)); }},
    {L"vscrollbar",
     [](CContainerUI& c, LPCWSTR v) {
       c.EnableScrollBar(ParseBool(v), c.GetHorizontalScrollBar() != nullptr);
     }},
    {L"hscrollbar",
     [](CContainerUI& c, LPCWSTR v) {
       c.EnableScrollBar(c.GetVerticalScrollBar() != nullptr, ParseBool(v));
     }},
    {L"vscrollbarstyle",
     [](CContainerUI& c, LPCWSTR v) {
       c.EnableScrollBar(true, c.GetHorizontalScrollBar() != nullptr);
       if (c.GetVerticalScrollBar() != nullptr) c.GetVerticalScrollBar()->ApplyAttributeList(v);
     }},
    {L"hscrollbarstyle",
     [](CContainerUI& c, LPCWSTR v) {
       c.EnableScrollBar(c.GetVerticalScrollBar() != nullptr, true);
       if (c.GetHorizontalScrollBar() != nullptr) {
         c.GetHorizontalScrollBar()->ApplyAttributeList(v);
       }
     }},
    {L"childpadding", [](CContainerUI& c, LPCWSTR v) { c.SetChildPadding(ParseInt(v)); }},
    {L"scrollstepsize", [](CContainerUI& c, LPCWSTR v) { c.SetScrollStepSize(ParseInt(v)); }},
};

}  // namespace

void CContainerUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (ApplyAttributeRow(kContainerAttributes, *this, pstrName, pstrValue)) return;
  CControlUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace SkinUI
