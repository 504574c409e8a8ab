// The parent chain, default colours, default attribute lists and option
// groups.

#include <string>

#include "tests/toolkit/core/CoreTestSupport.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;

// The five colours with their getters, setters and defaults.
struct ColourCase {
  const char* name;
  DWORD (CPaintManagerUI::*get)() const;
  void (CPaintManagerUI::*set)(DWORD);
  DWORD defaultValue;
};

class PaintManagerColours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(PaintManagerColours, TheTopmostManagerAnswers) {
  const ColourCase& c = GetParam();
  CPaintManagerUI parent;
  CPaintManagerUI child;
  EXPECT_EQ((child.*c.get)(), c.defaultValue);
  (child.*c.set)(0xFF102030);
  EXPECT_EQ((child.*c.get)(), 0xFF102030u) << "without a parent, its own value";
  ASSERT_TRUE(child.UseParentResource(&parent));
  EXPECT_EQ((child.*c.get)(), c.defaultValue) << "with one, the parent's, even when set";
  (parent.*c.set)(0xFF405060);
  EXPECT_EQ((child.*c.get)(), 0xFF405060u);
  CPaintManagerUI grandchild;
  ASSERT_TRUE(grandchild.UseParentResource(&child));
  EXPECT_EQ((grandchild.*c.get)(), 0xFF405060u);
  ASSERT_TRUE(child.UseParentResource(nullptr));
  EXPECT_EQ((child.*c.get)(), 0xFF102030u);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, PaintManagerColours,
    ::testing::Values(ColourCase{"Disabled", &CPaintManagerUI::GetDefaultDisabledColor,
                                 &CPaintManagerUI::SetDefaultDisabledColor, 0xFFA7A6AA},
                      ColourCase{"Font", &CPaintManagerUI::GetDefaultFontColor,
                                 &CPaintManagerUI::SetDefaultFontColor, 0xFF000001},
                      ColourCase{"Link", &CPaintManagerUI::GetDefaultLinkFontColor,
                                 &CPaintManagerUI::SetDefaultLinkFontColor, 0xFF0000FF},
                      ColourCase{"LinkHover", &CPaintManagerUI::GetDefaultLinkHoverFontColor,
                                 &CPaintManagerUI::SetDefaultLinkHoverFontColor, 0xFFD3215F},
                      ColourCase{"Selected", &CPaintManagerUI::GetDefaultSelectedBkColor,
                                 &CPaintManagerUI::SetDefaultSelectedBkColor, 0xFFBAE4FF}),
    [](const ::testing::TestParamInfo<ColourCase>& info) { return info.param.name; });

TEST(PaintManagerResources, ParentChainsMayNotCloseInACircle) {
  CPaintManagerUI a;
  CPaintManagerUI b;
  CPaintManagerUI c;
  EXPECT_FALSE(a.UseParentResource(&a));
  EXPECT_EQ(a.GetParentResource(), nullptr);
  ASSERT_TRUE(b.UseParentResource(&a));
  ASSERT_TRUE(c.UseParentResource(&b));
  EXPECT_FALSE(a.UseParentResource(&c));
  EXPECT_FALSE(a.UseParentResource(&b));
  EXPECT_EQ(a.GetParentResource(), nullptr);
  EXPECT_EQ(c.GetParentResource(), &b);
  // Lookups still end.
  EXPECT_EQ(c.GetDefaultFontColor(), a.GetDefaultFontColor());
}

TEST(PaintManagerResources, TheFirstDefaultAttributeListWins) {
  CPaintManagerUI manager;
  manager.AddDefaultAttributeList(L"Button", L"height=\"30\"");
  manager.AddDefaultAttributeList(L"Button", L"height=\"40\"");
  EXPECT_EQ(std::wstring(manager.GetDefaultAttributeList(L"Button")), L"height=\"30\"");
  EXPECT_EQ(manager.GetDefaultAttributeList(L"button"), nullptr);
  EXPECT_EQ(manager.GetDefaultAttributeList(L"Label"), nullptr);
  EXPECT_EQ(manager.GetDefaultAttribultes().GetSize(), 1);
}

TEST(PaintManagerResources, DefaultAttributeListsComeFromParentsToo) {
  CPaintManagerUI parent;
  CPaintManagerUI child;
  ASSERT_TRUE(child.UseParentResource(&parent));
  parent.AddDefaultAttributeList(L"Button", L"width=\"1\"");
  parent.AddDefaultAttributeList(L"Label", L"width=\"2\"");
  child.AddDefaultAttributeList(L"Label", L"width=\"3\"");
  EXPECT_EQ(std::wstring(child.GetDefaultAttributeList(L"Button")), L"width=\"1\"");
  EXPECT_EQ(std::wstring(child.GetDefaultAttributeList(L"Label")), L"width=\"3\"");
  EXPECT_TRUE(child.RemoveDefaultAttributeList(L"Label"));
  EXPECT_FALSE(child.RemoveDefaultAttributeList(L"Label"));
  EXPECT_EQ(std::wstring(child.GetDefaultAttributeList(L"Label")), L"width=\"2\"");
  parent.RemoveAllDefaultAttributeList();
  EXPECT_EQ(child.GetDefaultAttributeList(L"Button"), nullptr);
  EXPECT_EQ(parent.GetDefaultAttribultes().GetSize(), 0);
}

TEST(PaintManagerResources, OptionGroupsHoldEachControlOnce) {
  CPaintManagerUI manager;
  // Controls are only held, never touched, so any distinct pointers do.
  int first = 0;
  int second = 0;
  auto* one = reinterpret_cast<CControlUI*>(&first);
  auto* two = reinterpret_cast<CControlUI*>(&second);
  EXPECT_EQ(manager.GetOptionGroup(L"tabs"), nullptr);
  EXPECT_TRUE(manager.AddOptionGroup(L"tabs", one));
  EXPECT_FALSE(manager.AddOptionGroup(L"tabs", one));
  EXPECT_TRUE(manager.AddOptionGroup(L"tabs", two));
  EXPECT_TRUE(manager.AddOptionGroup(L"other", one));
  SkinUI::CStdPtrArray* tabs = manager.GetOptionGroup(L"tabs");
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->GetSize(), 2);
  EXPECT_EQ(tabs->GetAt(0), one);
  EXPECT_EQ(tabs->GetAt(1), two);

  manager.RemoveOptionGroup(L"tabs", one);
  ASSERT_EQ(tabs->GetSize(), 1);
  EXPECT_EQ(tabs->GetAt(0), two);
  manager.RemoveOptionGroup(L"tabs", one);
  EXPECT_EQ(manager.GetOptionGroup(L"tabs"), tabs);
  // An emptied group goes.
  manager.RemoveOptionGroup(L"tabs", two);
  EXPECT_EQ(manager.GetOptionGroup(L"tabs"), nullptr);
  manager.RemoveAllOptionGroups();
  EXPECT_EQ(manager.GetOptionGroup(L"other"), nullptr);
}

}  // namespace
