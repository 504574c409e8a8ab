// Drawing figures of the render engine, each beside the plain GDI call that
// is its floor: a nine-grid image with corners over a full-HD area against
// one AlphaBlend (or one stretch, for an opaque image) of the same area,
// and a paragraph of text markup against the same words drawn by DrawTextW.
// Then the time to measure hostile markup of 100 KB and 1 MB (one endless
// run, unclosed tags, raw text never closed), which must grow with the
// length of the text, not with its square.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/controls/ImageAttribute.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace {

using Clock = std::chrono::steady_clock;
using SkinUI::CRenderEngine;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Runs the subjects in turns, one run each per round, for at least 15
// rounds and about `seconds` in all, and gives each subject's median time
// per run in seconds.  Taking turns spreads whatever else the machine is
// doing over all subjects alike.
std::vector<double> MedianSeconds(const std::vector<std::function<void()>>& subjects,
                                  double seconds) {
  std::vector<std::vector<double>> runs(subjects.size());
  const auto start = Clock::now();
  for (int round = 0;
       round < 15 || std::chrono::duration<double>(Clock::now() - start).count() < seconds;
       ++round) {
    for (size_t i = 0; i < subjects.size(); ++i) {
      const auto begin = Clock::now();
      subjects[i]();
      runs[i].push_back(std::chrono::duration<double>(Clock::now() - begin).count());
    }
  }
  std::vector<double> medians;
  for (const std::vector<double>& times : runs) medians.push_back(Median(times));
  return medians;
}

// A 32-bit top-down DIB section in a memory DC, as windows paint into.
class Canvas {
 public:
  Canvas(int width, int height)
      : m_dc(::CreateCompatibleDC(nullptr)),
        m_bitmap(CRenderEngine::CreateBitmap(nullptr, width, height, &m_bits)),
        m_selected(m_dc.Get(), static_cast<HBITMAP>(m_bitmap.Get())) {}
  HDC Dc() const { return m_dc.Get(); }
  bool IsValid() const { return m_dc && m_bitmap && m_bits != nullptr; }

 private:
  DWORD* m_bits = nullptr;
  CMemoryDc m_dc;
  CGdiObject m_bitmap;
  CSelectObject m_selected;
};

// A premultiplied 64 x 64 panel image: a darker eight-pixel frame round a
// half-transparent middle, the kind of image skins stretch over windows.
HBITMAP PanelBitmap(bool alpha) {
  DWORD* bits = nullptr;
  HBITMAP bitmap = CRenderEngine::CreateBitmap(nullptr, 64, 64, &bits);
  if (bitmap == nullptr) return nullptr;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const bool frame = x < 8 || y < 8 || x >= 56 || y >= 56;
      const int a = !alpha ? 255 : frame ? 255 : 160;
      const int r = (frame ? 40 : 220) * a / 255;
      const int g = (frame ? 80 : 230) * a / 255;
      const int b = (frame ? 160 : 240) * a / 255;
      bits[y * 64 + x] = static_cast<DWORD>(a << 24 | r << 16 | g << 8 | b);
    }
  }
  ::GdiFlush();
  return bitmap;
}

void ReportRate(const char* name, double ours, const char* unit, const char* peer, double theirs) {
  std::printf("%s: %.1f %s (%s: %.1f %s, ratio %.2f)\n", name, ours, unit, peer, theirs, unit,
              ours / theirs);
}

