// The hash of the engine's interface.  A program built against these headers
// works only with an engine that reports the same hash.
#pragma once

#define CEF_API_HASH_UNIVERSAL "64b27477b82b44b51ce817522f744fca6768cbbb"
#define CEF_API_HASH_PLATFORM "64b27477b82b44b51ce817522f744fca6768cbbb"

#ifdef __cplusplus
extern "C" {
#endif

// The engine's hash: entry 0 is the platform hash, 1 the universal hash.
const char* cef_api_hash(int entry);

#ifdef __cplusplus
}
#endif
