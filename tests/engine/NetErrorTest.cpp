#include <gtest/gtest.h>

#include <string>

#include "include/internal/cef_types.h"
#include "src/NetError.h"

namespace {

struct Known {
  const char* name;
  int constant;  // the engine interface's enumerator
  int code;      // Chromium's value
};

#define KNOWN(name, code) \
  { #name, name, code }

// Every code of the engine's interface, with Chromium's value beside it.
const Known kInterfaceCodes[] = {
    KNOWN(ERR_FAILED, -2),
    KNOWN(ERR_ABORTED, -3),
    KNOWN(ERR_INVALID_ARGUMENT, -4),
    KNOWN(ERR_INVALID_HANDLE, -5),
    KNOWN(ERR_FILE_NOT_FOUND, -6),
    KNOWN(ERR_TIMED_OUT, -7),
    KNOWN(ERR_FILE_TOO_BIG, -8),
    KNOWN(ERR_UNEXPECTED, -9),
    KNOWN(ERR_ACCESS_DENIED, -10),
    KNOWN(ERR_NOT_IMPLEMENTED, -11),
    KNOWN(ERR_CONNECTION_CLOSED, -100),
    KNOWN(ERR_CONNECTION_RESET, -101),
    KNOWN(ERR_CONNECTION_REFUSED, -102),
    KNOWN(ERR_CONNECTION_ABORTED, -103),
    KNOWN(ERR_CONNECTION_FAILED, -104),
    KNOWN(ERR_NAME_NOT_RESOLVED, -105),
    KNOWN(ERR_INTERNET_DISCONNECTED, -106),
    KNOWN(ERR_SSL_PROTOCOL_ERROR, -107),
    KNOWN(ERR_ADDRESS_INVALID, -108),
    KNOWN(ERR_ADDRESS_UNREACHABLE, -109),
    KNOWN(ERR_SSL_CLIENT_AUTH_CERT_NEEDED, -110),
    KNOWN(ERR_TUNNEL_CONNECTION_FAILED, -111),
    KNOWN(ERR_NO_SSL_VERSIONS_ENABLED, -112),
    KNOWN(ERR_SSL_VERSION_OR_CIPHER_MISMATCH, -113),
    KNOWN(ERR_SSL_RENEGOTIATION_REQUESTED, -114),
    KNOWN(ERR_CERT_COMMON_NAME_INVALID, -200),
    KNOWN(ERR_CERT_DATE_INVALID, -201),
    KNOWN(ERR_CERT_AUTHORITY_INVALID, -202),
    KNOWN(ERR_CERT_CONTAINS_ERRORS, -203),
    KNOWN(ERR_CERT_NO_REVOCATION_MECHANISM, -204),
    KNOWN(ERR_CERT_UNABLE_TO_CHECK_REVOCATION, -205),
    KNOWN(ERR_CERT_REVOKED, -206),
    KNOWN(ERR_CERT_INVALID, -207),
    KNOWN(ERR_CERT_END, -208),
    KNOWN(ERR_INVALID_URL, -300),
    KNOWN(ERR_DISALLOWED_URL_SCHEME, -301),
    KNOWN(ERR_UNKNOWN_URL_SCHEME, -302),
    KNOWN(ERR_TOO_MANY_REDIRECTS, -310),
    KNOWN(ERR_UNSAFE_REDIRECT, -311),
    KNOWN(ERR_UNSAFE_PORT, -312),
    KNOWN(ERR_INVALID_RESPONSE, -320),
    KNOWN(ERR_INVALID_CHUNKED_ENCODING, -321),
    KNOWN(ERR_METHOD_NOT_SUPPORTED, -322),
    KNOWN(ERR_UNEXPECTED_PROXY_AUTH, -323),
    KNOWN(ERR_EMPTY_RESPONSE, -324),
    KNOWN(ERR_RESPONSE_HEADERS_TOO_BIG, -325),
    KNOWN(ERR_CACHE_MISS, -400),
    KNOWN(ERR_INSECURE_RESPONSE, -501),
};

TEST(NetError, InterfaceCodesRoundTripWithOrWithoutThePrefix) {
  EXPECT_EQ(ERR_NONE, 0);
  for (const Known& known : kInterfaceCodes) {
    SCOPED_TRACE(known.name);
    EXPECT_EQ(known.constant, known.code);
    EXPECT_EQ(engine::NetErrorCode(known.name), known.code);
    EXPECT_EQ(engine::NetErrorCode(std::string("net::") + known.name), known.code);
    EXPECT_EQ(engine::NetErrorName(known.code), known.name);
  }
}

TEST(NetError, NewerChromiumNamesAreKnown) {
  struct Case {
    const char* name;
    int code;
  };
  const Case cases[] = {
      {"ERR_BLOCKED_BY_CLIENT", -20},        {"ERR_NETWORK_CHANGED", -21},
      {"ERR_BLOCKED_BY_ADMINISTRATOR", -22}, {"ERR_BLOCKED_BY_RESPONSE", -27},
      {"ERR_CLEARTEXT_NOT_PERMITTED", -29},  {"ERR_CONNECTION_TIMED_OUT", -118},
      {"ERR_NAME_RESOLUTION_FAILED", -137},  {"ERR_NETWORK_ACCESS_DENIED", -138},
      {"ERR_CONTENT_LENGTH_MISMATCH", -354}, {"ERR_INCOMPLETE_CHUNKED_ENCODING", -355},
      {"ERR_INVALID_HTTP_RESPONSE", -370},   {"ERR_HTTP_RESPONSE_CODE_FAILURE", -379},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(engine::NetErrorCode(std::string("net::") + c.name), c.code);
    EXPECT_EQ(engine::NetErrorName(c.code), c.name);
  }
  // Chromium's later name for -208 is accepted; the interface's name is given.
  EXPECT_EQ(engine::NetErrorCode("ERR_CERT_WEAK_SIGNATURE_ALGORITHM"), -208);
  EXPECT_EQ(engine::NetErrorName(-208), "ERR_CERT_END");
}

TEST(NetError, UnknownNamesFailAndUnknownCodesHaveNoName) {
  const std::string names[] = {"",
                               "net::",
                               "ERR_NO_SUCH_THING",
                               "err_connection_refused",
                               "net::net::ERR_ABORTED",
                               " ERR_ABORTED",
                               std::string("ERR_ABORTED\0x", 13)};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    EXPECT_EQ(engine::NetErrorCode(name), ERR_FAILED);
  }
  EXPECT_EQ(engine::NetErrorCode("OK"), 0);
  EXPECT_EQ(engine::NetErrorCode("net::ERR_NONE"), 0);
  EXPECT_EQ(engine::NetErrorName(0), "OK");
  EXPECT_EQ(engine::NetErrorName(-12345), "");
  EXPECT_EQ(engine::NetErrorName(1), "");
}

}  // namespace
