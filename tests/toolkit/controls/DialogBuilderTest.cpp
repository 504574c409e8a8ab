// The dialog builder: where a skin comes from (text, skin folder, archive,
// module resources), the window settings of a <Window> root, and the fonts,
// images and default attribute lists a skin declares.

#include <windows.h>

#include <functional>
#include <string>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/BuilderTestSupport.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/DialogBuilder.h"
#include "toolkit/controls/ScrollBarUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CDialogBuilder;
using SkinUI::CPaintManagerUI;
using SkinUI::STRINGorID;
using test::BuilderData;
using test::ChildNames;
using test::ControlPtr;
using test::SkinTestWindow;

using BuilderSources = test::BuilderTest;
using BuilderWindow = test::BuilderTest;
using BuilderResources = test::BuilderTest;

// Room for any error text the parser keeps.
constexpr int kTextUnits = 100;

std::wstring Message(const CDialogBuilder& builder) {
  wchar_t text[kTextUnits] = {};
  builder.GetLastErrorMessage(text, kTextUnits);
  return text;
}

std::wstring Location(const CDialogBuilder& builder) {
  wchar_t text[kTextUnits] = {};
  builder.GetLastErrorLocation(text, kTextUnits);
  return text;
}

std::wstring NameOf(const CControlUI* control) {
  return control != nullptr ? std::wstring(control->GetName().GetData()) : L"(null)";
}

// --- Sources -------------------------------------------------------------------

enum class Store { Folder, Archive, CachedArchive, Module };

struct SourceCase {
  const char* what;
  Store store;
  STRINGorID xml;
  LPCWSTR type;
  // The name of the control built and its children's, or null when the
  // build must fail.
  LPCWSTR root;
  LPCWSTR children;
};

const SourceCase kSources[] = {
    {"a file in the skin folder, with a byte-order mark", Store::Folder, L"window.xml", nullptr,
     L"body", L"title"},
    {"a file that includes another from the folder", Store::Folder, L"include.xml", nullptr,
     L"list", L"before,p1,p2,p1,p2,p1,p2,after"},
    {"a file in the archive, including a part in one of its folders", Store::Archive, L"main.xml",
     nullptr, L"zip-body", L"zip-part"},
    {"the same from a cached archive", Store::CachedArchive, L"main.xml", nullptr, L"zip-body",
     L"zip-part"},
    {"with an archive set, the folder is not asked", Store::Archive, L"window.xml", nullptr,
     nullptr, nullptr},
    {"a module resource by id, including parts by id", Store::Module, 201u, L"XML", L"res-body",
     L"res-part,res-part"},
    {"in a module skin, a number beyond 16 bits or a file name includes nothing", Store::Module,
     203u, L"XML", L"wrap", L"res-part"},
    {"a module resource of another type", Store::Module, 201u, L"PNG", nullptr, nullptr},
    {"an id without a type", Store::Module, 201u, nullptr, nullptr, nullptr},
    {"a resource name is a file name, whatever the type", Store::Module, L"201", L"XML", nullptr,
     nullptr},
    {"a missing file", Store::Folder, L"missing.xml", nullptr, nullptr, nullptr},
    {"no source at all", Store::Folder, static_cast<const wchar_t*>(nullptr), nullptr, nullptr,
     nullptr},
};

TEST_F(BuilderSources, EachStoreGivesItsSkin) {
  for (const SourceCase& c : kSources) {
    SCOPED_TRACE(c.what);
    ResetSettings();
    CPaintManagerUI::SetResourcePath(BuilderData().c_str());
    if (c.store == Store::Archive) CPaintManagerUI::SetResourceZip(L"skin.zip", false);
    if (c.store == Store::CachedArchive) CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    CDialogBuilder builder;
    CPaintManagerUI manager;
    ControlPtr root(builder.Create(c.xml, c.type, nullptr, &manager));
    if (c.root == nullptr) {
      EXPECT_EQ(root, nullptr);
      EXPECT_FALSE(builder.GetMarkup()->GetRoot().IsValid());
      continue;
    }
    ASSERT_NE(root, nullptr) << Message(builder).size();
    EXPECT_EQ(NameOf(root.get()), c.root);
    EXPECT_EQ(ChildNames(root.get()), c.children);
    EXPECT_STREQ(builder.GetMarkup()->GetRoot().GetName(), L"Window");
  }
}

