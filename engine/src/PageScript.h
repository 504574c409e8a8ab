// The script the engine runs at the start of every document, in every
// frame, before the page's own scripts.  It makes the calls the page's
// native functions stand for synchronous requests to the bridge address,
// which the engine answers itself, installs what the render-side callbacks
// put on the global object, runs the registered extensions, and reports
// title changes and context-menu requests without blocking the page.
#pragma once

#include <string>
#include <vector>

namespace engine {

// Requests to this address never reach a network: the engine intercepts
// them.  The address is https so that secure pages may call it too.
extern const char kBridgeUrl[];
extern const char kBridgeUrlPattern[];
// The name of the asynchronous notification binding (removed from the
// page's global object by the script before any page script runs).
extern const char kEventBinding[];

struct PageExtension {
  std::string code;  // UTF-8 JavaScript, with "native function" declarations
};

// Rewrites each "native function name(...);" declaration of an extension
// into a function that calls the engine with the extension's index and the
// name.  Text inside strings and comments is left alone.
std::string RewriteNativeFunctions(const std::string& code, size_t extensionIndex);

// The whole document-start script for the extensions registered so far.
std::string BuildPageScript(const std::vector<PageExtension>& extensions);

}  // namespace engine
