// Reading skin resources from the skin folder, an archive on disk (kept
// open or opened per read), an archive in memory and module resources.

#include "toolkit/core/ResourceReader.h"

#include <string>

#include "tests/toolkit/core/CoreTestSupport.h"
#include "toolkit/core/PaintManagerUI.h"
#include "toolkit/core/ZipArchive.h"

namespace {

using SkinUI::CPaintManagerUI;
using SkinUI::CResourceBuffer;
using SkinUI::CResourceReader;

std::string AsString(const CResourceBuffer& buffer) {
  return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

enum class Source { Folder, CachedZip, UncachedZip, MemoryZip };

struct SourceCase {
  const char* name;
  Source source;
};

class ResourceSources : public test::SkinSettingsTest,
                        public ::testing::WithParamInterface<SourceCase> {
 protected:
  void SetUp() override {
    test::SkinSettingsTest::SetUp();
    switch (GetParam().source) {
      case Source::Folder:
        CPaintManagerUI::SetResourcePath(test::CoreData(L"skin").c_str());
        break;
      case Source::CachedZip:
        CPaintManagerUI::SetResourcePath(test::CoreData().c_str());
        CPaintManagerUI::SetResourceZip(L"skin.zip", true);
        ASSERT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);
        break;
      case Source::UncachedZip:
        CPaintManagerUI::SetResourcePath(test::CoreData().c_str());
        CPaintManagerUI::SetResourceZip(L"skin.zip", false);
        ASSERT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
        break;
      case Source::MemoryZip:
        m_zip = test::FileBytes(test::CoreData(L"skin.zip"));
        ASSERT_FALSE(m_zip.empty());
        CPaintManagerUI::SetResourceZip(m_zip.data(), static_cast<unsigned>(m_zip.size()));
        ASSERT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);
        break;
    }
  }

  static std::string Read(const wchar_t* name) {
    CResourceBuffer buffer;
    if (!CResourceReader::Read(name, nullptr, buffer)) return "<nothing>";
    return AsString(buffer);
  }

  bool IsZip() const { return GetParam().source != Source::Folder; }

  std::string m_zip;
};

TEST_P(ResourceSources, ReadsEntriesWhole) {
  EXPECT_EQ(Read(L"img/Button.png"), test::FileBytes(test::CoreData(L"skin\\img\\Button.png")));
  EXPECT_EQ(Read(L"readme.txt"), "not an image\n");
}

TEST_P(ResourceSources, NamesIgnoreCaseAndBackslashesAreSlashes) {
  const std::string button = test::FileBytes(test::CoreData(L"skin\\img\\Button.png"));
  EXPECT_EQ(Read(L"IMG\\BUTTON.PNG"), button);
  EXPECT_EQ(Read(L"img\\button.png"), button);
  EXPECT_EQ(Read(L"Readme.TXT"), "not an image\n");
}

TEST_P(ResourceSources, MissingAndEmptyGiveNothing) {
  EXPECT_EQ(Read(L"img/missing.png"), "<nothing>");
  EXPECT_EQ(Read(L"img/empty.png"), "<nothing>");
  EXPECT_EQ(Read(L""), "<nothing>");
  EXPECT_EQ(Read(nullptr), "<nothing>");
  // Reading on after a failure works as before.
  EXPECT_EQ(Read(L"readme.txt"), "not an image\n");
}

TEST_P(ResourceSources, TheArchiveIsReadWhenOneIsSet) {
  // The folder's bk.png differs from the archive's, so the bytes tell which
  // reader delivered them.
  const std::string folder = test::FileBytes(test::CoreData(L"skin\\bk.png"));
  ASSERT_FALSE(folder.empty());
  if (IsZip()) {
    EXPECT_NE(Read(L"bk.png"), folder);
    EXPECT_NE(Read(L"bk.png"), "<nothing>");
  } else {
    EXPECT_EQ(Read(L"bk.png"), folder);
  }
}

TEST_P(ResourceSources, ArchiveEntriesStoredWithBackslashesAreFound) {
  if (!IsZip()) GTEST_SKIP() << "only archives store names of their own";
  const std::string icon = Read(L"legacy/icon.png");
  EXPECT_NE(icon, "<nothing>");
  EXPECT_EQ(Read(L"Legacy\\Icon.png"), icon);
}

TEST_P(ResourceSources, NamesOf255CharactersAreFoundAndLongerOnesRefused) {
  if (!IsZip()) GTEST_SKIP() << "the length limit is the archive reader's";
  // The archive holds an entry of each length; the longer one is there but
  // lies beyond what a request may name.
  const std::wstring longest = std::wstring(251, L'n') + L".txt";
  ASSERT_EQ(longest.size(), 255u);
  EXPECT_EQ(Read(longest.c_str()), "255 characters\n");
  const std::wstring tooLong = std::wstring(252, L'n') + L".txt";
  ASSERT_EQ(tooLong.size(), 256u);
  EXPECT_EQ(Read(tooLong.c_str()), "<nothing>");
  EXPECT_EQ(Read((tooLong + L"x").c_str()), "<nothing>");
  // Reading goes on after the refusal.
  EXPECT_EQ(Read(longest.c_str()), "255 characters\n");
}

