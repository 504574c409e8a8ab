// The console probes against stand-ins that print outputs recorded from
// arp and ipconfig, including every malformed output found so far.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "netprobe/CommandCapture.h"
#include "netprobe/Gateway.h"
#include "tests/netprobe/ConsoleStandIns.h"
#include "tests/support/TempFolder.h"

namespace {

struct Recording {
  const wchar_t* file;
  const wchar_t* program;  // L"arp" or L"ipconfig"
  const char* routeMac;    // what GetRouteMac makes of an arp output
};

const Recording kRecordings[] = {
    {L"arp_gateway_entry.txt", L"arp", "e4-8d-8c-52-1a-30"},
    // "arp -a " alone: the first entry of the first interface listed.
    {L"arp_table_zh_cp936.txt", L"arp", "e4-8d-8c-52-1a-30"},
    {L"arp_large_network.txt", L"arp", "00-1d-aa-3c-10-01"},
    {L"arp_entry_without_line_end.txt", L"arp", "00-50-56-c0-00-08"},
    {L"arp_fourth_line_empty.txt", L"arp", ""},
    {L"arp_fourth_line_blank.txt", L"arp", ""},
    {L"arp_fourth_line_one_field.txt", L"arp", ""},
    {L"arp_no_entries.txt", L"arp", ""},
    {L"arp_wine_stub.txt", L"arp", ""},
    {L"ipconfig_zh_cp936.txt", L"ipconfig", nullptr},
    {L"ipconfig_long_lines.txt", L"ipconfig", nullptr},
};

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

TEST(RecordedOutputs, EveryRecordingIsReplayed) {
  std::vector<std::wstring> listed;
  for (const Recording& recording : kRecordings) listed.push_back(recording.file);
  std::sort(listed.begin(), listed.end());
  ASSERT_FALSE(test::RecordingsFolder().empty()) << "TALMIC_NETPROBE_DATA is not set";
  EXPECT_EQ(test::ListFolder(test::RecordingsFolder()), listed);
}

TEST(RecordedOutputs, AreReturnedByteForByteAndParsed) {
  const size_t room = kCaptureBufferSize - 1;
  // GetRouteMac asks for the entry of the real first adapter's gateway.
  const std::string gateway = GetGatewayIp();
  const std::string routeArguments = gateway.empty() ? "-a" : "-a " + gateway;
  bool sawOverflow = false;
  for (const Recording& recording : kRecordings) {
    SCOPED_TRACE(Narrow(recording.file));
    const std::string output = test::ReadRecording(recording.file);
    sawOverflow = sawOverflow || output.size() > room;
    const test::ConsoleStandIns standIns;
    ASSERT_TRUE(standIns.Add(recording.program, output));

    // The stand-in ends its lines with CR LF; the text-mode pipe hands them
    // over as the single line feeds of the recording.
    if (std::wstring(recording.program) == L"ipconfig") {
      EXPECT_EQ(GetIPConfig(), output.substr(0, room));
      EXPECT_EQ(standIns.ArgumentsOf(L"ipconfig"), "");
      continue;
    }
    EXPECT_EQ(GetArp(), output.substr(0, room));
    EXPECT_EQ(standIns.ArgumentsOf(L"arp"), "-a");
    EXPECT_EQ(GetRouteMac(), recording.routeMac);
    EXPECT_EQ(standIns.ArgumentsOf(L"arp"), routeArguments);
  }
  EXPECT_TRUE(sawOverflow) << "no recording is longer than the capture buffer";
}

}  // namespace
