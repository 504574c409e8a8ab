// Throughput of the UTF-8 / UTF-16 conversions against the platform's own
// converters on the same text: mixed ASCII, Chinese and emoji, as page
// titles and replies carry.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "util/TextUtil.h"

namespace {

std::wstring SampleText() {
  std::wstring text;
  const std::wstring piece = L"Talmic \x786E\x5B9A\x9000\x51FA \xD83D\xDE00 login.jhtml?x=1 ";
  while (text.size() < (1u << 20)) text += piece;
  return text;
}

template <typename Work>
double MegabytesPerSecond(size_t bytesPerRun, Work work) {
  using Clock = std::chrono::steady_clock;
  int runs = 0;
  const auto start = Clock::now();
  auto elapsed = Clock::duration::zero();
  do {
    work();
    ++runs;
    elapsed = Clock::now() - start;
  } while (elapsed < std::chrono::milliseconds(500));
  const double seconds = std::chrono::duration<double>(elapsed).count();
  return static_cast<double>(bytesPerRun) * runs / seconds / 1e6;
}

void Report(const char* name, double ours, const char* peer, double theirs) {
  std::printf("%s: %.1f MB/s (%s: %.1f MB/s, ratio %.2f)\n", name, ours, peer, theirs,
              ours / theirs);
}

}  // namespace

int main() {
  const std::wstring wide = SampleText();
  const std::string utf8 = WideToUtf8(wide);
  volatile size_t sink = 0;

  const double ourDecode =
      MegabytesPerSecond(utf8.size(), [&] { sink += Utf8ToWide(utf8).size(); });
  const double peerDecode = MegabytesPerSecond(utf8.size(), [&] {
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    sink += out.size();
  });
  Report("utf8_to_wide", ourDecode, "MultiByteToWideChar", peerDecode);

  const size_t wideBytes = wide.size() * sizeof(wchar_t);
  const double ourEncode = MegabytesPerSecond(wideBytes, [&] { sink += WideToUtf8(wide).size(); });
  const double peerEncode = MegabytesPerSecond(wideBytes, [&] {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                          nullptr, nullptr);
    sink += out.size();
  });
  Report("wide_to_utf8", ourEncode, "WideCharToMultiByte", peerEncode);
  return sink == 0 ? 1 : 0;
}
