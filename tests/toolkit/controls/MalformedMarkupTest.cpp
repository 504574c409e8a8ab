// Replays the malformed skin files kept under data/markup: each must fail to
// load with the message and location its line in expected.tsv gives.
#include "toolkit/controls/Markup.h"

#include "MarkupTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::wstring DataFolder() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"TALMIC_MARKUP_DATA", buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  std::wstring folder(buffer, length);
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring FromUtf8(const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  const int units = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                          static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(units), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                        &text[0], units);
  return text;
}

std::wstring Unescape(const std::wstring& text) {
  std::wstring plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\' || i + 1 == text.size()) {
      plain += text[i];
      continue;
    }
    const wchar_t next = text[++i];
    plain += next == L'r' ? L'\r' : next == L'n' ? L'\n' : next == L't' ? L'\t' : next;
  }
  return plain;
}

struct MalformedCase {
  std::wstring file;
  std::wstring message;
  std::wstring location;
};

std::vector<MalformedCase> ReadCases(const std::wstring& manifest) {
  std::vector<MalformedCase> cases;
  const std::wstring text = FromUtf8(test::ReadFileBytes(manifest));
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty() || line[0] == L'#') continue;
    const size_t firstTab = line.find(L'\t');
    const size_t secondTab = line.find(L'\t', firstTab + 1);
    if (firstTab == std::wstring::npos || secondTab == std::wstring::npos) {
      ADD_FAILURE() << "bad manifest line: " << testing::PrintToString(line);
      continue;
    }
    cases.push_back({line.substr(0, firstTab),
                     Unescape(line.substr(firstTab + 1, secondTab - firstTab - 1)),
                     Unescape(line.substr(secondTab + 1))});
  }
  return cases;
}

TEST(MalformedMarkup, EveryKeptFileFailsWithItsMessageAndLocation) {
  const std::wstring folder = DataFolder();
  ASSERT_FALSE(folder.empty()) << "TALMIC_MARKUP_DATA is not set";
  const std::vector<MalformedCase> cases = ReadCases(folder + L"expected.tsv");
  ASSERT_FALSE(cases.empty());

  std::set<std::wstring> listed;
  for (const MalformedCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.file));
    listed.insert(c.file);
    const std::string bytes = test::ReadFileBytes(folder + c.file);
    ASSERT_FALSE(bytes.empty());
    SkinUI::CMarkup markup;
    EXPECT_FALSE(markup.LoadFromMem(reinterpret_cast<const unsigned char*>(bytes.data()),
                                    bytes.size(), SkinUI::MarkupEncoding::Utf8));
    EXPECT_EQ(c.message, test::ErrorMessage(markup));
    EXPECT_EQ(c.location, test::ErrorLocation(markup));
    EXPECT_FALSE(markup.IsValid());
  }
  // A file added to the folder without a line would never be replayed.
  for (const std::wstring& name : test::ListFolder(folder)) {
    if (name != L"expected.tsv") {
      EXPECT_EQ(1u, listed.count(name)) << "not listed: " << testing::PrintToString(name);
    }
  }
}

}  // namespace
