// The dialog builder's control tree: which elements become which controls,
// the order of children and attributes, what happens to controls that
// have nowhere to go, includes, and the factories of plugins and of the
// window's callback.

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/support/TestEnvironment.h"
#include "tests/toolkit/controls/BuilderTestSupport.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ButtonUI.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/DialogBuilder.h"
#include "toolkit/controls/LabelUI.h"
#include "toolkit/controls/TabLayoutUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

// The element names the plugin factory of this program was offered.
std::vector<std::wstring> g_hostOffered;
// Whether the plugin module had been offered each name before this
// program's factory was.
std::vector<bool> g_moduleAskedFirst;

const wchar_t* (*g_moduleOffered)() = nullptr;

class PluginBoxUI : public SkinUI::CContainerUI {
 public:
  LPCWSTR GetClass() const override { return L"PluginBoxUI"; }
};

}  // namespace

// This program is a plugin module too: its factory makes "PluginBox".
extern "C" __declspec(dllexport) SkinUI::CControlUI* CreateControl(const wchar_t* type) {
  g_hostOffered.push_back(type);
  const std::wstring before = g_moduleOffered != nullptr ? g_moduleOffered() : L"";
  const std::wstring line = std::wstring(type) + L"\n";
  g_moduleAskedFirst.push_back(before.size() >= line.size() &&
                               before.compare(before.size() - line.size(), line.size(), line) == 0);
  if (std::wcscmp(type, L"PluginBox") == 0) return new PluginBoxUI;
  return nullptr;
}

