// What a skin file declares for its window: fonts, images and default
// attribute lists (direct children of the root), and the window settings
// (attributes of a <Window> root).

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/DialogBuilder.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// Fonts are 12 pixels high unless the declaration says otherwise.
constexpr int kDefaultFontSize = 12;

bool IsNamed(LPCWSTR name, LPCWSTR expected) {
  return name != nullptr && std::wcscmp(name, expected) == 0;
}

void DeclareFont(const CMarkupNode& node, CPaintManagerUI& manager) {
  LPCWSTR name = node.GetAttributeValue(L"name");
  if (name == nullptr || *name == L'\0') return;
  const int size =
      node.HasAttribute(L"size") ? ParseInt(node.GetAttributeValue(L"size")) : kDefaultFontSize;
  const bool bold = ParseBool(node.GetAttributeValue(L"bold"));
  const bool underline = ParseBool(node.GetAttributeValue(L"underline"));
  const bool italic = ParseBool(node.GetAttributeValue(L"italic"));
  manager.AddFont(name, size, bold, underline, italic);
  if (ParseBool(node.GetAttributeValue(L"default"))) {
    manager.SetDefaultFont(name, size, bold, underline, italic);
  }
}

void DeclareImage(const CMarkupNode& node, CPaintManagerUI& manager) {
  LPCWSTR name = node.GetAttributeValue(L"name");
  if (name == nullptr || *name == L'\0') return;
  LPCWSTR restype = node.GetAttributeValue(L"restype");
  if (restype != nullptr && *restype == L'\0') restype = nullptr;
  manager.AddImage(name, restype, ParseColor(node.GetAttributeValue(L"mask")));
}

void DeclareDefault(const CMarkupNode& node, CPaintManagerUI& manager) {
  LPCWSTR name = node.GetAttributeValue(L"name");
  if (name == nullptr || *name == L'\0') return;
  manager.AddDefaultAttributeList(name, node.GetAttributeValue(L"value"));
}

using Setting = TAttributeRow<CPaintManagerUI>;

// The window's shadow is not part of this toolkit (nothing in the program
// uses one), so its settings are known, to be passed over quietly, and
// have no effect.
void IgnoreShadowSetting(CPaintManagerUI&, LPCWSTR) {}

const Setting kWindowSettings[] = {
    {L"size",
     [](CPaintManagerUI& m, LPCWSTR v) {
       const SIZE size = ParseSize(v);
       m.SetInitSize(size.cx, size.cy);
     }},
    {L"sizebox", [](CPaintManagerUI& m, LPCWSTR v) { m.SetSizeBox(ParseRect(v)); }},
    {L"caption", [](CPaintManagerUI& m, LPCWSTR v) { m.SetCaptionRect(ParseRect(v)); }},
    {L"roundcorner",
     [](CPaintManagerUI& m, LPCWSTR v) {
       const SIZE size = ParseSize(v);
       m.SetRoundCorner(size.cx, size.cy);
     }},
    {L"mininfo",
     [](CPaintManagerUI& m, LPCWSTR v) {
       const SIZE size = ParseSize(v);
       m.SetMinInfo(size.cx, size.cy);
     }},
    {L"maxinfo",
     [](CPaintManagerUI& m, LPCWSTR v) {
       const SIZE size = ParseSize(v);
       m.SetMaxInfo(size.cx, size.cy);
     }},
    {L"alpha", [](CPaintManagerUI& m, LPCWSTR v) { m.SetTransparent(ParseInt(v)); }},
    {L"bktrans", [](CPaintManagerUI& m, LPCWSTR v) { m.SetUseLayeredWindow(ParseBool(v)); }},
    {L"gdiplustext", [](CPaintManagerUI& m, LPCWSTR v) { m.SetUseGdiplusText(ParseBool(v)); }},
    {L"richeditcorner", [](CPaintManagerUI& m, LPCWSTR v) { m.SetRichEditCorner(ParseRect(v)); }},
    {L"disabledfontcolor",
     [](CPaintManagerUI& m, LPCWSTR v) { m.SetDefaultDisabledColor(ParseColor(v)); }},
    {L"defaultfontcolor",
     [](CPaintManagerUI& m, LPCWSTR v) { m.SetDefaultFontColor(ParseColor(v)); }},
    {L"linkfontcolor",
     [](CPaintManagerUI& m, LPCWSTR v) { m.SetDefaultLinkFontColor(ParseColor(v)); }},
    {L"linkhoverfontcolor",
     [](CPaintManagerUI& m, LPCWSTR v) { m.SetDefaultLinkHoverFontColor(ParseColor(v)); }},
    {L"selectedcolor",
     [](CPaintManagerUI& m, LPCWSTR v) { m.SetDefaultSelectedBkColor(ParseColor(v)); }},
    {L"shadowsize", IgnoreShadowSetting},
    {L"shadowsharpness", IgnoreShadowSetting},
    {L"shadowdarkness", IgnoreShadowSetting},
    {L"shadowposition", IgnoreShadowSetting},
    {L"shadowcolor", IgnoreShadowSetting},
    {L"shadowcorner", IgnoreShadowSetting},
    {L"shadowimage", IgnoreShadowSetting},
    {L"showshadow", IgnoreShadowSetting},
};

}  // namespace

void CDialogBuilder::RegisterResources(const CMarkupNode& root, CPaintManagerUI* pManager) {
  for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
    LPCWSTR name = node.GetName();
    if (IsNamed(name, L"Font")) {
      DeclareFont(node, *pManager);
    } else if (IsNamed(name, L"Image")) {
      DeclareImage(node, *pManager);
    } else if (IsNamed(name, L"Default")) {
      DeclareDefault(node, *pManager);
    }
  }
}

void CDialogBuilder::ApplyWindowSettings(const CMarkupNode& root, CPaintManagerUI* pManager) {
  // The settings are the window's: a manager without one has none to take,
  // and a root of another name (a part meant for including) carries none.
  if (!IsNamed(root.GetName(), L"Window") || pManager->GetPaintWindow() == nullptr) return;
  const int count = root.GetAttributeCount();
  for (int i = 0; i < count; ++i) {
    ApplyAttributeRow(kWindowSettings, *pManager, root.GetAttributeName(i),
                      root.GetAttributeValue(i));
  }
}

}  // namespace SkinUI