TEST_F(BuilderSources, InlineTextIsBuiltLikeAFile) {
  CDialogBuilder builder;
  ControlPtr root(builder.Create(
      L"<Window><Container name=\"c\"><Control name=\"x\" text=\"a &amp; b\" /></Container>"
      L"</Window>"));
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->GetClass(), L"ContainerUI");
  EXPECT_EQ(ChildNames(root.get()), L"x");
  EXPECT_EQ(std::wstring(test::ChildAt(root.get(), 0)->GetText().GetData()), L"a & b");
  // Only a text that begins with '<' is markup; anything else names a file.
  EXPECT_EQ(builder.Create(L" <Window><Control /></Window>"), nullptr);
}

TEST_F(BuilderSources, FileTextIsUtf8) {
  CPaintManagerUI::SetResourcePath(BuilderData().c_str());
  CDialogBuilder builder;
  ControlPtr root(builder.Create(L"window.xml"));
  ASSERT_NE(root, nullptr);
  CControlUI* title = test::ChildAt(root.get(), 0);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(std::wstring(title->GetText().GetData()), L"确定退出 Talmic 吗?");
}

TEST_F(BuilderSources, BrokenMarkupGivesNullWithTheParsersError) {
  CPaintManagerUI::SetResourcePath(BuilderData(L"malformed").c_str());
  CDialogBuilder builder;
  CPaintManagerUI manager;
  EXPECT_EQ(builder.Create(L"unmatched-closing-tag.xml", nullptr, nullptr, &manager), nullptr);
  EXPECT_EQ(Message(builder), L"Unmatched closing tag");
  EXPECT_EQ(Location(builder).rfind(L"Container>", 0), 0u) << Location(builder).size();
  // Nothing the broken file declares reaches the manager.
  EXPECT_EQ(manager.GetCustomFontCount(), 0u);
  // The error is cut to the caller's buffer, and terminated.
  wchar_t shortText[5] = {L'x', L'x', L'x', L'x', L'x'};
  builder.GetLastErrorMessage(shortText, 5);
  EXPECT_STREQ(shortText, L"Unma");

  // The same from inline text.
  EXPECT_EQ(builder.Create(L"<Window><a></b></Window>"), nullptr);
  EXPECT_EQ(Message(builder), L"Unmatched closing tag");
  EXPECT_EQ(Location(builder).rfind(L"b>", 0), 0u);
}

TEST_F(BuilderSources, AnUnreadableSourceReportsNoEarlierError) {
  CDialogBuilder builder;
  EXPECT_EQ(builder.Create(L"<Window><a></b></Window>"), nullptr);
  ASSERT_FALSE(Message(builder).empty());
  CPaintManagerUI::SetResourcePath(BuilderData().c_str());
  EXPECT_EQ(builder.Create(L"missing.xml"), nullptr);
  EXPECT_EQ(Message(builder), L"");
  EXPECT_EQ(Location(builder), L"");
}

TEST_F(BuilderSources, ABuilderCanBeUsedAgain) {
  CDialogBuilder builder;
  ControlPtr first(builder.Create(L"<Window><Control name=\"one\" /></Window>"));
  ControlPtr second(builder.Create(L"<Part><Control name=\"two\" /></Part>"));
  EXPECT_EQ(NameOf(first.get()), L"one");
  EXPECT_EQ(NameOf(second.get()), L"two");
  EXPECT_STREQ(builder.GetMarkup()->GetRoot().GetName(), L"Part");
  // The loaded document can be built again without reading it again.
  ControlPtr third(builder.Create());
  EXPECT_EQ(NameOf(third.get()), L"two");
  EXPECT_NE(third.get(), second.get());
}

TEST_F(BuilderSources, NothingLoadedBuildsNothing) {
  CDialogBuilder builder;
  EXPECT_EQ(builder.Create(), nullptr);
  // A document of only a declaration and a comment has no root.
  EXPECT_EQ(builder.Create(L"<?xml version=\"1.0\"?><!-- nothing -->"), nullptr);
  // A root without controls builds nothing, but is not an error.
  EXPECT_EQ(builder.Create(L"<Window size=\"1,1\" />"), nullptr);
  EXPECT_EQ(Message(builder), L"");
}

// --- Window settings -------------------------------------------------------------

