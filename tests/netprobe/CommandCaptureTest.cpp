#include "netprobe/CommandCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "netprobe/Gateway.h"
#include "tests/netprobe/ConsoleStandIns.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr size_t kRoom = kCaptureBufferSize - 1;

// A capture buffer as callers hand it over: zero-filled, then holding text
// (up to all 8192 bytes, in which case it has no terminator).
struct CaptureBuffer {
  explicit CaptureBuffer(const std::string& text = std::string()) {
    std::memcpy(bytes, text.data(), std::min(text.size(), kCaptureBufferSize));
  }
  std::string Text() const { return std::string(bytes, ::strnlen(bytes, kCaptureBufferSize)); }
  bool operator==(const CaptureBuffer& other) const {
    return std::memcmp(bytes, other.bytes, kCaptureBufferSize) == 0;
  }
  char bytes[kCaptureBufferSize] = {};
};

// Numbered lines of 80 characters, cut to size, so that a piece put in the
// wrong place shows.
std::string NumberedLines(size_t size) {
  std::string text;
  for (int line = 0; text.size() < size; ++line) {
    char head[16];
    std::snprintf(head, sizeof(head), "line %05d ", line);
    text += head;
    text += std::string(79 - std::strlen(head), static_cast<char>('a' + line % 26));
    text += '\n';
  }
  return text.substr(0, size);
}

TEST(RunCommandCapture, AppendsTheOutputUpToTheBufferEnd) {
  const std::string lines = std::string(126, 'a') + "\n" + std::string(127, 'b') + "\n" +
                            std::string(128, 'c') + "\n" + std::string(254, 'd') + "\n" +
                            std::string(255, 'e') + "\n" + std::string(600, 'f') + "\n";
  const std::string full = NumberedLines(kRoom);
  const std::string large = NumberedLines(300000);
  struct Case {
    const char* what;
    std::string before;  // the buffer's text before the command
    std::string output;  // what the command prints
    std::string after;   // the buffer's bytes afterwards, up to the zero fill
  };
  const Case cases[] = {
      {"nothing printed", "", "", ""},
      {"short lines", "", "one\ntwo\n", "one\ntwo\n"},
      {"lines around the 127-character read", "", lines, lines},
      {"last line without a line end", "", "first\nlast", "first\nlast"},
      {"appended to the text already there", "before\n", "after\n", "before\nafter\n"},
      {"exactly the buffer's room", "", full, full},
      {"one character too many", "", full + "z", full},
      {"far more than the buffer", "", large, large.substr(0, kRoom)},
      {"buffer one short of full", std::string(kRoom - 1, 'x'), "abc\n",
       std::string(kRoom - 1, 'x') + "a"},
      {"buffer already full", std::string(kRoom, 'x'), "abc\n", std::string(kRoom, 'x')},
      {"buffer without a terminator", std::string(kCaptureBufferSize, 'x'), "abc\n",
       std::string(kCaptureBufferSize, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const test::ConsoleStandIns standIns;
    ASSERT_TRUE(standIns.Add(L"talmic-recorded", c.output));
    CaptureBuffer buffer(c.before);

    EXPECT_EQ(RunCommandCapture("talmic-recorded", buffer.bytes), 1);

    EXPECT_TRUE(standIns.ArgumentsOf(L"talmic-recorded").has_value()) << "the stand-in never ran";
    EXPECT_EQ(buffer.Text().size(), std::min(c.after.size(), kCaptureBufferSize));
    EXPECT_TRUE(buffer == CaptureBuffer(c.after)) << "captured: " << buffer.Text().substr(0, 300);
  }
}

TEST(RunCommandCapture, ACommandThatStartsAndFailsStillSucceeds) {
  struct Case {
    const char* command;
    std::string captured;  // the buffer's text afterwards, or a part of it
    bool whole;
  };
  const Case cases[] = {
      {"echo failing& exit /b 3", "kept\nfailing\n", true},
      // The interpreter complains about a missing program on its error
      // output, which is not captured.
      {"talmic-no-such-program", "kept\n", true},
      {"talmic-no-such-program 2>&1", "talmic-no-such-program", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    CaptureBuffer buffer("kept\n");
    EXPECT_EQ(RunCommandCapture(c.command, buffer.bytes), 1);
    if (c.whole) {
      EXPECT_EQ(buffer.Text(), c.captured);
    } else {
      EXPECT_EQ(buffer.Text().rfind("kept\n", 0), 0u) << buffer.Text();
      EXPECT_NE(buffer.Text().find(c.captured), std::string::npos) << buffer.Text();
    }
  }
}

// _popen starts the interpreter COMSPEC names.  Wine's C runtime gives up
// when that fails; Microsoft's then looks for cmd.exe along PATH, so PATH
// leads nowhere either.
TEST(RunCommandCapture, ACommandThatCannotStartLeavesTheBufferAlone) {
  const test::TempFolder empty;
  const test::ScopedEnvironmentVariable comspec(L"COMSPEC", empty / L"cmd.exe");
  const test::ScopedEnvironmentVariable path(L"PATH", empty.Path());

  CaptureBuffer buffer("kept\n");
  std::memset(buffer.bytes + 6, 'Z', 100);  // bytes past the terminator
  const CaptureBuffer before = buffer;
  EXPECT_EQ(RunCommandCapture("echo written", buffer.bytes), 0);
  EXPECT_TRUE(buffer == before) << buffer.Text();

  EXPECT_EQ(GetArp(), "");
  EXPECT_EQ(GetIPConfig(), "");
  EXPECT_EQ(GetRouteMac(), "");
}

}  // namespace

TEST(ConsoleOutputToWide, DecodesTheConsolesCodePage) {
  // The tests run under the Chinese locale, whose consoles print in 936.
  ASSERT_EQ(ConsoleOutputCodePage(), 936u);
  struct Case {
    const char* name;
    std::string output;
    std::wstring text;
  };
  const Case cases[] = {
      {"ASCII", "IPv4 . . : 192.168.1.23\n", L"IPv4 . . : 192.168.1.23\n"},
      {"code page 936", "\xC4\xAC\xC8\xCF\xCD\xF8\xB9\xD8 ok", L"默认网关 ok"},
      {"empty", "", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ConsoleOutputToWide(c.output), c.text);
  }
  // A capture that ends inside a character keeps everything before it.
  const std::wstring cut = ConsoleOutputToWide("ok \xC4\xAC\xC8");
  EXPECT_EQ(cut.substr(0, 4), L"ok 默");
  EXPECT_EQ(cut.size(), 5u);
}
