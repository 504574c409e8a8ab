// Checks the shipped Talmic.exe itself: what the system reads from its
// resources and what it needs in order to start on a bare Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"

namespace {

std::wstring ProgramPath() { return test::InDist(L"Talmic.exe"); }

TEST(ShippedProgram, VersionResourceSaysProductVersion1000) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(ProgramPath().c_str(), &ignored);
  ASSERT_NE(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(::GetFileVersionInfoW(ProgramPath().c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length));
  EXPECT_EQ(info->dwProductVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(info->dwProductVersionLS, 0u);
  EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(ShippedProgram, HasIcon101AndAManifestAskingForHighestAvailable) {
  HMODULE module = ::LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(::FindResourceW(module, MAKEINTRESOURCEW(101), RT_GROUP_ICON), nullptr);

  HRSRC manifest = ::FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  const char* text = static_cast<const char*>(::LockResource(::LoadResource(module, manifest)));
  const std::string xml(text, ::SizeofResource(module, manifest));
  EXPECT_NE(xml.find("level=\"highestAvailable\""), std::string::npos);
  EXPECT_NE(xml.find(">true</dpiAware>"), std::string::npos);
  EXPECT_NE(xml.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  ::FreeLibrary(module);
}

// The DLLs a PE32 image imports, read from its import directory.
struct PeFacts {
  WORD machine = 0;
  WORD subsystem = 0;
  std::vector<std::string> imports;
};

PeFacts ReadPe(const std::string& image) {
  PeFacts facts;
  if (image.size() < sizeof(IMAGE_DOS_HEADER)) return facts;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
  if (dos->e_magic != IMAGE_DOS_SIGNATURE ||
      static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > image.size()) {
    return facts;
  }
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return facts;
  facts.machine = nt->FileHeader.Machine;
  facts.subsystem = nt->OptionalHeader.Subsystem;

  const auto* sections = IMAGE_FIRST_SECTION(nt);
  auto offsetOf = [&](DWORD rva) -> size_t {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const IMAGE_SECTION_HEADER& s = sections[i];
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData) {
        return rva - s.VirtualAddress + s.PointerToRawData;
      }
    }
    return 0;
  };
  const DWORD importRva =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (size_t at = offsetOf(importRva);
       at != 0 && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size();
       at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + at);
    if (descriptor->Name == 0) break;
    const size_t name = offsetOf(descriptor->Name);
    if (name == 0) break;
    std::string dll(image.c_str() + name);
    std::transform(dll.begin(), dll.end(), dll.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    facts.imports.push_back(dll);
  }
  return facts;
}

TEST(ShippedProgram, IsA32BitGuiProgramNeedingOnlySystemDlls) {
  const PeFacts facts = ReadPe(test::ReadFileBytes(ProgramPath()));
  EXPECT_EQ(facts.machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(facts.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  ASSERT_FALSE(facts.imports.empty());
  for (const std::string& dll : facts.imports) {
    SCOPED_TRACE(dll);
    EXPECT_EQ(dll.find("libstdc++"), std::string::npos);
    EXPECT_EQ(dll.find("libgcc"), std::string::npos);
    EXPECT_EQ(dll.find("libwinpthread"), std::string::npos);
  }
}

// Every DLL the program imports is loaded before its first line runs, and
// the browser program is launched only from there.  The common controls,
// GDI+, the shell and the like take tens of milliseconds to load under
// Wine, so they are loaded on their first use instead; only DLLs that cost
// next to nothing, or that the crash filter needs, are imported.
TEST(ShippedProgram, ImportsOnlyTheDllsItNeedsBeforeItsFirstLine) {
  const PeFacts facts = ReadPe(test::ReadFileBytes(ProgramPath()));
  ASSERT_FALSE(facts.imports.empty());
  const std::vector<std::string> cheap = {"kernel32.dll", "msvcrt.dll", "user32.dll",
                                          "gdi32.dll",    "imm32.dll",  "msimg32.dll",
                                          "version.dll",  "dbghelp.dll"};
  for (const std::string& dll : facts.imports) {
    EXPECT_NE(std::find(cheap.begin(), cheap.end(), dll), cheap.end())
        << dll << " is loaded before the program's first line";
  }
}

}  // namespace
