// The skin parser against pugixml in its wide-character mode, both turning
// the same UTF-8 bytes into a tree, and against the UTF-8 to UTF-16
// conversion alone, which every parse of a skin file has to do first.  The
// documents are generated to look like our skin files: many attributes per
// element, image strings, entities and Chinese text.
//
// The program also counts the heap blocks one parse asks for.  It is linked
// with --wrap for malloc, calloc, realloc and free (see bench/CMakeLists.txt),
// so every call from our code, the C++ runtime's operator new and pugixml
// passes through the counters below.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "pugixml.hpp"
#include "toolkit/controls/Markup.h"

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void __real_free(void* block);

// Only the thread that measures counts; nothing else in the program runs
// while it does.
static long g_mallocs = 0;
static long g_reallocs = 0;

void* __wrap_malloc(size_t size) {
  ++g_mallocs;
  return __real_malloc(size);
}
void* __wrap_calloc(size_t count, size_t size) {
  ++g_mallocs;
  return __real_calloc(count, size);
}
void* __wrap_realloc(void* block, size_t size) {
  if (block == nullptr)
    ++g_mallocs;
  else
    ++g_reallocs;
  return __real_realloc(block, size);
}
void __wrap_free(void* block) { __real_free(block); }
}

namespace {

using Clock = std::chrono::steady_clock;

std::string Utf8(const std::wstring& text) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

// One window section of a skin: a title bar with an image, a label with
// entities and Chinese text, buttons with three image states each, and an
// element with text.  `n` keeps names unique.
std::wstring Section(int n) {
  const std::wstring id = std::to_wstring(n);
  std::wstring s;
  s += L"  <VerticalLayout name=\"panel_" + id +
       L"\" bkcolor=\"#FFF4F6F8\" inset=\"8,8,8,8\" childpadding=\"4\" vscrollbar=\"true\">\n";
  s += L"    <HorizontalLayout height=\"32\" bkimage=\"file='title_bar.png' source='0,0,120,32' "
       L"corner='6,6,6,6'\" padding=\"0,0,0,4\">\n";
  s += L"      <Label name=\"title_" + id +
       L"\" text=\"\x6B22\x8FCE\x4F7F\x7528 Talmic &amp; \x767B\x5F55 &lt;" + id +
       L"&gt;\" textcolor=\"#FF333333\" font=\"0\" align=\"left\" textpadding=\"4,0,0,0\" "
       L"endellipsis=\"true\" />\n";
  s += L"      <Button name=\"min_" + id +
       L"\" tooltip=\"\x6700\x5C0F\x5316\" width=\"26\" height=\"22\" "
       L"normalimage=\"file='sys_min.png' source='0,0,26,22'\" "
       L"hotimage=\"file='sys_min.png' source='26,0,52,22'\" "
       L"pushedimage=\"file='sys_min.png' source='52,0,78,22'\" />\n";
  s += L"      <Button name=\"close_" + id +
       L"\" tooltip=\"\x5173\x95ED\" width=\"26\" height=\"22\" "
       L"normalimage=\"file='sys_close.png' source='0,0,26,22' mask='#FFFF00FF'\" "
       L"hotimage=\"file='sys_close.png' source='26,0,52,22' mask='#FFFF00FF'\" "
       L"pushedimage=\"file='sys_close.png' source='52,0,78,22' mask='#FFFF00FF'\" />\n";
  s += L"    </HorizontalLayout>\n";
  s += L"    <Text name=\"notice_" + id +
       L"\" showhtml=\"true\">\x8BF7\x8F93\x5165\x60A8\x7684\x8D26\x53F7\x548C\x5BC6\x7801"
       L" &quot;Talmic&quot; &amp; &apos;\x5B89\x5168&apos; &lt;b&gt;\x767B\x5F55&lt;/b&gt;"
       L"</Text>\n";
  s += L"    <Edit name=\"account_" + id +
       L"\" height=\"30\" bordersize=\"1\" bordercolor=\"#FFD0D0D0\" focusbordercolor=\"#FF3080E0\""
       L" textpadding=\"6,4,6,4\" maxchar=\"64\" tipvalue=\"\x8D26\x53F7\" />\n";
  s += L"  </VerticalLayout>\n";
  return s;
}

// A document of about `bytes` UTF-8 bytes, never more.
std::string Document(size_t bytes) {
  const std::wstring head =
      L"<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\n"
      L"<!-- generated for the markup benchmark -->\n"
      L"<Window size=\"800,600\" caption=\"0,0,0,32\" roundcorner=\"4,4\" mininfo=\"400,300\" "
      L"sizebox=\"4,4,4,4\">\n"
      L"  <Font id=\"0\" name=\"\x5FAE\x8F6F\x96C5\x9ED1\" size=\"12\" bold=\"false\" "
      L"default=\"true\" />\n"
      L"  <Default name=\"Button\" value=\"textcolor=&quot;#FF000000&quot;\" />\n";
  const std::string tail = "</Window>\n";
  std::string document = Utf8(head);
  for (int n = 0;; ++n) {
    const std::string section = Utf8(Section(n));
    if (document.size() + section.size() + tail.size() > bytes) break;
    document += section;
  }
  return document + tail;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Runs the subjects in turns, one run each per round, for at least
// `rounds` rounds and about two seconds in all, and gives each subject's
// median MB of input per second.  Taking turns spreads whatever else the
// machine is doing over all subjects alike.
std::vector<double> MegabytesPerSecond(size_t bytesPerRun,
                                       const std::vector<std::function<void()>>& subjects) {
  std::vector<std::vector<double>> seconds(subjects.size());
  const auto start = Clock::now();
  for (int round = 0; round < 15 || Clock::now() - start < std::chrono::seconds(2); ++round) {
    for (size_t i = 0; i < subjects.size(); ++i) {
      const auto begin = Clock::now();
      subjects[i]();
      seconds[i].push_back(std::chrono::duration<double>(Clock::now() - begin).count());
    }
  }
  std::vector<double> figures;
  for (const std::vector<double>& runs : seconds)
    figures.push_back(static_cast<double>(bytesPerRun) / Median(runs) / 1e6);
  return figures;
}

// What a walk of a tree found: elements, and attributes with their values
// read once.
struct Tally {
  size_t elements = 0;
  size_t attributes = 0;
  bool operator==(const Tally& other) const {
    return elements == other.elements && attributes == other.attributes;
  }
};

void WalkOurs(SkinUI::CMarkupNode node, Tally& tally) {
  for (; node.IsValid(); node = node.GetSibling()) {
    ++tally.elements;
    const int attributes = node.GetAttributeCount();
    for (int i = 0; i < attributes; ++i) {
      if (node.GetAttributeValue(i) != nullptr) ++tally.attributes;
    }
    WalkOurs(node.GetChild(), tally);
  }
}

void WalkPeer(const pugi::xml_node& parent, Tally& tally) {
  for (pugi::xml_node node = parent.first_child(); node; node = node.next_sibling()) {
    if (node.type() != pugi::node_element) continue;
    ++tally.elements;
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
      if (a.value() != nullptr) ++tally.attributes;
    }
    WalkPeer(node, tally);
  }
}

void Report(const char* name, double ours, const char* peer, double theirs) {
  std::printf("%s: %.1f MB/s (%s: %.1f MB/s, ratio %.2f)\n", name, ours, peer, theirs,
              ours / theirs);
}

}  // namespace