namespace {

using SkinUI::CControlUI;
using SkinUI::CDialogBuilder;
using SkinUI::CPaintManagerUI;
using test::BuilderData;
using test::ChildAt;
using test::ChildNames;
using test::ControlPtr;
using test::ProbeCallback;
using test::SkinTestWindow;
using test::Tracker;

using BuilderTree = test::BuilderTest;
using BuilderInclude = test::BuilderTest;
using BuilderFactories = test::BuilderTest;

std::wstring NameOf(const CControlUI* control) {
  return control != nullptr ? std::wstring(control->GetName().GetData()) : L"(null)";
}

// How many levels of first children lie below `control`, itself included.
int Depth(CControlUI* control) {
  int depth = 0;
  for (; control != nullptr; control = ChildAt(control, 0)) ++depth;
  return depth;
}

// The controls of a tree, its root included.
int CountControls(CControlUI* control) {
  int count = 1;
  for (int i = 0; CControlUI* child = ChildAt(control, i); ++i) count += CountControls(child);
  return count;
}

// --- Elements and classes ----------------------------------------------------------

struct ClassCase {
  LPCWSTR element;
  // The class made, or null when the name is not one the builder knows.
  LPCWSTR className;
};

const ClassCase kClasses[] = {
    {L"Control", L"ControlUI"},
    {L"Container", L"ContainerUI"},
    {L"VerticalLayout", L"VerticalLayoutUI"},
    {L"HorizontalLayout", L"HorizontalLayoutUI"},
    {L"TabLayout", L"TabLayoutUI"},
    {L"TileLayout", L"TileLayoutUI"},
    {L"ChildLayout", L"ChildLayoutUI"},
    {L"Label", L"LabelUI"},
    {L"Text", L"TextUI"},
    {L"Button", L"ButtonUI"},
    {L"Option", L"OptionUI"},
    {L"CheckBox", L"CheckBoxUI"},
    {L"ScrollBar", L"ScrollBarUI"},
    // Names are compared exactly.
    {L"control", nullptr},
    {L"CONTAINER", nullptr},
    {L"Layout", nullptr},
    // Classes this toolkit does not have are names like any unknown one.
    {L"Edit", nullptr},
    {L"List", nullptr},
    {L"TreeNode", nullptr},
    {L"AnimTileLayout", nullptr},
    {L"WebBrowser", nullptr},
};

TEST_F(BuilderTree, ElementNamesChooseTheClass) {
  for (const ClassCase& c : kClasses) {
    SCOPED_TRACE(std::string(c.element, c.element + std::wcslen(c.element)));
    Tracker tracker;
    ProbeCallback callback(&tracker);
    CDialogBuilder builder;
    const std::wstring xml = std::wstring(L"<Window><") + c.element + L" name=\"x\" /></Window>";
    ControlPtr root(builder.Create(xml.c_str(), nullptr, &callback));
    if (c.className == nullptr) {
      EXPECT_EQ(root, nullptr);
      // The callback was asked, as the last resort.
      ASSERT_EQ(tracker.offered.size(), 1u);
      EXPECT_EQ(tracker.offered[0], c.element);
    } else {
      ASSERT_NE(root, nullptr);
      EXPECT_STREQ(root->GetClass(), c.className);
      EXPECT_EQ(NameOf(root.get()), L"x");
      EXPECT_TRUE(tracker.offered.empty());
    }
  }
}

TEST_F(BuilderTree, UnknownElementsAreSkippedWithTheirChildren) {
  Tracker tracker;
  ProbeCallback callback(&tracker);
  CDialogBuilder builder;
  ControlPtr root(builder.Create(
      L"<Window><Container name=\"box\"><Foo name=\"foo\"><Control name=\"inner\" />"
      L"<Probe name=\"deep\" /></Foo><Control name=\"after\" /></Container></Window>",
      nullptr, &callback));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(ChildNames(root.get()), L"after");
  // Nothing inside the unknown element was even offered.
  ASSERT_EQ(tracker.offered.size(), 1u);
  EXPECT_EQ(tracker.offered[0], L"Foo");
  // Without any callback the name is skipped as well.
  ControlPtr bare(builder.Create(L"<Window><Foo /><Control name=\"c\" /></Window>"));
  EXPECT_EQ(NameOf(bare.get()), L"c");
}

TEST_F(BuilderTree, ChildrenComeBeforeTheContainersAttributes) {
  Tracker tracker;
  ProbeCallback callback(&tracker);
  CDialogBuilder builder;
  ControlPtr root(
      builder.Create(L"<Window><ProbeBox name=\"box\" probe=\"1\"><Control /><Probe name=\"p\" />"
                     L"<ProbeBox probe=\"2\" /></ProbeBox></Window>",
                     nullptr, &callback));
  ASSERT_NE(root, nullptr);
  // The inner box had no children when its attribute came; the outer one
  // had all three.
  ASSERT_EQ(tracker.childrenAtProbe.size(), 2u);
  EXPECT_EQ(tracker.childrenAtProbe[0], 0);
  EXPECT_EQ(tracker.childrenAtProbe[1], 3);
  EXPECT_EQ(ChildNames(root.get()), L"-,p,-");
}

TEST_F(BuilderTree, ATabLayoutSelectsAmongItsChildren) {
  CDialogBuilder builder;
  ControlPtr root(builder.Create(
      L"<Window><TabLayout selectedid=\"1\"><Control name=\"a\" /><Control name=\"b\" />"
      L"</TabLayout></Window>"));
  ASSERT_NE(root, nullptr);
  auto* tabs = static_cast<SkinUI::CTabLayoutUI*>(root->GetInterface(L"TabLayout"));
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->GetCurSel(), 1);
  EXPECT_FALSE(ChildAt(root.get(), 0)->IsVisible());
  EXPECT_TRUE(ChildAt(root.get(), 1)->IsVisible());
}

TEST_F(BuilderTree, AButtonDefaultGivesEveryLaterButtonItsHeight) {
  CPaintManagerUI manager;
  CDialogBuilder builder;
  ControlPtr root(
      builder.Create(L"<Window><Default name=\"Button\" "
                     L"value=\"height=&quot;30&quot; textcolor=&quot;#FF000000&quot;\" />"
                     L"<VerticalLayout><Button name=\"a\" /><Button name=\"b\" height=\"12\" />"
                     L"<Label name=\"l\" /></VerticalLayout></Window>",
                     nullptr, nullptr, &manager));
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->GetClass(), L"VerticalLayoutUI");
  ASSERT_EQ(ChildNames(root.get()), L"a,b,l");
  auto* a = static_cast<SkinUI::CButtonUI*>(ChildAt(root.get(), 0));
  auto* b = static_cast<SkinUI::CButtonUI*>(ChildAt(root.get(), 1));
  auto* l = static_cast<SkinUI::CLabelUI*>(ChildAt(root.get(), 2));
  EXPECT_EQ(a->GetFixedHeight(), 30);
  EXPECT_EQ(a->GetTextColor(), 0xFF000000u);
  EXPECT_EQ(b->GetFixedHeight(), 12);
  EXPECT_EQ(b->GetTextColor(), 0xFF000000u);
  EXPECT_EQ(l->GetFixedHeight(), 0);
}

