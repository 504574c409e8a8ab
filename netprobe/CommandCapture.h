// Console commands run through the command interpreter, and the two whose
// whole output the page asks for.  Output is 8-bit text exactly as the
// command printed it (the console's code page), with the single line feeds
// of a text-mode pipe.
#pragma once

#include <cstddef>
#include <string>

// Room for 8191 characters of output and the terminator.
constexpr size_t kCaptureBufferSize = 8192;

// Runs command (ANSI code page) through the C runtime's _popen and appends
// what it prints on its standard output to the NUL-terminated text in
// capture.  Output that does not fit before the buffer's last byte is read
// and dropped; a buffer without a terminator counts as full.  Returns 1 once
// the command has ended, whatever its exit code; 0 when it could not be
// started, with the buffer unchanged.
int RunCommandCapture(const char* command, char (&capture)[kCaptureBufferSize]);

// The output of "arp -a "; "" when it cannot be started.
std::string GetArp();
// The output of "ipconfig"; "" when it cannot be started.
std::string GetIPConfig();

// The code page the commands above print in: the output code page of this
// process's console when it has one, which the command shares; otherwise
// the system's OEM code page, which the new console of a command started
// from a windowed program has (936 under the Chinese locale).
unsigned int ConsoleOutputCodePage();
// Captured output as the characters the command printed (UTF-16), decoded
// from ConsoleOutputCodePage.  A character cut at the end of a full capture
// becomes one replacement character; the text before it is kept.
std::wstring ConsoleOutputToWide(const std::string& output);
