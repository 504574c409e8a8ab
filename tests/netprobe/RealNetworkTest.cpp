// The probes against this machine's own adapters and console programs.
// What they report depends on the machine (and on what Wine provides), so
// only the shape of the answers is checked, and where another route to the
// same fact exists, the answer is compared with it.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "netprobe/CommandCapture.h"
#include "netprobe/Gateway.h"
#include "netprobe/MacAddress.h"

namespace {

// The adapters in one call with a generous buffer; nullopt when IP Helper
// cannot list them.
std::optional<std::vector<IP_ADAPTER_INFO>> Adapters() {
  std::vector<unsigned char> buffer(1 << 20);
  ULONG size = static_cast<ULONG>(buffer.size());
  auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
  if (::GetAdaptersInfo(first, &size) != ERROR_SUCCESS) return std::nullopt;
  std::vector<IP_ADAPTER_INFO> adapters;
  for (const IP_ADAPTER_INFO* adapter = first; adapter != nullptr; adapter = adapter->Next) {
    adapters.push_back(*adapter);
  }
  return adapters;
}

bool IsMacText(const std::string& text) {
  if (text.size() != 17) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool ok = i % 3 == 2 ? c == '-' : (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    if (!ok) return false;
  }
  return true;
}

TEST(RealNetwork, GetMacIsTheAddressOfAnAdapter) {
  const std::string mac = GetMac();
  if (mac.empty()) GTEST_SKIP() << "NetBIOS reports no adapter here";
  EXPECT_TRUE(IsMacText(mac)) << mac;
  // The status of a LANA bound to an adapter carries that adapter's
  // physical address, which IP Helper lists too.
  const auto adapters = Adapters();
  ASSERT_TRUE(adapters.has_value());
  std::vector<std::string> known;
  for (const IP_ADAPTER_INFO& adapter : *adapters) {
    if (adapter.AddressLength != 6) continue;
    char text[18];
    std::snprintf(text, sizeof(text), "%02X-%02X-%02X-%02X-%02X-%02X", adapter.Address[0],
                  adapter.Address[1], adapter.Address[2], adapter.Address[3], adapter.Address[4],
                  adapter.Address[5]);
    known.push_back(text);
  }
  EXPECT_NE(std::find(known.begin(), known.end(), mac), known.end()) << mac;
}

TEST(RealNetwork, GetGatewayIpIsTheFirstAdaptersGateway) {
  const std::string gateway = GetGatewayIp();
  const auto adapters = Adapters();
  if (!adapters.has_value() || adapters->empty()) {
    EXPECT_EQ(gateway, "");
    return;
  }
  // Here even when it is empty or "0.0.0.0", and however many adapters
  // follow (Wine lists several, so the first small buffer overflows).
  EXPECT_EQ(gateway, adapters->front().GatewayList.IpAddress.String);
  EXPECT_LE(gateway.size(), 15u);
  EXPECT_EQ(gateway.find_first_not_of("0123456789."), std::string::npos) << gateway;
}

TEST(RealNetwork, ConsoleProbesReturnThePlatformsOutput) {
  // Wine's arp is a stub that prints nothing, so both arp probes give ""
  // there; on Windows they give the table and the gateway's entry.
  const std::string arp = GetArp();
  EXPECT_EQ(arp.find('\r'), std::string::npos);
  const std::string routeMac = GetRouteMac();
  EXPECT_EQ(routeMac.find_first_of(" \n"), std::string::npos) << routeMac;

  // ipconfig prints at least its heading or the loopback adapter.
  const std::string ipconfig = GetIPConfig();
  EXPECT_FALSE(ipconfig.empty());
  EXPECT_EQ(ipconfig.find('\r'), std::string::npos);
  EXPECT_LE(ipconfig.size(), kCaptureBufferSize - 1);
}

}  // namespace