TEST_F(BuilderTree, AChildLayoutBuildsItsFileWhenTheWindowTakesIt) {
  CPaintManagerUI::SetResourcePath(BuilderData().c_str());
  SkinTestWindow window;
  CDialogBuilder builder;
  CControlUI* root = builder.Create(
      L"<Window><VerticalLayout name=\"body\"><ChildLayout name=\"child\" xmlfile=\"part.xml\" />"
      L"</VerticalLayout></Window>",
      nullptr, nullptr, &window.Manager());
  ASSERT_NE(root, nullptr);
  CControlUI* child = ChildAt(root, 0);
  ASSERT_NE(child, nullptr);
  EXPECT_STREQ(child->GetClass(), L"ChildLayoutUI");
  // Nothing is read before the window takes the tree.
  EXPECT_EQ(ChildNames(child), L"(no container)");
  ASSERT_TRUE(window.Manager().AttachDialog(root));
  // The part's first control is the embedded file's root.
  EXPECT_EQ(window.Manager().FindControl(L"p1"),
            static_cast<SkinUI::CContainerUI*>(child)->GetItemAt(0));
  EXPECT_NE(window.Manager().FindControl(L"p1"), nullptr);
}

TEST_F(BuilderTree, AttributesApplyInDocumentOrderUpToSixtyFour) {
  CDialogBuilder builder;
  ControlPtr twice(builder.Create(L"<Window><Control height=\"5\" height=\"9\" /></Window>"));
  ASSERT_NE(twice, nullptr);
  EXPECT_EQ(twice->GetFixedHeight(), 9);

  // 63 attributes, then "height" as the 64th (seen) and the 65th (not).
  std::wstring xml = L"<Window><Control";
  for (int i = 0; i < 63; ++i) xml += L" userdata=\"u" + std::to_wstring(i) + L"\"";
  xml += L" height=\"7\" height=\"9\" /></Window>";
  ControlPtr many(builder.Create(xml.c_str()));
  ASSERT_NE(many, nullptr);
  EXPECT_EQ(many->GetFixedHeight(), 7);
  EXPECT_EQ(std::wstring(many->GetUserData().GetData()), L"u62");
}

TEST_F(BuilderTree, TheResultIsTheFirstControlOfTheLevel) {
  Tracker tracker;
  ProbeCallback callback(&tracker);
  CDialogBuilder builder;
  const wchar_t* const kTwo =
      L"<Window><Foo /><Probe name=\"first\" /><Probe name=\"second\" /></Window>";
  ControlPtr root(builder.Create(kTwo, nullptr, &callback));
  EXPECT_EQ(NameOf(root.get()), L"first");
  // Without a parent the second has no owner: it is gone already.
  EXPECT_TRUE(tracker.Deleted(L"second"));
  EXPECT_FALSE(tracker.Deleted(L"first"));

  // With a parent, every top-level control goes into it.
  SkinUI::CContainerUI parent;
  CControlUI* first = builder.Create(kTwo, nullptr, &callback, nullptr, &parent);
  EXPECT_EQ(NameOf(first), L"first");
  EXPECT_EQ(ChildNames(&parent), L"first,second");
  EXPECT_EQ(ChildAt(&parent, 0), first);
}

