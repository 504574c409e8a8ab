#include "MarkupTestSupport.h"

namespace test {

std::wstring DumpTree(const SkinUI::CMarkupNode& first) {
  std::wstring dump;
  for (SkinUI::CMarkupNode node = first; node.IsValid(); node = node.GetSibling()) {
    if (!dump.empty()) dump += L' ';
    dump += node.GetName();
    if (node.HasAttributes()) {
      dump += L'{';
      for (int i = 0; i < node.GetAttributeCount(); ++i) {
        if (i > 0) dump += L',';
        dump += node.GetAttributeName(i);
        dump += L'=';
        dump += node.GetAttributeValue(i);
      }
      dump += L'}';
    }
    const std::wstring value = node.GetValue();
    if (!value.empty()) dump += L'"' + value + L'"';
    if (node.HasChildren()) dump += L'(' + DumpTree(node.GetChild()) + L')';
  }
  return dump;
}

std::wstring DumpDocument(SkinUI::CMarkup& markup) {
  const SkinUI::CMarkupNode root = markup.GetRoot();
  return root.IsValid() ? DumpTree(root) : L"<no root>";
}

std::wstring ErrorMessage(const SkinUI::CMarkup& markup) {
  wchar_t buffer[SkinUI::CMarkup::kErrorMessageUnits + 20];
  markup.GetLastErrorMessage(buffer, sizeof(buffer) / sizeof(buffer[0]));
  return buffer;
}

std::wstring ErrorLocation(const SkinUI::CMarkup& markup) {
  wchar_t buffer[SkinUI::CMarkup::kErrorLocationUnits + 20];
  markup.GetLastErrorLocation(buffer, sizeof(buffer) / sizeof(buffer[0]));
  return buffer;
}

std::string Utf16Bytes(const std::wstring& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (wchar_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>((unit >> 8) & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

}  // namespace test
