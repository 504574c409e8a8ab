// Replays the marked-up texts kept under data/htmltext, each once found to
// break the layout (a crash, a hang, a coordinate overflow, time growing
// with the square of the text's length), in boxes from
// one pixel wide to roomy and with every kind of style: each must be laid
// out to the end, measure a sane size, record no more links than there is
// room for, draw only inside its box and make only a few fonts.

#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "tests/toolkit/controls/TextTestSupport.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/controls/SkinString.h"
#include "util/UniqueHandle.h"

namespace {

using SkinUI::CRenderEngine;
using SkinUI::CSkinString;

std::wstring DataFolder() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"TALMIC_HTML_TEXT_DATA", buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  std::wstring folder(buffer, length);
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring ReadUtf8File(const std::wstring& path) {
  CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::wstring();
  std::string bytes(static_cast<size_t>(::GetFileSize(file.Get(), nullptr)), '\0');
  DWORD read = 0;
  if (!bytes.empty()) {
    ::ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  }
  bytes.resize(read);
  const int units =
      ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(units), L'\0');
  if (units > 0) {
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                          units);
  }
  return text;
}

std::vector<std::wstring> KeptFiles(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found = {};
  CFindHandle find(::FindFirstFileW((folder + L"*.txt").c_str(), &found));
  if (!find) return names;
  do {
    names.push_back(found.cFileName);
  } while (::FindNextFileW(find.Get(), &found));
  return names;
}

class MalformedHtmlText : public test::HtmlTextTest {};

TEST_F(MalformedHtmlText, EveryKeptTextIsLaidOutSafely) {
  const std::wstring folder = DataFolder();
  ASSERT_FALSE(folder.empty()) << "TALMIC_HTML_TEXT_DATA is not set";
  const std::vector<std::wstring> files = KeptFiles(folder);
  ASSERT_GE(files.size(), 10u);
  const RECT boxes[] = {{0, 0, 1, 20}, {0, 0, 7, 200}, {3, 4, 80, 30}, {10, 10, 290, 190}};
  const UINT styles[] = {
      0,
      DT_WORDBREAK,
      DT_END_ELLIPSIS,
      DT_WORDBREAK | DT_END_ELLIPSIS | DT_RIGHT | DT_BOTTOM,
      DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS,
  };
  // The long texts (tens of thousands of tags, lines or characters, each
  // of which once cost a search, a measure or a copy of everything before
  // or after it, so that each took minutes) are laid out twice: in the
  // narrowest box, where they make the most lines, with the plainest
  // style, and in the roomy one with the busiest.
  constexpr size_t kLong = 16 * 1024;
  for (const std::wstring& name : files) {
    const std::wstring text = ReadUtf8File(folder + name);
    ASSERT_FALSE(text.empty()) << testing::PrintToString(name);
    for (const RECT& box : boxes) {
      const LONG width = box.right - box.left;
      if (text.size() > kLong && width != 1 && width != 280) continue;
      for (UINT style : styles) {
        if (text.size() > kLong && style != (width == 1 ? styles[0] : styles[3])) continue;
        const std::string where =
            testing::PrintToString(name) + " in " + std::to_string(box.right - box.left) + " x " +
            std::to_string(box.bottom - box.top) + ", style " + std::to_string(style);
        RECT rects[3] = {};
        CSkinString targets[3];

        test::RenderCanvas canvas(300, 200);
        RECT measured = box;
        int count = 3;
        CRenderEngine::DrawHtmlText(canvas.Dc(), &manager, measured, text.c_str(), test::kBlack,
                                    rects, targets, count, style | DT_CALCRECT);
        EXPECT_EQ(measured.left, box.left) << where;
        EXPECT_EQ(measured.top, box.top) << where;
        EXPECT_LE(measured.right, box.right) << where;
        EXPECT_GE(measured.right, box.left) << where;
        EXPECT_GE(measured.bottom, box.top) << where;
        EXPECT_GE(count, 0) << where;
        EXPECT_LE(count, 3) << where;

        RECT drawn = box;
        count = 3;
        CRenderEngine::DrawHtmlText(canvas.Dc(), &manager, drawn, text.c_str(), test::kBlack, rects,
                                    targets, count, style);
        EXPECT_EQ(drawn.right, box.right) << where;
        EXPECT_EQ(drawn.bottom, box.bottom) << where;
        EXPECT_LE(count, 3) << where;
        const RECT ink = test::InkBounds(canvas);
        if (!test::IsEmpty(ink)) {
          EXPECT_GE(ink.left, box.left) << where;
          EXPECT_GE(ink.top, box.top) << where;
          EXPECT_LE(ink.right, box.right) << where;
          EXPECT_LE(ink.bottom, box.bottom) << where;
        }
      }
    }
  }
  // Fonts a text names are made in the window's manager and stay there;
  // texts naming thousands make no more than a window could want.
  EXPECT_LE(manager.GetCustomFontCount(), 256u);
}

}  // namespace