TEST_F(BuilderTree, AParentThatHoldsNoChildrenEndsTheLevel) {
  Tracker tracker;
  ProbeCallback callback(&tracker);
  CDialogBuilder builder;
  SkinUI::CControlUI plain;
  EXPECT_EQ(builder.Create(L"<Window><Probe name=\"a\" /><Probe name=\"b\" /></Window>", nullptr,
                           &callback, nullptr, &plain),
            nullptr);
  // The first control had nowhere to go; the second was never made.
  EXPECT_EQ(tracker.offered.size(), 1u);
  EXPECT_EQ(tracker.deleted.size(), 1u);

  // Inside a file: children of a plain control end their level, and the
  // level above goes on.
  tracker = Tracker();
  ControlPtr root(builder.Create(
      L"<Window><Probe name=\"outer\"><Probe name=\"inner\" /><Probe name=\"never\" /></Probe>"
      L"</Window>",
      nullptr, &callback));
  EXPECT_EQ(NameOf(root.get()), L"outer");
  EXPECT_EQ(tracker.offered.size(), 2u);
  EXPECT_EQ(tracker.deleted.size(), 1u);
  EXPECT_FALSE(tracker.Deleted(L"outer"));
}

TEST_F(BuilderTree, AControlTheContainerRefusesIsDeleted) {
  Tracker tracker;
  ProbeCallback callback(&tracker);
  CDialogBuilder builder;
  ControlPtr root(builder.Create(
      L"<Window><Refuser name=\"r\"><Probe name=\"a\" /><ProbeBox name=\"b\"><Probe /></ProbeBox>"
      L"</Refuser></Window>",
      nullptr, &callback));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(NameOf(root.get()), L"r");
  EXPECT_EQ(ChildNames(root.get()), L"");
  // Both refused controls (and the child of the second) are gone; the
  // level went on after the first refusal.
  EXPECT_EQ(tracker.deleted.size(), 3u);
  EXPECT_EQ(tracker.offered.size(), 4u);
}

TEST_F(BuilderTree, AParentInAWindowGetsFinishedControls) {
  SkinTestWindow window(200, 100);
  CPaintManagerUI& manager = window.Manager();
  auto* body = new SkinUI::CContainerUI;
  body->SetBkColor(0xFF0000FF);
  ASSERT_TRUE(manager.AttachDialog(body));
  window.Paint();
  ASSERT_EQ(window.Pixel(10, 10), 0x0000FFu);

  CDialogBuilder builder;
  CControlUI* late = builder.Create(
      L"<Part><Default name=\"Control\" value=\"bkcolor=&quot;#FF00FF00&quot;\" />"
      L"<Control name=\"late\" height=\"5\" /></Part>",
      nullptr, nullptr, &manager, body);
  ASSERT_NE(late, nullptr);
  EXPECT_EQ(ChildAt(body, 0), late);
  // It belongs to the window's tree as if the window had installed it.
  EXPECT_EQ(late->GetManager(), &manager);
  EXPECT_EQ(late->GetParent(), body);
  EXPECT_EQ(manager.FindControl(L"late"), late);
  EXPECT_EQ(late->GetFixedHeight(), 5);
  window.Paint();
  EXPECT_EQ(window.Pixel(10, 2), 0x00FF00u);
}

TEST_F(BuilderTree, DeepNestingStopsAtTheLimit) {
  const int kLevels = 1000;
  std::wstring xml = L"<Window>";
  for (int i = 0; i < kLevels; ++i) xml += L"<Container>";
  for (int i = 0; i < kLevels; ++i) xml += L"</Container>";
  xml += L"</Window>";
  CDialogBuilder builder;
  CPaintManagerUI manager;
  ControlPtr root(builder.Create(xml.c_str(), nullptr, nullptr, &manager));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Depth(root.get()), CDialogBuilder::kMaxNesting);
  // A tree right at the limit is built whole.
  std::wstring fits = L"<Window>";
  for (int i = 0; i < CDialogBuilder::kMaxNesting; ++i) fits += L"<Container>";
  for (int i = 0; i < CDialogBuilder::kMaxNesting; ++i) fits += L"</Container>";
  fits += L"</Window>";
  ControlPtr full(builder.Create(fits.c_str()));
  EXPECT_EQ(Depth(full.get()), CDialogBuilder::kMaxNesting);
}

// --- Includes ------------------------------------------------------------------------

