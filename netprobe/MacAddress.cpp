#include "netprobe/MacAddress.h"

#include <windows.h>
#include <nb30.h>

#include <cstdio>

namespace {

// What the status query writes: the adapter's status, then its name table.
struct AdapterStatusArea {
  ADAPTER_STATUS adapter;
  NAME_BUFFER names[30];
};
static_assert(sizeof(AdapterStatusArea) == 600, "the status area is 600 bytes");

}  // namespace

std::string GetMac() {
  NCB control = {};
  LANA_ENUM lanas = {};
  control.ncb_command = NCBENUM;
  control.ncb_buffer = reinterpret_cast<PUCHAR>(&lanas);
  // The list's true size.  A length of one byte less (room for 254 LANA
  // numbers, still far more than any machine has) looks harmless, but an
  // implementation that holds callers to the documented buffer, as Wine's
  // does, then refuses the enumeration with NRC_BUFLEN.
  control.ncb_length = sizeof(lanas);
  if (::Netbios(&control) != NRC_GOODRET) return std::string();

  // Any one LANA that accepts a reset will do; the rest of the control
  // block is left as the enumeration returned it.  An empty list resets
  // nothing and still goes on to the query.
  bool reset = lanas.length == 0;
  for (int i = 0; i < lanas.length && !reset; ++i) {
    control.ncb_lana_num = lanas.lana[i];
    control.ncb_command = NCBRESET;
    reset = ::Netbios(&control) == NRC_GOODRET;
  }
  if (!reset) return std::string();

  // The query always goes to the first LANA listed (0 when none was), not
  // necessarily the one whose reset succeeded.
  AdapterStatusArea status = {};
  control = NCB{};
  control.ncb_lana_num = lanas.lana[0];
  control.ncb_command = NCBASTAT;
  control.ncb_callname[0] = '*';
  control.ncb_buffer = reinterpret_cast<PUCHAR>(&status);
  control.ncb_length = sizeof(status);
  if (::Netbios(&control) != NRC_GOODRET) return std::string();

  const UCHAR* address = status.adapter.adapter_address;
  char text[18];
  std::snprintf(text, sizeof(text), "%02X-%02X-%02X-%02X-%02X-%02X", address[0], address[1],
                address[2], address[3], address[4], address[5]);
  return text;
}
