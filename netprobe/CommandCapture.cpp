#include "netprobe/CommandCapture.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// fgets leaves room for its terminator, so each read returns at most 127
// characters; longer lines arrive in pieces.
constexpr int kLineBufferSize = 128;

std::string CaptureOutput(const char* command) {
  char capture[kCaptureBufferSize] = {};
  if (!RunCommandCapture(command, capture)) return std::string();
  return std::string(capture, ::strnlen(capture, kCaptureBufferSize));
}

}  // namespace

int RunCommandCapture(const char* command, char (&capture)[kCaptureBufferSize]) {
  FILE* pipe = ::_popen(command, "r");
  if (pipe == nullptr) return 0;

  size_t length = ::strnlen(capture, kCaptureBufferSize);
  // The last byte stays the terminator.
  const size_t limit = kCaptureBufferSize - 1;
  char line[kLineBufferSize];
  // Reading goes on after the buffer is full, so that the command can write
  // all it has to say and end normally instead of on a broken pipe.
  while (::fgets(line, kLineBufferSize, pipe) != nullptr) {
    if (length >= limit) continue;
    const size_t piece = std::min(::strlen(line), limit - length);
    std::memcpy(capture + length, line, piece);
    length += piece;
    capture[length] = '\0';
  }
  // The exit code does not matter: a command that started and failed has
  // still produced the output the caller wants to see.
  ::_pclose(pipe);
  return 1;
}

std::string GetArp() { return CaptureOutput("arp -a "); }

std::string GetIPConfig() { return CaptureOutput("ipconfig"); }

unsigned int ConsoleOutputCodePage() {
  const UINT console = ::GetConsoleOutputCP();
  return console != 0 ? console : ::GetOEMCP();
}

std::wstring ConsoleOutputToWide(const std::string& output) {
  if (output.empty()) return std::wstring();
  const UINT codePage = ConsoleOutputCodePage();
  const int size = static_cast<int>(output.size());
  const int units = ::MultiByteToWideChar(codePage, 0, output.data(), size, nullptr, 0);
  if (units <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(units), L'\0');
  ::MultiByteToWideChar(codePage, 0, output.data(), size, text.data(), units);
  return text;
}