TEST_F(BuilderWindow, SizeCaptionAndDefaultFont) {
  SkinTestWindow window;
  CPaintManagerUI& manager = window.Manager();
  CDialogBuilder builder;
  ControlPtr root(
      builder.Create(L"<Window size=\"400,300\" caption=\"0,0,0,30\">"
                     L"<Font name=\"Arial\" size=\"12\" default=\"true\" />"
                     L"<VerticalLayout name=\"only\" /></Window>",
                     nullptr, nullptr, &manager));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(NameOf(root.get()), L"only");
  EXPECT_STREQ(root->GetClass(), L"VerticalLayoutUI");
  EXPECT_EQ(manager.GetInitSize().cx, 400);
  EXPECT_EQ(manager.GetInitSize().cy, 300);
  const RECT caption = manager.GetCaptionRect();
  EXPECT_EQ(caption.left, 0);
  EXPECT_EQ(caption.top, 0);
  EXPECT_EQ(caption.right, 0);
  EXPECT_EQ(caption.bottom, 30);
  SkinUI::TFontInfo* font = manager.GetDefaultFontInfo();
  EXPECT_EQ(std::wstring(font->sFontName.GetData()), L"Arial");
  EXPECT_EQ(font->iSize, 12);
  EXPECT_FALSE(font->bBold);
  // The default font is a real GDI font of that face.
  LOGFONTW description = {};
  ASSERT_EQ(::GetObjectW(font->hFont, sizeof description, &description),
            static_cast<int>(sizeof description));
  EXPECT_STREQ(description.lfFaceName, L"Arial");
  EXPECT_EQ(description.lfHeight, -12);
  // The font is also the first custom font.
  EXPECT_EQ(manager.GetCustomFontCount(), 1u);
  EXPECT_EQ(manager.GetFontIndex(L"Arial", 12, false, false, false), 0);
  // The manager is not the control's yet: the window attaches the tree.
  EXPECT_EQ(root->GetManager(), nullptr);
}

struct SettingCase {
  const char* what;
  LPCWSTR attributes;
  std::function<bool(CPaintManagerUI&, HWND)> holds;
};

bool Same(const RECT& rc, LONG l, LONG t, LONG r, LONG b) {
  return rc.left == l && rc.top == t && rc.right == r && rc.bottom == b;
}

bool Same(const SIZE& sz, LONG cx, LONG cy) { return sz.cx == cx && sz.cy == cy; }

const SettingCase kSettings[] = {
    {"size with any separator", L"size=\"400x300\"",
     [](CPaintManagerUI& m, HWND) { return Same(m.GetInitSize(), 400, 300); }},
    {"a later attribute wins", L"size=\"1,1\" size=\"2,3\"",
     [](CPaintManagerUI& m, HWND) { return Same(m.GetInitSize(), 2, 3); }},
    {"sizebox", L"sizebox=\"1,2,3,4\"",
     [](CPaintManagerUI& m, HWND) { return Same(m.GetSizeBox(), 1, 2, 3, 4); }},
    {"caption", L"caption=\"0,0,0,-30\"",
     [](CPaintManagerUI& m, HWND) { return Same(m.GetCaptionRect(), 0, 0, 0, -30); }},
    {"roundcorner", L"roundcorner=\"5,6\"",
     [](CPaintManagerUI& m, HWND) { return Same(m.GetRoundCorner(), 5, 6); }},
    {"mininfo and maxinfo", L"mininfo=\"100,80\" maxinfo=\"800,600\"",
     [](CPaintManagerUI& m, HWND) {
       return Same(m.GetMinInfo(), 100, 80) && Same(m.GetMaxInfo(), 800, 600);
     }},
    {"alpha makes the window layered", L"alpha=\"200\"",
     [](CPaintManagerUI& m, HWND w) {
       BYTE alpha = 0;
       DWORD flags = 0;
       return m.GetTransparent() == 200 &&
              (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_LAYERED) != 0 &&
              ::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags) && alpha == 200;
     }},
    {"bktrans", L"bktrans=\"true\"", [](CPaintManagerUI& m, HWND) { return m.IsLayeredWindow(); }},
    {"booleans are true only for \"true\"", L"bktrans=\"TRUE\" gdiplustext=\"1\"",
     [](CPaintManagerUI& m, HWND) { return !m.IsLayeredWindow() && !m.IsUseGdiplusText(); }},
    {"gdiplustext", L"gdiplustext=\"true\"",
     [](CPaintManagerUI& m, HWND) { return m.IsUseGdiplusText(); }},
    {"richeditcorner", L"richeditcorner=\"1,2,3,4\"",
     [](CPaintManagerUI& m, HWND) { return Same(m.GetRichEditCorner(), 1, 2, 3, 4); }},
    {"colours with and without '#'",
     L"disabledfontcolor=\"#FF010203\" defaultfontcolor=\"FF040506\" "
     L"linkfontcolor=\"#FF070809\" linkhoverfontcolor=\"#FF0A0B0C\" selectedcolor=\"#FF0D0E0F\"",
     [](CPaintManagerUI& m, HWND) {
       return m.GetDefaultDisabledColor() == 0xFF010203 && m.GetDefaultFontColor() == 0xFF040506 &&
              m.GetDefaultLinkFontColor() == 0xFF070809 &&
              m.GetDefaultLinkHoverFontColor() == 0xFF0A0B0C &&
              m.GetDefaultSelectedBkColor() == 0xFF0D0E0F;
     }},
    {"names are case-sensitive, unknown ones ignored", L"Size=\"9,9\" colour=\"1\" size=\"7,8\"",
     [](CPaintManagerUI& m, HWND) { return Same(m.GetInitSize(), 7, 8); }},
    {"shadow settings change nothing else",
     L"shadowsize=\"6\" shadowsharpness=\"3\" shadowdarkness=\"200\" shadowposition=\"1,1\" "
     L"shadowcolor=\"#FF000000\" shadowcorner=\"1,2,3,4\" shadowimage=\"file='x.png'\" "
     L"showshadow=\"true\"",
     [](CPaintManagerUI& m, HWND) {
       return Same(m.GetInitSize(), 0, 0) && Same(m.GetSizeBox(), 0, 0, 0, 0) &&
              Same(m.GetCaptionRect(), 0, 0, 0, 0) && !m.IsLayeredWindow() &&
              m.GetDefaultFontColor() == 0xFF000001;
     }},
};

