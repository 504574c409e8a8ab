// Standard base64, as the DevTools protocol carries binary data.
#pragma once

#include <cstddef>
#include <string>

namespace engine {

std::string EncodeBase64(const std::string& bytes);
// Padding is optional and whitespace is ignored; false on any other
// character outside the alphabet, or on data after the padding.
bool DecodeBase64(const std::string& text, std::string& bytes);
// The same for text held elsewhere (inside a parsed message, say), so that
// a picture's megabyte of text need not be copied first.
bool DecodeBase64(const char* text, size_t size, std::string& bytes);

}  // namespace engine
