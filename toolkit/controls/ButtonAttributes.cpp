// The skin attributes of buttons and the setters they reach.

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/ButtonUI.h"

namespace SkinUI {
namespace {

using Row = TAttributeRow<CButtonUI>;

const Row kButtonAttributes[] = {
    {L"hotforeimage", [](CButtonUI& c, LPCWSTR v) { c.SetHotForeImage(v); }},
    {L"pushedforeimage", [](CButtonUI& c, LPCWSTR v) { c.SetPushedForeImage(v); }},
    {L"bindtabindex", [](CButtonUI& c, LPCWSTR v) { c.BindTabIndex(ParseInt(v)); }},
    {L"bindtablayoutname", [](CButtonUI& c, LPCWSTR v) { c.BindTabLayoutName(v); }},
    {L"hotbkcolor", [](CButtonUI& c, LPCWSTR v) { c.SetHotBkColor(ParseColor(v)); }},
    {L"hottextcolor", [](CButtonUI& c, LPCWSTR v) { c.SetHotTextColor(ParseColor(v)); }},
    {L"pushedtextcolor", [](CButtonUI& c, LPCWSTR v) { c.SetPushedTextColor(ParseColor(v)); }},
    {L"focusedtextcolor", [](CButtonUI& c, LPCWSTR v) { c.SetFocusedTextColor(ParseColor(v)); }},
    {L"multiline",
     [](CButtonUI& c, LPCWSTR v) {
       const UINT style = c.GetTextStyle() & ~(DT_WORDBREAK | DT_SINGLELINE);
       c.SetTextStyle(style | (ParseBool(v) ? DT_WORDBREAK : DT_SINGLELINE));
     }},
};

}  // namespace

void CButtonUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (ApplyAttributeRow(kButtonAttributes, *this, pstrName, pstrValue)) return;
  CLabelUI::SetAttribute(pstrName, pstrValue);
}

void CButtonUI::SetHotBkColor(DWORD dwColor) { m_dwHotBkColor = dwColor; }

DWORD CButtonUI::GetHotBkColor() const { return m_dwHotBkColor; }

void CButtonUI::SetHotTextColor(DWORD dwColor) { m_dwHotTextColor = dwColor; }

DWORD CButtonUI::GetHotTextColor() const { return m_dwHotTextColor; }

void CButtonUI::SetPushedTextColor(DWORD dwColor) { m_dwPushedTextColor = dwColor; }

DWORD CButtonUI::GetPushedTextColor() const { return m_dwPushedTextColor; }

void CButtonUI::SetFocusedTextColor(DWORD dwColor) { m_dwFocusedTextColor = dwColor; }

DWORD CButtonUI::GetFocusedTextColor() const { return m_dwFocusedTextColor; }

LPCWSTR CButtonUI::GetHotForeImage() const { return m_diHotFore.GetAttributeString(); }

void CButtonUI::SetHotForeImage(LPCWSTR pStrImage) {
  m_diHotFore.SetAttributeString(pStrImage);
  Invalidate();
}

LPCWSTR CButtonUI::GetPushedForeImage() const { return m_diPushedFore.GetAttributeString(); }

void CButtonUI::SetPushedForeImage(LPCWSTR pStrImage) {
  m_diPushedFore.SetAttributeString(pStrImage);
  Invalidate();
}

void CButtonUI::SetCursorHand(bool bHand) { m_bIsHandCursor = bHand; }

}  // namespace SkinUI
