// Helpers shared by the markup parser's tests.
#pragma once

#include "toolkit/controls/Markup.h"

#include <string>

namespace test {

// A compact rendering of a node and its siblings, for comparing whole trees:
//   name{attr=value,...}"text"(children) sibling ...
// Attributes, text and children are left out when there are none.
std::wstring DumpTree(const SkinUI::CMarkupNode& node);

// The document's whole tree, or "<no root>".
std::wstring DumpDocument(SkinUI::CMarkup& markup);

std::wstring ErrorMessage(const SkinUI::CMarkup& markup);
std::wstring ErrorLocation(const SkinUI::CMarkup& markup);

// Bytes of a UTF-16 text, little- or big-endian, with its byte-order mark.
std::string Utf16Bytes(const std::wstring& text, bool bigEndian);

}  // namespace test
