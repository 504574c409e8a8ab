// The default gateway: its address as IP Helper reports it and its physical
// address as the ARP table prints it.
#pragma once

#include <string>

// The dotted address of the first gateway of the first adapter, even when
// that is empty or "0.0.0.0"; "" when the adapters cannot be listed.
std::string GetGatewayIp();

// The second field of the fourth line (line 3, counting from 0) of the
// output of "arp -a " followed by GetGatewayIp(): with the usual layout the
// gateway's physical address, for example "e4-8d-8c-52-1a-30".  "" when the
// command cannot be started or that line has no second field.
std::string GetRouteMac();
