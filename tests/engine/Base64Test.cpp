// Base64 as the browser program sends pictures and bodies in it.
#include "src/Base64.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every length round trips, so that each way a text can end (two, one or
// no padding characters, and without them) and each place the decoder's
// group-at-a-time loop can hand over to its careful one are taken.
TEST(Base64, EveryLengthRoundTripsWithAndWithoutPadding) {
  std::string bytes;
  for (int length = 0; length <= 40; ++length) {
    SCOPED_TRACE(length);
    const std::string text = engine::EncodeBase64(bytes);
    std::string decoded = "left over";
    ASSERT_TRUE(engine::DecodeBase64(text, decoded));
    EXPECT_EQ(decoded, bytes);
    std::string unpadded = text;
    while (!unpadded.empty() && unpadded.back() == '=') unpadded.pop_back();
    ASSERT_TRUE(engine::DecodeBase64(unpadded.data(), unpadded.size(), decoded));
    EXPECT_EQ(decoded, bytes);
    bytes.push_back(static_cast<char>(length * 37 + 250));
  }
}

TEST(Base64, TextsDecodeOrAreRefused) {
  struct Case {
    std::string text;
    bool valid;
    std::string bytes;
  };
  const Case cases[] = {
      {"", true, ""},
      {"TWFu", true, "Man"},
      {"TWE=", true, "Ma"},
      {"TQ==", true, "M"},
      {"TQ", true, "M"},
      // Whitespace anywhere is ignored, also inside the first groups,
      // which the fast loop hands to the careful one.
      {" TWFu\r\nTWFu\tTQ==\n", true, "ManManM"},
      {"TWFuTWFu TWFu", true, "ManManMan"},
      {"TWFuTWFuTWFuTWFu\nTWFu", true, "ManManManManMan"},
      {"TQ== ", true, "M"},
      {"TQ=\n=", true, "M"},
      // Characters outside the alphabet, early, late and in a group's
      // middle.
      {"TW-u", false, ""},
      {"TWFuTWFuTWFuTW_u", false, ""},
      {"TWFu\x80TWFu", false, ""},
      {"TQ==TWFu", false, ""},
      {"TQ==T", false, ""},
      {std::string("TW\0u", 4), false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string bytes;
    EXPECT_EQ(engine::DecodeBase64(c.text, bytes), c.valid);
    if (c.valid) {
      EXPECT_EQ(bytes, c.bytes);
    }
  }
}

}  // namespace