int main() {
  struct Size {
    const char* label;
    size_t bytes;
  };
  // The largest stays within the parser's input limit.
  const Size sizes[] = {{"10kb", 10 * 1024}, {"1mb", 1024 * 1024}, {"4mb", 4 * 1024 * 1024}};
  std::vector<wchar_t> converted;
  volatile size_t sink = 0;
  int failures = 0;

  for (const Size& size : sizes) {
    const std::string bytes = Document(size.bytes);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());

    SkinUI::CMarkup ours;
    pugi::xml_document peer;
    // Both parsers must see the same tree, or the figures compare nothing.
    const bool oursLoaded = ours.LoadFromMem(data, bytes.size());
    const pugi::xml_parse_result peerResult =
        peer.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
    Tally ourTally, peerTally;
    if (oursLoaded) WalkOurs(ours.GetRoot(), ourTally);
    if (peerResult) WalkPeer(peer, peerTally);
    if (!oursLoaded || !peerResult || !(ourTally == peerTally)) {
      std::printf("markup_%s: the parsers disagree (%zu/%zu against %zu/%zu elements/attributes)\n",
                  size.label, ourTally.elements, ourTally.attributes, peerTally.elements,
                  peerTally.attributes);
      ++failures;
      continue;
    }

    // The conversion alone, as a parse needs it: into a fresh buffer of one
    // unit per byte, and into one that is already there.
    const auto conversion = [&] {
      wchar_t* units = static_cast<wchar_t*>(std::malloc((bytes.size() + 1) * sizeof(wchar_t)));
      sink += static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(),
                                                        static_cast<int>(bytes.size()), units,
                                                        static_cast<int>(bytes.size())));
      std::free(units);
    };
    converted.resize(bytes.size() + 1);
    const auto conversionInPlace = [&] {
      sink += static_cast<size_t>(
          ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                converted.data(), static_cast<int>(converted.size())));
    };
    const auto ourParse = [&] {
      ours.LoadFromMem(data, bytes.size());
      sink += ours.IsValid() ? 1 : 0;
    };
    const auto peerParse = [&] {
      peer.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
      sink += peer.first_child() ? 1 : 0;
    };
    // Parsing and then reading every attribute once, as the skin builder
    // does: both parsers record the attributes while they parse, so this
    // adds the cost of reaching them through each one's handles.
    const auto ourVisit = [&] {
      ours.LoadFromMem(data, bytes.size());
      Tally tally;
      WalkOurs(ours.GetRoot(), tally);
      sink += tally.attributes;
    };
    const auto peerVisit = [&] {
      peer.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
      Tally tally;
      WalkPeer(peer, tally);
      sink += tally.attributes;
    };
    const std::vector<double> mbps = MegabytesPerSecond(
        bytes.size(), {conversion, conversionInPlace, ourParse, peerParse, ourVisit, peerVisit});

    std::printf("markup_input_%s: %zu bytes, %zu elements, %zu attributes\n", size.label,
                bytes.size(), ourTally.elements, ourTally.attributes);
    std::string name = std::string("markup_parse_") + size.label;
    Report(name.c_str(), mbps[2], "pugixml wchar", mbps[3]);
    name = std::string("markup_parse_and_read_attributes_") + size.label;
    Report(name.c_str(), mbps[4], "pugixml wchar", mbps[5]);
    name = std::string("markup_parse_vs_conversion_") + size.label;
    Report(name.c_str(), mbps[2], "MultiByteToWideChar into a new buffer", mbps[0]);
    name = std::string("markup_parse_vs_conversion_in_place_") + size.label;
    Report(name.c_str(), mbps[2], "MultiByteToWideChar into a kept buffer", mbps[1]);

    // Heap blocks of one parse, counted from a released document.
    ours.Release();
    long mallocs = g_mallocs, reallocs = g_reallocs;
    ours.LoadFromMem(data, bytes.size());
    const long ourMallocs = g_mallocs - mallocs, ourReallocs = g_reallocs - reallocs;
    peer.reset();
    mallocs = g_mallocs;
    reallocs = g_reallocs;
    peer.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
    const long peerMallocs = g_mallocs - mallocs, peerReallocs = g_reallocs - reallocs;
    std::printf(
        "markup_allocations_%s: %ld blocks + %ld regrowths (pugixml wchar: %ld blocks + %ld "
        "regrowths)\n",
        size.label, ourMallocs, ourReallocs, peerMallocs, peerReallocs);
  }
  std::fflush(stdout);
  return failures != 0 || sink == 0 ? 1 : 0;
}