TEST_F(BuilderInclude, APartIsAddedCountTimesInOrder) {
  CPaintManagerUI::SetResourcePath(BuilderData().c_str());
  CDialogBuilder builder;
  ControlPtr root(builder.Create(L"include.xml"));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(ChildNames(root.get()), L"before,p1,p2,p1,p2,p1,p2,after");
  // Each copy is a control of its own.
  EXPECT_NE(ChildAt(root.get(), 1), ChildAt(root.get(), 3));
}

struct IncludeCase {
  const char* what;
  LPCWSTR include;
  LPCWSTR children;
};

const IncludeCase kIncludes[] = {
    {"count defaults to one", L"<Include source=\"part.xml\" />", L"before,p1,p2,after"},
    {"count zero", L"<Include source=\"part.xml\" count=\"0\" />", L"before,after"},
    {"a negative count", L"<Include source=\"part.xml\" count=\"-2\" />", L"before,after"},
    {"no source", L"<Include count=\"2\" />", L"before,after"},
    {"an empty source", L"<Include source=\"\" />", L"before,after"},
    {"no attributes", L"<Include />", L"before,after"},
    {"a missing file", L"<Include source=\"missing.xml\" count=\"2\" />", L"before,after"},
    {"a broken file", L"<Include source=\"malformed\\unmatched-closing-tag.xml\" />",
     L"before,after"},
    {"two includes", L"<Include source=\"part.xml\" /><Include source=\"part-window.xml\" />",
     L"before,p1,p2,w,after"},
};

TEST_F(BuilderInclude, EdgeCases) {
  CPaintManagerUI::SetResourcePath(BuilderData().c_str());
  for (const IncludeCase& c : kIncludes) {
    SCOPED_TRACE(c.what);
    CDialogBuilder builder;
    const std::wstring xml = std::wstring(L"<Window><Container><Control name=\"before\" />") +
                             c.include + L"<Control name=\"after\" /></Container></Window>";
    ControlPtr root(builder.Create(xml.c_str()));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildNames(root.get()), c.children);
  }
}

TEST_F(BuilderInclude, AnIncludedWindowBringsItsDeclarationsAndSettings) {
  CPaintManagerUI::SetResourcePath(BuilderData().c_str());
  SkinTestWindow window;
  CPaintManagerUI& manager = window.Manager();
  CDialogBuilder builder;
  ControlPtr root(builder.Create(
      L"<Window size=\"10,10\"><Container name=\"c\"><Include source=\"part-window.xml\" />"
      L"</Container></Window>",
      nullptr, nullptr, &manager));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(ChildNames(root.get()), L"w");
  // The included settings come after the including file's.
  EXPECT_EQ(manager.GetInitSize().cx, 123);
  EXPECT_EQ(manager.GetInitSize().cy, 45);
  EXPECT_EQ(manager.GetDefaultFontColor(), 0xFF112233u);
  EXPECT_EQ(manager.GetFontIndex(L"Tahoma", 9, false, false, false), 0);
}

TEST_F(BuilderInclude, IncludedControlsAreNotTheResult) {
  CPaintManagerUI::SetResourcePath(BuilderData().c_str());
  Tracker tracker;
  ProbeCallback callback(&tracker);
  CDialogBuilder builder;
  const wchar_t* const kSkin =
      L"<Window><Include source=\"probe-part.xml\" /><Probe name=\"own\" /></Window>";

  // With a parent, the included controls go into it before the file's own.
  SkinUI::CContainerUI parent;
  CControlUI* own = builder.Create(kSkin, nullptr, &callback, nullptr, &parent);
  EXPECT_EQ(NameOf(own), L"own");
  EXPECT_EQ(ChildNames(&parent), L"ip1,ip2,own");
  EXPECT_TRUE(tracker.deleted.empty());

  // Without one they have no owner and are gone; the callback made them,
  // so it reached the included file.
  ControlPtr alone(builder.Create(kSkin, nullptr, &callback));
  EXPECT_EQ(NameOf(alone.get()), L"own");
  EXPECT_TRUE(tracker.Deleted(L"ip1"));
  EXPECT_TRUE(tracker.Deleted(L"ip2"));

  // A window made only of an include has no root control.
  tracker = Tracker();
  EXPECT_EQ(
      builder.Create(L"<Window><Include source=\"probe-part.xml\" /></Window>", nullptr, &callback),
      nullptr);
  EXPECT_EQ(tracker.deleted.size(), 2u);
}

