// The machine's MAC address as NetBIOS reports it for the first LANA.
#pragma once

#include <string>

// The first LANA's adapter address as six upper-case hexadecimal byte pairs
// joined by dashes ("00-1A-2B-3C-4D-5E"); "" when NetBIOS cannot enumerate
// or reset any LANA, or the status query fails.
std::string GetMac();