INSTANTIATE_TEST_SUITE_P(All, ResourceSources,
                         ::testing::Values(SourceCase{"Folder", Source::Folder},
                                           SourceCase{"CachedZip", Source::CachedZip},
                                           SourceCase{"UncachedZip", Source::UncachedZip},
                                           SourceCase{"MemoryZip", Source::MemoryZip}),
                         [](const ::testing::TestParamInfo<SourceCase>& info) {
                           return info.param.name;
                         });

class ResourceReader : public test::SkinSettingsTest {};

TEST_F(ResourceReader, ModuleResourcesByIdAndByName) {
  CResourceBuffer buffer;
  ASSERT_TRUE(CResourceReader::Read(101u, L"PNG", buffer));
  EXPECT_EQ(AsString(buffer), test::FileBytes(test::CoreData(L"images\\rgba.png")));
  ASSERT_TRUE(CResourceReader::Read(L"FACE", L"PNG", buffer));
  EXPECT_EQ(AsString(buffer), test::FileBytes(test::CoreData(L"skin\\img\\Button.png")));
  EXPECT_FALSE(CResourceReader::Read(102u, L"PNG", buffer));
  EXPECT_FALSE(CResourceReader::Read(101u, L"JPG", buffer));
  // An id names no file or archive entry.
  EXPECT_FALSE(CResourceReader::Read(101u, nullptr, buffer));
  EXPECT_TRUE(buffer.IsEmpty());
}

TEST_F(ResourceReader, ATypeReadsTheModuleEvenWithAnArchiveSet) {
  CPaintManagerUI::SetResourcePath(test::CoreData().c_str());
  CPaintManagerUI::SetResourceZip(L"skin.zip", true);
  CResourceBuffer buffer;
  EXPECT_TRUE(CResourceReader::Read(101u, L"PNG", buffer));
}

TEST_F(ResourceReader, TheResourceModuleDefaultsToTheInstance) {
  EXPECT_EQ(CPaintManagerUI::GetResourceDll(), CPaintManagerUI::GetInstance());
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  CPaintManagerUI::SetResourceDll(kernel);
  EXPECT_EQ(CPaintManagerUI::GetResourceDll(), kernel);
  CResourceBuffer buffer;
  EXPECT_FALSE(CResourceReader::Read(101u, L"PNG", buffer));
}

TEST_F(ResourceReader, AZipResourceBecomesTheMemoryArchive) {
  CPaintManagerUI::SetResourceZip(1u);
  EXPECT_EQ(std::wstring(CPaintManagerUI::GetResourceZip()), L"membuffer");
  EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
  CResourceBuffer buffer;
  ASSERT_TRUE(CResourceReader::Read(L"readme.txt", nullptr, buffer));
  EXPECT_EQ(AsString(buffer), "not an image\n");
}

TEST_F(ResourceReader, AMissingZipResourceChangesNothing) {
  CPaintManagerUI::SetResourceZip(77u);
  EXPECT_TRUE(CPaintManagerUI::GetResourceZip().IsEmpty());
  EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
}

TEST_F(ResourceReader, OnlyTheFirstMemoryArchiveIsTaken) {
  const std::string first = test::FileBytes(test::CoreData(L"skin.zip"));
  const std::string second = test::FileBytes(test::CoreData(L"malformed\\bad-crc.zip"));
  CPaintManagerUI::SetResourceZip(first.data(), static_cast<unsigned>(first.size()));
  CPaintManagerUI::SetResourceZip(second.data(), static_cast<unsigned>(second.size()));
  CResourceBuffer buffer;
  // bk.png of the second archive fails its checksum; the first one's reads.
  EXPECT_TRUE(CResourceReader::Read(L"bk.png", nullptr, buffer));
  EXPECT_TRUE(CResourceReader::Read(L"readme.txt", nullptr, buffer));
}

TEST_F(ResourceReader, LeavingTheCachedArchiveClosesIt) {
  CPaintManagerUI::SetResourcePath(test::CoreData().c_str());
  CPaintManagerUI::SetResourceZip(L"skin.zip", true);
  ASSERT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);
  CPaintManagerUI::SetResourceZip(L"skin.zip", false);
  EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
  // Reads now open the archive for themselves.
  CResourceBuffer buffer;
  EXPECT_TRUE(CResourceReader::Read(L"readme.txt", nullptr, buffer));
  CPaintManagerUI::SetResourceZip(L"", false);
  EXPECT_FALSE(CResourceReader::Read(L"readme.txt", nullptr, buffer));
}

TEST_F(ResourceReader, AnArchiveThatCannotBeOpenedLeavesNoHandle) {
  CPaintManagerUI::SetResourcePath(test::CoreData().c_str());
  CPaintManagerUI::SetResourceZip(L"no-such.zip", true);
  EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
  CResourceBuffer buffer;
  EXPECT_FALSE(CResourceReader::Read(L"readme.txt", nullptr, buffer));
}

TEST(ZipArchive, ClosedOrEmptyArchivesReadNothing) {
  SkinUI::CZipArchive archive;
  CResourceBuffer buffer;
  EXPECT_FALSE(archive.ReadEntry(L"readme.txt", buffer));
  EXPECT_FALSE(archive.OpenMemory(nullptr, 10));
  EXPECT_FALSE(archive.OpenMemory("PK", 0));
  EXPECT_FALSE(archive.OpenFile(L""));
  EXPECT_FALSE(archive.IsOpen());
}

}  // namespace