int NineGrid() {
  Canvas canvas(kWidth, kHeight);
  if (!canvas.IsValid()) return 1;
  const RECT area = {0, 0, kWidth, kHeight};
  const double megapixels = kWidth * kHeight / 1e6;

  SkinUI::CPaintManagerUI manager;
  CGdiObject alphaPanel(PanelBitmap(true));
  CGdiObject opaquePanel(PanelBitmap(false));
  HBITMAP alphaBitmap = static_cast<HBITMAP>(alphaPanel.Get());
  HBITMAP opaqueBitmap = static_cast<HBITMAP>(opaquePanel.Get());
  // The manager's image table owns what it is given; it gets bitmaps of
  // its own.
  manager.AddImage(L"panel_alpha.png", PanelBitmap(true), 64, 64, true);
  manager.AddImage(L"panel_opaque.png", PanelBitmap(false), 64, 64, false);
  SkinUI::CImageAttribute alphaImage;
  alphaImage.SetAttributeString(L"file='panel_alpha.png' corner='8,8,8,8'");
  SkinUI::CImageAttribute opaqueImage;
  opaqueImage.SetAttributeString(L"file='panel_opaque.png' corner='8,8,8,8'");
  if (!alphaImage.LoadImageW(&manager) || !opaqueImage.LoadImageW(&manager)) {
    std::printf("draw_nine_grid: the images did not load\n");
    return 1;
  }

  CMemoryDc source(::CreateCompatibleDC(canvas.Dc()));
  const auto plainBlend = [&] {
    CSelectObject selected(source.Get(), alphaBitmap);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(canvas.Dc(), 0, 0, kWidth, kHeight, source.Get(), 0, 0, 64, 64, blend);
    ::GdiFlush();
  };
  // Every drawing must have drawn, or the figures measure nothing.
  bool drawn = true;
  const auto nineGridBlend = [&] {
    drawn &= CRenderEngine::DrawImage(canvas.Dc(), &manager, area, area, alphaImage);
    ::GdiFlush();
  };
  // An opaque image is stretched with half-toning, as the engine does.
  const auto plainStretch = [&] {
    CSelectObject selected(source.Get(), opaqueBitmap);
    const int previous = ::SetStretchBltMode(canvas.Dc(), HALFTONE);
    ::SetBrushOrgEx(canvas.Dc(), 0, 0, nullptr);
    ::StretchBlt(canvas.Dc(), 0, 0, kWidth, kHeight, source.Get(), 0, 0, 64, 64, SRCCOPY);
    ::SetStretchBltMode(canvas.Dc(), previous);
    ::GdiFlush();
  };
  const auto nineGridStretch = [&] {
    drawn &= CRenderEngine::DrawImage(canvas.Dc(), &manager, area, area, opaqueImage);
    ::GdiFlush();
  };
  const std::vector<double> seconds =
      MedianSeconds({plainBlend, nineGridBlend, plainStretch, nineGridStretch}, 4.0);
  if (!drawn) {
    std::printf("draw_nine_grid: the render engine drew nothing\n");
    return 1;
  }
  ReportRate("draw_nine_grid_alpha_1920x1080", megapixels / seconds[1], "Mpx/s",
             "AlphaBlend of the area", megapixels / seconds[0]);
  ReportRate("draw_nine_grid_opaque_1920x1080", megapixels / seconds[3], "Mpx/s",
             "half-tone StretchBlt of the area", megapixels / seconds[2]);
  return 0;
}

