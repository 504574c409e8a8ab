// The skin attributes of scroll bars and the setters of their images.

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/ScrollBarUI.h"

namespace SkinUI {
namespace {

using Row = TAttributeRow<CScrollBarUI>;

const Row kScrollBarAttributes[] = {
    {L"button1normalimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1NormalImage(v); }},
    {L"button1hotimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1HotImage(v); }},
    {L"button1pushedimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1PushedImage(v); }},
    {L"button1disabledimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1DisabledImage(v); }},
    {L"button2normalimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2NormalImage(v); }},
    {L"button2hotimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2HotImage(v); }},
    {L"button2pushedimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2PushedImage(v); }},
    {L"button2disabledimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2DisabledImage(v); }},
    {L"thumbnormalimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbNormalImage(v); }},
    {L"thumbhotimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbHotImage(v); }},
    {L"thumbpushedimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbPushedImage(v); }},
    {L"thumbdisabledimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbDisabledImage(v); }},
    {L"railnormalimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetRailNormalImage(v); }},
    {L"railhotimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetRailHotImage(v); }},
    {L"railpushedimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetRailPushedImage(v); }},
    {L"raildisabledimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetRailDisabledImage(v); }},
    {L"bknormalimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetNormalImage(v); }},
    {L"bkhotimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetHotImage(v); }},
    {L"bkpushedimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetPushedImage(v); }},
    {L"bkdisabledimage", [](CScrollBarUI& c, LPCWSTR v) { c.SetDisabledImage(v); }},
    {L"hor", [](CScrollBarUI& c, LPCWSTR v) { c.SetHorizontal(ParseBool(v)); }},
    {L"linesize", [](CScrollBarUI& c, LPCWSTR v) { c.SetLineSize(ParseInt(v)); }},
    {L"range", [](CScrollBarUI& c, LPCWSTR v) { c.SetScrollRange(ParseInt(v)); }},
    {L"value", [](CScrollBarUI& c, LPCWSTR v) { c.SetScrollPos(ParseInt(v)); }},
    {L"showbutton1", [](CScrollBarUI& c, LPCWSTR v) { c.SetShowButton1(ParseBool(v)); }},
    {L"showbutton2", [](CScrollBarUI& c, LPCWSTR v) { c.SetShowButton2(ParseBool(v)); }},
};

}  // namespace

void CScrollBarUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (ApplyAttributeRow(kScrollBarAttributes, *this, pstrName, pstrValue)) return;
  CControlUI::SetAttribute(pstrName, pstrValue);
}

#define SKIN_SCROLLBAR_IMAGE_SETTER(Name, part, state) \
  void CScrollBarUI::Name(LPCWSTR pStrImage) {         \
    part.state.SetAttributeString(pStrImage);          \
    Invalidate();                                      \
  }

SKIN_SCROLLBAR_IMAGE_SETTER(SetButton1NormalImage, m_button1, normal)
SKIN_SCROLLBAR_IMAGE_SETTER(SetButton1HotImage, m_button1, hot)
SKIN_SCROLLBAR_IMAGE_SETTER(SetButton1PushedImage, m_button1, pushed)
SKIN_SCROLLBAR_IMAGE_SETTER(SetButton1DisabledImage, m_button1, disabled)
SKIN_SCROLLBAR_IMAGE_SETTER(SetButton2NormalImage, m_button2, normal)
SKIN_SCROLLBAR_IMAGE_SETTER(SetButton2HotImage, m_button2, hot)
SKIN_SCROLLBAR_IMAGE_SETTER(SetButton2PushedImage, m_button2, pushed)
SKIN_SCROLLBAR_IMAGE_SETTER(SetButton2DisabledImage, m_button2, disabled)
SKIN_SCROLLBAR_IMAGE_SETTER(SetThumbNormalImage, m_thumb, normal)
SKIN_SCROLLBAR_IMAGE_SETTER(SetThumbHotImage, m_thumb, hot)
SKIN_SCROLLBAR_IMAGE_SETTER(SetThumbPushedImage, m_thumb, pushed)
SKIN_SCROLLBAR_IMAGE_SETTER(SetThumbDisabledImage, m_thumb, disabled)
SKIN_SCROLLBAR_IMAGE_SETTER(SetRailNormalImage, m_rail, normal)
SKIN_SCROLLBAR_IMAGE_SETTER(SetRailHotImage, m_rail, hot)
SKIN_SCROLLBAR_IMAGE_SETTER(SetRailPushedImage, m_rail, pushed)
SKIN_SCROLLBAR_IMAGE_SETTER(SetRailDisabledImage, m_rail, disabled)

#undef SKIN_SCROLLBAR_IMAGE_SETTER

}  // namespace SkinUI
