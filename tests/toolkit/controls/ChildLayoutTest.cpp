// The child layout: content built from another skin file when the layout
// is attached to a window, sources that build nothing, and how it answers
// type queries.

#include <windows.h>

#include <string>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/LayoutTestSupport.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ChildLayoutUI.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CChildLayoutUI;
using SkinUI::CContainerUI;
using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;
using test::SkinTestWindow;

// Skin files are read from the fixture folder.
class ChildLayoutFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(test::LayoutData().empty()) << "TALMIC_LAYOUT_DATA is not set";
    CPaintManagerUI::SetResourceZip(L"", false);
    CPaintManagerUI::SetResourcePath(test::LayoutData().c_str());
  }
  void TearDown() override { CPaintManagerUI::SetResourcePath(L""); }

  // A window whose root container holds one child layout of `file`.
  CChildLayoutUI* Attach(SkinTestWindow& window, LPCWSTR file) {
    auto* root = new CContainerUI;
    auto* child = new CChildLayoutUI;
    child->SetAttribute(L"xmlfile", file);
    root->Add(child);
    // Nothing is built before the layout reaches a window.
    EXPECT_EQ(child->GetCount(), 0);
    window.Manager().AttachDialog(root);
    window.Paint();
    return child;
  }
};

TEST_F(ChildLayoutFiles, TheFilesFirstControlBecomesTheContent) {
  SkinTestWindow window(200, 100);
  int inits = 0;
  struct Counter {
    int* count;
    bool OnInit(void*) {
      ++*count;
      return true;
    }
  } counter{&inits};
  auto* root = new CContainerUI;
  auto* child = new CChildLayoutUI;
  child->SetChildLayoutXML(L"child.xml");
  child->OnInit += SkinUI::MakeDelegate(&counter, &Counter::OnInit);
  root->Add(child);
  window.Manager().AttachDialog(root);
  window.Paint();

  ASSERT_EQ(child->GetCount(), 1);
  CControlUI* inner = child->GetItemAt(0);
  EXPECT_EQ(inner->GetName(), L"inner");
  EXPECT_EQ(inner->GetParent(), child);
  // The built controls are the window's: their names are known to it.
  EXPECT_EQ(window.Manager().FindControl(L"inner"), inner);
  CControlUI* leaf = window.Manager().FindControl(L"leaf");
  ASSERT_NE(leaf, nullptr);
  EXPECT_EQ(leaf->GetParent(), inner);
  EXPECT_EQ(window.Manager().FindControl(L"second"), nullptr);
  // Building replaces the usual initialisation, hooks included.
  EXPECT_EQ(inits, 0);

  // And they are painted: the red container with the blue leaf on it.
  EXPECT_EQ(window.Pixel(5, 5), 0x0000FFu);
  EXPECT_EQ(window.Pixel(100, 50), 0xFF0000u);
}

TEST_F(ChildLayoutFiles, AnotherInitialisationDoesNotBuildASecondCopy) {
  SkinTestWindow window(200, 100);
  CChildLayoutUI* child = Attach(window, L"child.xml");
  ASSERT_EQ(child->GetCount(), 1);
  child->Init();
  EXPECT_EQ(child->GetCount(), 1);
}

TEST_F(ChildLayoutFiles, SourcesThatBuildNothingLeaveItEmpty) {
  const wchar_t* const sources[] = {L"", L"missing.xml", L"unbalanced.xml", L"empty-window.xml"};
  for (const wchar_t* source : sources) {
    SCOPED_TRACE(std::string(source, source + std::wcslen(source)));
    SkinTestWindow window(200, 100);
    CChildLayoutUI* child = Attach(window, source);
    EXPECT_EQ(child->GetCount(), 0);
    EXPECT_EQ(child->GetChildLayoutXML(), source);
  }
}

TEST(ChildLayoutNames, ItAnswersAsAControlNotAsAContainer) {
  CChildLayoutUI child;
  EXPECT_STREQ(child.GetClass(), L"ChildLayoutUI");
  EXPECT_EQ(child.GetInterface(L"ChildLayout"), &child);
  EXPECT_EQ(child.GetInterface(L"Control"), &child);
  EXPECT_EQ(child.GetInterface(L"Container"), nullptr);
  EXPECT_EQ(child.GetInterface(L"IContainer"), nullptr);
  // Other attributes still reach the container underneath.
  child.SetAttribute(L"inset", L"1,2,3,4");
  EXPECT_EQ(child.GetInset().bottom, 4);
  EXPECT_TRUE(child.GetChildLayoutXML().IsEmpty());
}

}  // namespace