TEST_F(BuilderInclude, IncludesEndAtTheirLimits) {
  CPaintManagerUI::SetResourcePath(BuilderData(L"malformed").c_str());
  CDialogBuilder builder;
  // A file that includes itself three times: the chain ends after the
  // deepest include allowed, and the whole build after the most includes
  // allowed.
  ControlPtr again(builder.Create(L"self-include.xml"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(Depth(again.get()), CDialogBuilder::kMaxIncludeDepth + 1);
  EXPECT_EQ(CountControls(again.get()), CDialogBuilder::kMaxIncludes + 1);
  // The allowance is per build: the self-include used all of it, and the
  // next build of the same builder has all of it again.
  ControlPtr rows(builder.Create(L"endless-count.xml"));
  ASSERT_NE(rows, nullptr);
  auto* items = static_cast<SkinUI::IContainerUI*>(rows->GetInterface(L"IContainer"));
  EXPECT_EQ(items->GetCount(), CDialogBuilder::kMaxIncludes);
}

// --- Factories ----------------------------------------------------------------------

// The plugin module (which only writes down what it is offered) first,
// then this program; loading them again changes nothing.
void LoadPlugins() {
  const std::wstring module = test::InTestBin(L"toolkit_builder_plugin.dll");
  ASSERT_TRUE(CPaintManagerUI::LoadPlugin(module.c_str()));
  HMODULE loaded = ::GetModuleHandleW(module.c_str());
  ASSERT_NE(loaded, nullptr);
  g_moduleOffered = reinterpret_cast<const wchar_t* (*)()>(
      reinterpret_cast<void*>(::GetProcAddress(loaded, "OfferedNames")));
  ASSERT_NE(g_moduleOffered, nullptr);
  wchar_t self[MAX_PATH] = {};
  ASSERT_NE(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  ASSERT_TRUE(CPaintManagerUI::LoadPlugin(self));
}

TEST_F(BuilderFactories, PluginsComeBeforeTheCallbackInOrder) {
  LoadPlugins();
  g_hostOffered.clear();
  g_moduleAskedFirst.clear();
  Tracker tracker;
  ProbeCallback callback(&tracker);
  CDialogBuilder builder;
  ControlPtr root(builder.Create(
      L"<Window><Container name=\"box\"><PluginBox name=\"plug\" /><Probe name=\"cb\" />"
      L"<Nobody /><Control name=\"known\" /></Container></Window>",
      nullptr, &callback));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(ChildNames(root.get()), L"plug,cb,known");
  EXPECT_STREQ(ChildAt(root.get(), 0)->GetClass(), L"PluginBoxUI");
  // The known names reached no plugin; the others reached the module
  // first, then this program, then (if still unmade) the callback.
  const std::vector<std::wstring> unknown = {L"PluginBox", L"Probe", L"Nobody"};
  EXPECT_EQ(g_hostOffered, unknown);
  EXPECT_EQ(g_moduleAskedFirst, std::vector<bool>(3, true));
  const std::vector<std::wstring> offered = {L"Probe", L"Nobody"};
  EXPECT_EQ(tracker.offered, offered);
}

TEST_F(BuilderFactories, ThePluginsServeIncludedFilesToo) {
  LoadPlugins();
  g_hostOffered.clear();
  CPaintManagerUI::SetResourcePath(BuilderData().c_str());
  Tracker tracker;
  ProbeCallback callback(&tracker);
  CDialogBuilder builder;
  ControlPtr root(builder.Create(
      L"<Window><PluginBox name=\"outer\"><Include source=\"probe-part.xml\" /></PluginBox>"
      L"</Window>",
      nullptr, &callback));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(ChildNames(root.get()), L"ip1,ip2");
  const std::vector<std::wstring> asked = {L"PluginBox", L"Probe", L"Probe"};
  EXPECT_EQ(g_hostOffered, asked);
}

}  // namespace