TEST_F(BuilderWindow, EachSettingReachesTheManager) {
  for (const SettingCase& c : kSettings) {
    SCOPED_TRACE(c.what);
    SkinTestWindow window;
    CDialogBuilder builder;
    const std::wstring xml =
        std::wstring(L"<Window ") + c.attributes + L"><Control name=\"c\" /></Window>";
    ControlPtr root(builder.Create(xml.c_str(), nullptr, nullptr, &window.Manager()));
    EXPECT_EQ(NameOf(root.get()), L"c");
    EXPECT_TRUE(c.holds(window.Manager(), window.Get()));
  }
}

TEST_F(BuilderWindow, SettingsNeedAWindowAndAWindowRoot) {
  const wchar_t* const kWindowless =
      L"<Window size=\"400,300\" defaultfontcolor=\"#FF123456\"><Font name=\"Arial\" />"
      L"<Control name=\"c\" /></Window>";
  CPaintManagerUI manager;
  CDialogBuilder builder;
  ControlPtr root(builder.Create(kWindowless, nullptr, nullptr, &manager));
  EXPECT_EQ(NameOf(root.get()), L"c");
  EXPECT_TRUE(Same(manager.GetInitSize(), 0, 0));
  EXPECT_EQ(manager.GetDefaultFontColor(), 0xFF000001u);
  // The declarations are the manager's all the same.
  EXPECT_EQ(manager.GetCustomFontCount(), 1u);

  // A part's root is no window, even with a window at hand.
  SkinTestWindow window;
  ControlPtr part(builder.Create(
      L"<Part size=\"400,300\" caption=\"0,0,0,30\"><Font name=\"Tahoma\" />"
      L"<Default name=\"Control\" value=\"height=&quot;4&quot;\" /><Control name=\"p\" /></Part>",
      nullptr, nullptr, &window.Manager()));
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(part->GetFixedHeight(), 4);
  EXPECT_TRUE(Same(window.Manager().GetInitSize(), 0, 0));
  EXPECT_TRUE(Same(window.Manager().GetCaptionRect(), 0, 0, 0, 0));
  EXPECT_EQ(window.Manager().GetCustomFontCount(), 1u);
  // Nor is a root whose name only differs in case.
  ControlPtr lower(builder.Create(L"<window size=\"400,300\"><Control /></window>", nullptr,
                                  nullptr, &window.Manager()));
  EXPECT_NE(lower, nullptr);
  EXPECT_TRUE(Same(window.Manager().GetInitSize(), 0, 0));
}

