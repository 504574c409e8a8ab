// Every damaged or hostile skin file kept under data\builder\malformed,
// replayed: each either fails with the parser's message or builds, never
// hangs or crashes, and building goes on working afterwards.

#include <windows.h>

#include <set>
#include <string>

#include "gtest/gtest.h"
#include "tests/support/TempFolder.h"
#include "tests/toolkit/controls/BuilderTestSupport.h"
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
};

using MalformedSkin = test::BuilderTest;

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
