#include "src/Base64.h"

namespace engine {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// What each character stands for: its six bits, or one of the marks below
// (all with the high bit set, so that one test finds any of them).
constexpr unsigned char kInvalid = 0x80;
constexpr unsigned char kSpace = 0x81;
constexpr unsigned char kPad = 0x82;

struct DecodeTable {
  unsigned char value[256];
  constexpr DecodeTable() : value() {
    for (int c = 0; c < 256; ++c) value[c] = kInvalid;
    for (int i = 0; i < 64; ++i) {
      value[static_cast<unsigned char>(kAlphabet[i])] = static_cast<unsigned char>(i);
    }
    value[static_cast<unsigned char>(' ')] = kSpace;
    value[static_cast<unsigned char>('\r')] = kSpace;
    value[static_cast<unsigned char>('\n')] = kSpace;
    value[static_cast<unsigned char>('\t')] = kSpace;
    value[static_cast<unsigned char>('=')] = kPad;
  }
};

constexpr DecodeTable kDecode;

}  // namespace

std::string EncodeBase64(const std::string& bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned int group = (static_cast<unsigned char>(bytes[i]) << 16) |
                               (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                               static_cast<unsigned char>(bytes[i + 2]);
    text += kAlphabet[(group >> 18) & 63];
    text += kAlphabet[(group >> 12) & 63];
    text += kAlphabet[(group >> 6) & 63];
    text += kAlphabet[group & 63];
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned int group = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    text += kAlphabet[(group >> 18) & 63];
    text += kAlphabet[(group >> 12) & 63];
    text += rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    text += '=';
  }
  return text;
}

bool DecodeBase64(const std::string& text, std::string& bytes) {
  return DecodeBase64(text.data(), text.size(), bytes);
}

bool DecodeBase64(const char* text, size_t size, std::string& bytes) {
  // The output is written through a pointer into room made once: a
  // picture's text is a megabyte or more, and appending byte by byte cost
  // more than the rest of the decoding.
  bytes.resize(size / 4 * 3 + 3);
  unsigned char* out = reinterpret_cast<unsigned char*>(&bytes[0]);
  const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* const end = in + size;
  // Whole groups of four alphabet characters, as nearly all of the text
  // is; the first group with anything else goes to the careful loop below.
  while (end - in >= 4) {
    const unsigned int a = kDecode.value[in[0]];
    const unsigned int b = kDecode.value[in[1]];
    const unsigned int c = kDecode.value[in[2]];
    const unsigned int d = kDecode.value[in[3]];
    if (((a | b | c | d) & 0x80) != 0) break;
    const unsigned int group = (a << 18) | (b << 12) | (c << 6) | d;
    out[0] = static_cast<unsigned char>(group >> 16);
    out[1] = static_cast<unsigned char>(group >> 8);
    out[2] = static_cast<unsigned char>(group);
    in += 4;
    out += 3;
  }
  unsigned int accumulator = 0;
  int bits = 0;
  bool padding = false;
  for (; in < end; ++in) {
    const unsigned char value = kDecode.value[*in];
    if (value == kPad) {
      padding = true;
      continue;
    }
    if (value == kSpace) continue;
    if (value == kInvalid || padding) {
      bytes.clear();
      return false;
    }
    accumulator = (accumulator << 6) | value;
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      *out++ = static_cast<unsigned char>((accumulator >> bits) & 0xFF);
    }
  }
  bytes.resize(static_cast<size_t>(out - reinterpret_cast<unsigned char*>(&bytes[0])));
  return true;
}

}  // namespace engine
