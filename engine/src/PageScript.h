// The script the engine runs at the start of every document, in every
// frame, before the page's own scripts.  It makes the calls the page's
// native functions stand for synchronous requests to the engine (through a
// binding, with the page stopped until the engine has answered), installs what the render-side
// callbacks put on the global object, runs the registered extensions, and reports title changes and
// context-menu requests without blocking the page.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace engine {

// The names of the call binding, through which the page sends its bridge
// requests, and of the asynchronous notification binding.  The script
// removes both from the page's global object before any page script runs.
extern const char kCallBinding[];
extern const char kEventBinding[];
// The longest bridge request, in UTF-16 code units as the page counts its
// text.  A title or a few numbers take a few hundred; the 32-bit client
// holds each request several times over on its way (DevTools message,
// parsed form, engine values), and a page must not be able to make it run
// out of address space.  The engine refuses longer ones in UTF-8 bytes
// (three per code unit at most).
constexpr size_t kMaxBridgeRequest = 1 << 20;
// The variable of the page script's transmit function that takes the
// engine's reply while the page stands at its debugger statement.
extern const char kReplyVariable[];

struct PageExtension {
  std::string code;  // UTF-8 JavaScript, with "native function" declarations
};

// Rewrites each "native function name(...);" declaration of an extension
// into a function that calls the engine with the extension's index and the
// name.  Text inside strings and comments is left alone.  The names
// declared are added to names when given.
std::string RewriteNativeFunctions(const std::string& code, size_t extensionIndex,
                                   std::vector<std::string>* names = nullptr);

// The whole document-start script for the extensions registered so far.
std::string BuildPageScript(const std::vector<PageExtension>& extensions);

}  // namespace engine
