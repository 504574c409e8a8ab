// Chromium's network error names and codes, both ways.  Chromium reports a
// failed load by name ("net::ERR_CONNECTION_REFUSED"); the engine's
// interface passes the code (cef_errorcode_t).
#pragma once

#include <string>

namespace engine {

// The code of a net error name, given with or without the "net::" prefix
// ("ERR_CONNECTION_REFUSED" and "net::ERR_CONNECTION_REFUSED" both give
// -102).  "OK" and "ERR_NONE" give 0.  Any other name, the empty one
// included, gives ERR_FAILED (-2): a load that failed for a reason this
// table does not know still failed.
int NetErrorCode(const std::string& name);

// The name of a net error code, without the "net::" prefix; 0 gives "OK".
// Where Chromium and the engine's interface name a code differently, the
// interface's name wins (-208 is "ERR_CERT_END").  A code the table does not
// know gives "": inventing a name would hide that the code is unknown, and
// the caller can fall back to the code itself.
std::string NetErrorName(int code);

}  // namespace engine
