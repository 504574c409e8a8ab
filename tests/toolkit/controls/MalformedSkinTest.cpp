// Every damaged or hostile skin file kept under data\builder\malformed,
// replayed: each either fails with the parser's message or builds, never
// hangs or crashes, and building goes on working afterwards.  Each that
// builds is also laid out and painted in a real window.

#include <windows.h>

#include <set>
#include <string>

#include "gtest/gtest.h"
#include "tests/support/TempFolder.h"
#include "tests/toolkit/controls/BuilderTestSupport.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/DialogBuilder.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CDialogBuilder;
using SkinUI::CPaintManagerUI;
using test::BuilderData;
using test::ControlPtr;

struct MalformedCase {
  const wchar_t* file;
  // The parser's message when the file cannot be built; null when it builds.
  const wchar_t* message;
};

// One row per file; a file added to the folder must be added here too.
constexpr MalformedCase kMalformed[] = {
    {L"unmatched-closing-tag.xml", L"Unmatched closing tag"},
    {L"text-after-child.xml", L"Expected start tag"},
    {L"unterminated-value.xml", L"Error while parsing attribute string"},
    {L"self-include.xml", nullptr},
    {L"include-cycle-a.xml", nullptr},
    {L"include-cycle-b.xml", nullptr},
    {L"endless-count.xml", nullptr},
    {L"row.xml", nullptr},
    {L"invalid-utf8.xml", nullptr},
    // Numbers beyond any screen: a position whose size overflowed 32 bits,
    // and tiled images whose destination reaches two billion pixels off
    // the window, every tile of which was visited.
    {L"huge-pos.xml", nullptr},
    {L"tiled-across-far-left.xml", nullptr},
    {L"tiled-far-off-screen.xml", nullptr},
};

using MalformedSkin = test::BuilderTest;

bool NothingInvalid(const test::SkinTestWindow& window) {
  const RECT invalid = window.UpdateRect();
  return ::IsRectEmpty(&invalid) != FALSE;
}

TEST_F(MalformedSkin, TheTableCoversTheFolder) {
  std::set<std::wstring> listed;
  for (const MalformedCase& c : kMalformed) listed.insert(c.file);
  const auto files = test::ListFolder(BuilderData(L"malformed"));
  for (const std::wstring& name : files) {
    EXPECT_EQ(listed.count(name), 1u) << "no row for a file in data\\builder\\malformed";
  }
  EXPECT_EQ(files.size(), listed.size());
}

TEST_F(MalformedSkin, EachFailsCleanlyOrBuilds) {
  CPaintManagerUI::SetResourcePath(BuilderData(L"malformed").c_str());
  for (const MalformedCase& c : kMalformed) {
    SCOPED_TRACE(std::string(c.file, c.file + std::wcslen(c.file)));
    CDialogBuilder builder;
    CPaintManagerUI manager;
    ControlPtr root(builder.Create(c.file, nullptr, nullptr, &manager));
    wchar_t message[100] = {};
    builder.GetLastErrorMessage(message, 100);
    if (c.message != nullptr) {
      EXPECT_EQ(root, nullptr);
      EXPECT_STREQ(message, c.message);
      EXPECT_EQ(manager.GetCustomFontCount(), 0u);
    } else {
      EXPECT_NE(root, nullptr);
      EXPECT_STREQ(message, L"");
    }
    // The same builder goes on building.
    ControlPtr good(builder.Create(L"<Window><Control name=\"good\" /></Window>"));
    ASSERT_NE(good, nullptr);
    EXPECT_STREQ(good->GetName().GetData(), L"good");
  }
}

// Laid out and painted at the window's size and again after it grew and
// shrank, both as a plain window and as a layered one (whose frame is
// written pixel by pixel): each paint ends, and leaves nothing invalid.
TEST_F(MalformedSkin, EachThatBuildsIsPaintedSafely) {
  CPaintManagerUI::SetResourcePath(BuilderData(L"malformed").c_str());
  for (const MalformedCase& c : kMalformed) {
    if (c.message != nullptr) continue;
    for (bool layered : {false, true}) {
      SCOPED_TRACE(std::string(c.file, c.file + std::wcslen(c.file)) +
                   (layered ? ", layered" : ", plain"));
      test::SkinTestWindow window(300, 200);
      window.Manager().SetUseLayeredWindow(layered);
      CDialogBuilder builder;
      SkinUI::CControlUI* root = builder.Create(c.file, nullptr, nullptr, &window.Manager());
      if (root == nullptr) {
        ADD_FAILURE() << "does not build";
        continue;
      }
      // The manager owns the tree from here on.
      EXPECT_TRUE(window.Manager().AttachDialog(root));
      ::InvalidateRect(window.Get(), nullptr, FALSE);
      window.Paint();
      EXPECT_TRUE(NothingInvalid(window));
      for (SIZE size : {SIZE{640, 480}, SIZE{1, 1}, SIZE{300, 200}}) {
        ::SetWindowPos(window.Get(), nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(window.Get(), nullptr, FALSE);
        window.Paint();
        EXPECT_TRUE(NothingInvalid(window));
      }
    }
  }
}

TEST_F(MalformedSkin, BrokenUtf8ReadsAsReplacementCharacters) {
  CPaintManagerUI::SetResourcePath(BuilderData(L"malformed").c_str());
  CDialogBuilder builder;
  ControlPtr root(builder.Create(L"invalid-utf8.xml"));
  ASSERT_NE(root, nullptr);
  const std::wstring text = root->GetText().GetData();
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.find(L'\xFFFD'), std::wstring::npos);
  // The good bytes between the bad ones survive.
  EXPECT_NE(text.find(L'('), std::wstring::npos);
}

}  // namespace
