#include "netprobe/Gateway.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstring>
#include <memory>
#include <new>

#include "netprobe/CommandCapture.h"

namespace {

// One adapter record as the platform's own headers lay it out, with 64-bit
// lease times.  The i686 mingw headers use a 32-bit time_t, which makes the
// record 640 bytes, so the first buffer holds a whole record either way.
constexpr ULONG kFirstBufferSize = 648;
static_assert(sizeof(IP_ADAPTER_INFO) <= kFirstBufferSize, "the first buffer holds one record");

// The fields of an ARP output line are separated by runs of spaces.
std::string SecondField(const std::string& line) {
  int field = 0;
  size_t position = 0;
  for (;;) {
    const size_t begin = line.find_first_not_of(' ', position);
    if (begin == std::string::npos) return std::string();
    size_t end = line.find(' ', begin);
    if (end == std::string::npos) end = line.size();
    if (++field == 2) return line.substr(begin, end - begin);
    position = end;
  }
}

// Line 3 of the text, counting from 0: the first entry after the empty
// line, the interface line and the column titles.
std::string FourthLine(const std::string& text) {
  size_t begin = 0;
  for (int line = 0; line < 3; ++line) {
    const size_t feed = text.find('\n', begin);
    if (feed == std::string::npos) return std::string();
    begin = feed + 1;
  }
  const size_t end = text.find('\n', begin);
  return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

}  // namespace

std::string GetGatewayIp() {
  ULONG size = kFirstBufferSize;
  std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size]);
  if (!buffer) return std::string();
  if (::GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.get()), &size) ==
      ERROR_BUFFER_OVERFLOW) {
    buffer.reset(new (std::nothrow) unsigned char[size]);
    if (!buffer) return std::string();
  }
  // Asked again whatever the first answer was: after a first success this
  // simply fills the same buffer once more.
  auto* adapters = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.get());
  if (::GetAdaptersInfo(adapters, &size) != ERROR_SUCCESS) return std::string();

  // The address text is at most 15 characters; the field's size bounds the
  // read should it ever come without its terminator.
  const char* gateway = adapters->GatewayList.IpAddress.String;
  return std::string(gateway, ::strnlen(gateway, sizeof(adapters->GatewayList.IpAddress.String)));
}

std::string GetRouteMac() {
  // Without a gateway the command is "arp -a " alone, which lists every
  // interface; line 3 is then the first entry of the first one.
  const std::string command = "arp -a " + GetGatewayIp();
  char capture[kCaptureBufferSize] = {};
  if (!RunCommandCapture(command.c_str(), capture)) return std::string();
  return SecondField(FourthLine(std::string(capture, ::strnlen(capture, kCaptureBufferSize))));
}