TEST_F(BuilderWindow, TheBuiltTreeShowsInTheWindow) {
  SkinTestWindow window(200, 100);
  CDialogBuilder builder;
  CControlUI* root = builder.Create(
      L"<Window size=\"200,100\">"
      L"<Default name=\"Control\" value=\"bkcolor=&quot;#FF00FF00&quot;\" />"
      L"<Container name=\"body\" bkcolor=\"#FF0000FF\" inset=\"0,0,100,0\">"
      L"<Control name=\"left\" /></Container></Window>",
      nullptr, nullptr, &window.Manager());
  ASSERT_NE(root, nullptr);
  ASSERT_TRUE(window.Manager().AttachDialog(root));
  window.Paint();
  // The child covers the container's inner rectangle, the left half; the
  // container's own colour shows in the right half.
  EXPECT_EQ(window.Pixel(10, 10), 0x00FF00u);
  EXPECT_EQ(window.Pixel(150, 10), 0x0000FFu);
  EXPECT_EQ(window.Manager().FindControl(L"left"), test::ChildAt(root, 0));
}

// --- Resource declarations -----------------------------------------------------------

TEST_F(BuilderResources, FontsAreAddedInOrder) {
  CPaintManagerUI manager;
  const std::wstring defaultFace = manager.GetDefaultFontInfo()->sFontName.GetData();
  CDialogBuilder builder;
  ControlPtr root(builder.Create(
      L"<Window><Font name=\"Arial\" /><Font name=\"Tahoma\" size=\"20\" bold=\"true\" "
      L"underline=\"true\" italic=\"true\" /><Font name=\"Arial\" bold=\"True\" default=\"yes\" />"
      L"<Font size=\"9\" default=\"true\" /><Font name=\"\" /><Control /></Window>",
      nullptr, nullptr, &manager));
  EXPECT_NE(root, nullptr);
  ASSERT_EQ(manager.GetCustomFontCount(), 3u);
  struct Expected {
    LPCWSTR face;
    int size;
    bool bold, underline, italic;
  };
  const Expected expected[] = {
      {L"Arial", 12, false, false, false},
      {L"Tahoma", 20, true, true, true},
      {L"Arial", 12, false, false, false},
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    SkinUI::TFontInfo* info = manager.GetFontInfo(i);
    EXPECT_EQ(std::wstring(info->sFontName.GetData()), expected[i].face);
    EXPECT_EQ(info->iSize, expected[i].size);
    EXPECT_EQ(info->bBold, expected[i].bold);
    EXPECT_EQ(info->bUnderline, expected[i].underline);
    EXPECT_EQ(info->bItalic, expected[i].italic);
  }
  // No "default" was "true" on a font with a name.
  EXPECT_EQ(std::wstring(manager.GetDefaultFontInfo()->sFontName.GetData()), defaultFace);
}

TEST_F(BuilderResources, ADefaultFontTakesEveryStyle) {
  CPaintManagerUI manager;
  CDialogBuilder builder;
  ControlPtr root(
      builder.Create(L"<Window><Font name=\"Tahoma\" size=\"17\" bold=\"true\" italic=\"true\" "
                     L"default=\"true\" /><Control /></Window>",
                     nullptr, nullptr, &manager));
  SkinUI::TFontInfo* font = manager.GetDefaultFontInfo();
  EXPECT_EQ(std::wstring(font->sFontName.GetData()), L"Tahoma");
  EXPECT_EQ(font->iSize, 17);
  EXPECT_TRUE(font->bBold);
  EXPECT_FALSE(font->bUnderline);
  EXPECT_TRUE(font->bItalic);
  LOGFONTW description = {};
  ASSERT_NE(::GetObjectW(font->hFont, sizeof description, &description), 0);
  EXPECT_GE(description.lfWeight, FW_BOLD);
  EXPECT_TRUE(description.lfItalic);
}