int HtmlText() {
  constexpr int kTextWidth = 600;
  Canvas canvas(kTextWidth, 2000);
  if (!canvas.IsValid()) return 1;
  SkinUI::CPaintManagerUI manager;
  manager.SetDefaultFont(L"Tahoma", 16, false, false, false);
  manager.AddFont(L"Tahoma", 20, true, false, false);

  // A paragraph as an about box or a notice would carry: bold, colours, a
  // second font, a link and Chinese text, wrapped over many lines.
  std::wstring markup;
  std::wstring plain;
  for (int i = 0; i < 8; ++i) {
    markup +=
        L"<b>Talmic</b> \x6B22\x8FCE\x4F7F\x7528\xFF0C<c #FF2050A0>\x8BF7\x8F93\x5165"
        L"\x60A8\x7684\x8D26\x53F7</c> and <i>read</i> the <f 0>notice</f> at "
        L"<a https://example.test/notice>\x8FD9\x91CC</a> before you sign in. ";
    plain +=
        L"Talmic \x6B22\x8FCE\x4F7F\x7528\xFF0C\x8BF7\x8F93\x5165\x60A8\x7684\x8D26\x53F7"
        L" and read the notice at \x8FD9\x91CC before you sign in. ";
  }
  const UINT style = DT_WORDBREAK;

  // How many lines each drawing makes, from the height the text needs.
  RECT measured = {0, 0, kTextWidth, 2000};
  int links = 0;
  CRenderEngine::DrawHtmlText(canvas.Dc(), &manager, measured, markup.c_str(), 0xFF000000, nullptr,
                              nullptr, links, style | DT_CALCRECT);
  HFONT font = manager.GetDefaultFontInfo()->hFont;
  CSelectObject selectedFont(canvas.Dc(), font);
  TEXTMETRICW metrics = {};
  ::GetTextMetricsW(canvas.Dc(), &metrics);
  const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  RECT plainMeasured = {0, 0, kTextWidth, 2000};
  ::DrawTextW(canvas.Dc(), plain.c_str(), -1, &plainMeasured, style | DT_CALCRECT);
  const int markupLines =
      std::max(1, static_cast<int>((measured.bottom - measured.top) / std::max(1, lineHeight)));
  const int plainLines = std::max(
      1, static_cast<int>((plainMeasured.bottom - plainMeasured.top) / std::max(1, lineHeight)));

  const auto drawMarkup = [&] {
    RECT rc = {0, 0, kTextWidth, 2000};
    int count = 0;
    CRenderEngine::DrawHtmlText(canvas.Dc(), &manager, rc, markup.c_str(), 0xFF000000, nullptr,
                                nullptr, count, style);
    ::GdiFlush();
  };
  const auto drawPlain = [&] {
    RECT rc = {0, 0, kTextWidth, 2000};
    ::SetBkMode(canvas.Dc(), TRANSPARENT);
    ::DrawTextW(canvas.Dc(), plain.c_str(), -1, &rc, style);
    ::GdiFlush();
  };
  const std::vector<double> seconds = MedianSeconds({drawPlain, drawMarkup}, 3.0);
  std::printf("draw_html_text_paragraph: %d lines of markup, %d lines of plain text, %d px wide\n",
              markupLines, plainLines, kTextWidth);
  ReportRate("draw_html_text", markupLines / seconds[1], "lines/s", "DrawTextW of the words",
             plainLines / seconds[0]);
  return 0;
}

// Hostile markup of `units` characters built by repeating `piece`.
std::wstring Repeated(const wchar_t* piece, const wchar_t* prefix, size_t units) {
  std::wstring text = prefix;
  const size_t length = std::wcslen(piece);
  while (text.size() + length <= units) text += piece;
  return text;
}

int HostileMarkup() {
  Canvas canvas(300, 200);
  if (!canvas.IsValid()) return 1;
  SkinUI::CPaintManagerUI manager;
  struct Case {
    const char* name;
    const wchar_t* prefix;
    const wchar_t* piece;
  };
  const Case cases[] = {
      {"one_run", L"", L"abcdefghij klmnopqrstuvwxyz, "},
      {"unclosed_link_openers", L"", L"<a x"},
      {"unclosed_bold", L"", L"<b>x"},
      {"unclosed_colour", L"", L"<c #FF0000>xy "},
      {"raw_never_closed", L"<r>", L"text <b> {c} "},
  };
  for (const Case& c : cases) {
    for (size_t units : {size_t{100} * 1024, size_t{1024} * 1024}) {
      const std::wstring text = Repeated(c.piece, c.prefix, units);
      RECT rc = {0, 0, 300, 200};
      int links = 0;
      const auto begin = Clock::now();
      CRenderEngine::DrawHtmlText(canvas.Dc(), &manager, rc, text.c_str(), 0xFF000000, nullptr,
                                  nullptr, links, DT_WORDBREAK | DT_CALCRECT);
      const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
      std::printf("measure_html_text_%s_%zuKB: %.3f s (%ld px high)\n", c.name, units / 1024,
                  seconds, static_cast<long>(rc.bottom));
      std::fflush(stdout);
    }
  }
  return 0;
}

}  // namespace

int main() {
  int failures = NineGrid();
  failures += HtmlText();
  failures += HostileMarkup();
  std::fflush(stdout);
  return failures;
}
