// Every damaged image and archive kept under data\malformed, replayed: each
// gives nothing, and loading goes on working afterwards.

#include <windows.h>

#include <set>
#include <string>

#include "tests/support/TempFolder.h"
#include "tests/toolkit/core/CoreTestSupport.h"
#include "toolkit/core/PaintManagerUI.h"
#include "toolkit/core/ResourceReader.h"

namespace {

using SkinUI::CPaintManagerUI;

enum class Kind { Image, Archive };

struct MalformedCase {
  const wchar_t* file;
  Kind kind;
};

// One row per file; a file added to the folder must be added here too.
constexpr MalformedCase kMalformed[] = {
    {L"not-an-image.png", Kind::Image},
    {L"empty.png", Kind::Image},
    {L"truncated.png", Kind::Image},
    {L"huge.bmp", Kind::Image},
    {L"huge.pic", Kind::Image},
    {L"truncated.gif", Kind::Image},
    {L"garbage.zip", Kind::Archive},
    {L"truncated.zip", Kind::Archive},
    {L"damaged-entry.zip", Kind::Archive},
    {L"bad-crc.zip", Kind::Archive},
};

class MalformedInput : public test::SkinSettingsTest {
 protected:
  // After each bad input, a good image still loads.
  static void ExpectLoadingStillWorks() {
    SkinUI::TImageInfo* good =
        CPaintManagerUI::LoadImageW(test::CoreData(L"images\\rgba.png").c_str());
    EXPECT_NE(good, nullptr);
    CPaintManagerUI::FreeImage(good);
  }

  // Every archive here holds (or held) "bk.png".
  static void ExpectArchiveGivesNothing() {
    SkinUI::CResourceBuffer bytes;
    EXPECT_FALSE(SkinUI::CResourceReader::Read(L"bk.png", nullptr, bytes));
    EXPECT_EQ(CPaintManagerUI::LoadImageW(L"bk.png"), nullptr);
    CPaintManagerUI manager;
    EXPECT_EQ(manager.GetImageEx(L"bk.png"), nullptr);
  }
};

TEST_F(MalformedInput, TheTableCoversTheFolder) {
  std::set<std::wstring> listed;
  for (const MalformedCase& c : kMalformed) listed.insert(c.file);
  for (const std::wstring& name : test::ListFolder(test::CoreData(L"malformed"))) {
    EXPECT_EQ(listed.count(name), 1u) << "no row for a file in data\\malformed";
  }
  EXPECT_EQ(test::ListFolder(test::CoreData(L"malformed")).size(), listed.size());
}

TEST_F(MalformedInput, EachGivesNothing) {
  for (const MalformedCase& c : kMalformed) {
    const std::wstring path = test::CoreData(L"malformed\\") + c.file;
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    if (c.kind == Kind::Image) {
      EXPECT_EQ(CPaintManagerUI::LoadImageW(path.c_str()), nullptr);
      CPaintManagerUI::SetResourcePath(test::CoreData(L"malformed").c_str());
      EXPECT_EQ(CPaintManagerUI::LoadImageW(c.file), nullptr);
      CPaintManagerUI manager;
      EXPECT_EQ(manager.AddImage(c.file), nullptr);
    } else {
      CPaintManagerUI::SetResourcePath(test::CoreData(L"malformed").c_str());
      for (bool cached : {false, true}) {
        CPaintManagerUI::SetResourceZip(c.file, cached);
        ExpectArchiveGivesNothing();
        CPaintManagerUI::SetResourceZip(L"", false);
      }
      const std::string bytes = test::FileBytes(path);
      ASSERT_FALSE(bytes.empty());
      CPaintManagerUI::SetResourceZip(bytes.data(), static_cast<unsigned>(bytes.size()));
      ExpectArchiveGivesNothing();
    }
    ResetSettings();
    ExpectLoadingStillWorks();
  }
}

}  // namespace