TEST_F(BuilderResources, ImagesAreLoadedAtOnce) {
  CPaintManagerUI::SetResourcePath(BuilderData().c_str());
  CPaintManagerUI::SetResourceDll(::GetModuleHandleW(nullptr));
  CPaintManagerUI manager;
  CDialogBuilder builder;
  ControlPtr root(builder.Create(
      L"<Window><Image name=\"dot.png\" mask=\"#FFFF0000\" /><Image name=\"301\" restype=\"PNG\" "
      L"mask=\"FF00FF00\" /><Image name=\"missing.png\" /><Image mask=\"#FF\" /><Control "
      L"/></Window>",
      nullptr, nullptr, &manager));
  EXPECT_NE(root, nullptr);
  // Moving the folder away shows the images were read during the build.
  CPaintManagerUI::SetResourcePath(L"");
  CPaintManagerUI::SetResourceDll(nullptr);

  const SkinUI::TImageInfo* dot = manager.GetImage(L"dot.png");
  ASSERT_NE(dot, nullptr);
  EXPECT_EQ(dot->nX, 2);
  EXPECT_EQ(dot->nY, 1);
  EXPECT_EQ(dot->dwMask, 0xFFFF0000u);
  EXPECT_TRUE(dot->sResType.IsEmpty());
  // The mask keyed the red pixel out; the green one stays.
  DIBSECTION section = {};
  ASSERT_EQ(::GetObjectW(dot->hBitmap, sizeof section, &section), static_cast<int>(sizeof section));
  const auto* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
  EXPECT_EQ(bits[0], 0u);
  EXPECT_EQ(bits[1], 0xFF00FF00u);
  EXPECT_TRUE(dot->alphaChannel);

  const SkinUI::TImageInfo* resource = manager.GetImage(L"301");
  ASSERT_NE(resource, nullptr);
  EXPECT_EQ(std::wstring(resource->sResType.GetData()), L"PNG");
  EXPECT_EQ(resource->dwMask, 0xFF00FF00u);

  EXPECT_EQ(manager.GetImage(L"missing.png"), nullptr);
  EXPECT_EQ(manager.GetImage(L""), nullptr);
}

TEST_F(BuilderResources, DefaultListsComeBeforeTheElementsOwnAttributes) {
  CPaintManagerUI manager;
  CDialogBuilder builder;
  ControlPtr root(builder.Create(
      L"<Window>"
      L"<Default name=\"Control\" value=\"height=&quot;30&quot; bkcolor=&quot;#FF00FF00&quot;\" />"
      L"<Default name=\"Control\" value=\"height=&quot;99&quot;\" />"
      L"<Default name=\"VScrollBar\" value=\"width=&quot;13&quot;\" />"
      L"<Default value=\"height=&quot;5&quot;\" />"
      L"<Container name=\"box\" vscrollbar=\"true\">"
      L"<Control name=\"plain\" /><Control name=\"own\" height=\"10\" />"
      L"<Container name=\"other\" /></Container></Window>",
      nullptr, nullptr, &manager));
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(ChildNames(root.get()), L"plain,own,other");
  CControlUI* plain = test::ChildAt(root.get(), 0);
  CControlUI* own = test::ChildAt(root.get(), 1);
  CControlUI* other = test::ChildAt(root.get(), 2);
  // The first list declared for a name is the one kept.
  EXPECT_EQ(plain->GetFixedHeight(), 30);
  EXPECT_EQ(plain->GetBkColor(), 0xFF00FF00u);
  EXPECT_EQ(own->GetFixedHeight(), 10);
  EXPECT_EQ(own->GetBkColor(), 0xFF00FF00u);
  // Lists are per element name, not inherited by other classes.
  EXPECT_EQ(other->GetFixedHeight(), 0);
  EXPECT_EQ(other->GetBkColor(), 0u);
  EXPECT_EQ(root->GetFixedHeight(), 0);
  // The container's bars take their list while the manager is at hand.
  auto* box = static_cast<SkinUI::CContainerUI*>(root->GetInterface(L"Container"));
  ASSERT_NE(box->GetVerticalScrollBar(), nullptr);
  EXPECT_EQ(box->GetVerticalScrollBar()->GetFixedWidth(), 13);
  // Without a manager there are no lists to apply.
  ControlPtr bare(builder.Create(L"<Window><Control name=\"bare\" /></Window>"));
  EXPECT_EQ(bare->GetFixedHeight(), 0);
}

TEST_F(BuilderResources, OnlyDirectChildrenOfTheRootDeclare) {
  CPaintManagerUI::SetResourcePath(BuilderData().c_str());
  CPaintManagerUI manager;
  CDialogBuilder builder;
  ControlPtr root(builder.Create(
      L"<Window><Container name=\"box\"><Font name=\"Arial\" /><Image name=\"dot.png\" />"
      L"<Default name=\"Control\" value=\"height=&quot;30&quot;\" /><Control name=\"c\" />"
      L"</Container></Window>",
      nullptr, nullptr, &manager));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(manager.GetCustomFontCount(), 0u);
  EXPECT_EQ(manager.GetImage(L"dot.png"), nullptr);
  EXPECT_EQ(manager.GetDefaultAttributeList(L"Control"), nullptr);
  // They are not controls either, and do not stop the level.
  EXPECT_EQ(ChildNames(root.get()), L"c");
  EXPECT_EQ(test::ChildAt(root.get(), 0)->GetFixedHeight(), 0);
}

}  // namespace
