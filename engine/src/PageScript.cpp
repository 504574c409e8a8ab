#include "src/PageScript.h"

#include <cctype>

namespace engine {

const char kCallBinding[] = "__talmicCall";
const char kEventBinding[] = "__talmicEvent";
const char kReplyVariable[] = "reply";

namespace {

// Values cross as small arrays: [type] or [type, value].  Functions cross
// as [ "function", id ] and objects and arrays with their members, so that
// whatever a handler returns arrives as the same shape of value.
const char kBridgeCore[] = R"JS(
(function () {
  'use strict';
  const MAX_REQUEST = %MAX_REQUEST%;
  if (window[Symbol.for('talmic.native')]) return;
  const stringify = JSON.stringify, parse = JSON.parse;
  const defineProperty = Object.defineProperty;
  const notify = window.__talmicEvent;
  const call = window.__talmicCall;
  try { delete window.__talmicEvent; } catch (e) {}
  try { delete window.__talmicCall; } catch (e) {}

  // A request goes to the engine through the call binding, and the page
  // stops at the debugger statement right after it until the engine has
  // put its reply into "reply".  This works under any content security
  // policy and while the page is being dismissed, where a synchronous
  // request would be refused.  When the page cannot stop (its renderer is
  // already stopped for another call, or the document is being unloaded)
  // the engine still carries the request out, but its reply is lost:
  // "reply" stays null.
  function transmit(text) {
    if (typeof call !== 'function') return null;
    if (text.length > MAX_REQUEST) return '{"x":"the bridge request is too large"}';
    let reply = null;
    try { call(text); } catch (e) { return null; }
    debugger;
    return typeof reply === 'string' ? reply : null;
  }
  function exchange(request) {
    const text = transmit(stringify(request));
    if (text === null) return null;
    try { return parse(text); } catch (e) { return null; }
  }
  // The same channel for raw text, which the engine checks like any
  // request; a page reaches only its own context through it.
  defineProperty(window, Symbol.for('talmic.bridge'), {
    value: function (text) { return transmit(String(text)); }
  });
  function wellFormed(s) { return typeof s.toWellFormed === 'function' ? s.toWellFormed() : s; }
  function encode(v) {
    switch (typeof v) {
      case 'undefined': return ['undefined'];
      case 'boolean': return ['bool', v];
      case 'number':
        if (Number.isInteger(v) && !Object.is(v, -0)) {
          if (v >= -2147483648 && v <= 2147483647) return ['int', v];
          if (v > 0 && v <= 4294967295) return ['uint', v];
        }
        // Text stands for what JSON cannot carry (JSON writes -0 as 0).
        if (Object.is(v, -0)) return ['double', '-0'];
        return Number.isFinite(v) ? ['double', v] : ['double', String(v)];
      case 'string': return ['string', wellFormed(v)];
      case 'function': return ['function', 0];
      default:
        if (v === null) return ['null'];
        if (v instanceof Date) return ['date', v.getTime()];
        if (Array.isArray(v)) return ['array', []];
        return ['object', []];
    }
  }
  function decode(r) {
    if (!Array.isArray(r)) return undefined;
    switch (r[0]) {
      case 'null': return null;
      case 'bool': return !!r[1];
      case 'int': case 'uint': return r[1];
      case 'double': return typeof r[1] === 'string' ? Number(r[1]) : r[1];
      case 'string': return r[1];
      case 'date': return new Date(r[1]);
      case 'function': return wrap(r[1], r[2]);
      case 'array': return r[1].map(decode);
      case 'object': {
        const o = {};
        for (const m of r[1]) define(o, m);
        return o;
      }
      default: return undefined;
    }
  }
  function define(target, member) {
    const attributes = member[2] | 0;
    defineProperty(target, member[0], {
      value: decode(member[1]), writable: !(attributes & 1),
      enumerable: !(attributes & 2), configurable: !(attributes & 4)
    });
  }
  function finish(reply) {
    // A call the engine could not answer at this moment gives the empty
    // string, the failure value of the page functions, rather than an
    // exception in the middle of, say, an unload handler.
    if (!reply) return '';
    if (reply.g) for (const m of reply.g) define(window, m);
    if ('x' in reply) throw new Error(reply.x);
    return decode(reply.r);
  }
  function wrap(id, name) {
    return function () {
      const args = [];
      for (let i = 0; i < arguments.length; ++i) args.push(encode(arguments[i]));
      return finish(exchange({ op: 'call', f: id, a: args }));
    };
  }
  defineProperty(window, Symbol.for('talmic.native'), {
    value: function (extension, name, list) {
      const args = [];
      for (let i = 0; i < list.length; ++i) args.push(encode(list[i]));
      return finish(exchange({ op: 'native', e: extension, n: name, a: args }));
    }
  });

  // The context is made (and its functions put in place) before any of
  // the page's scripts run.  A document that starts while its renderer is
  // stopped for another frame's call cannot stop for its own: it asks
  // again once the running scripts are over, and then from a task.
  function create() {
    const reply = exchange({ op: 'context' });
    if (!reply || 'x' in reply) return false;
    finish(reply);
    return true;
  }
  if (!create()) {
    Promise.resolve().then(function () { if (!create()) setTimeout(create, 0); });
  }

  if (typeof notify !== 'function') return;
  function post(event) { try { notify(stringify(event)); } catch (e) {} }
  if (window === window.top) {
    let title = null;
    const report = function () {
      const now = document.title;
      if (now !== title) { title = now; post({ type: 'title', title: now }); }
    };
    new MutationObserver(report).observe(document, { subtree: true, childList: true, characterData: true });
    document.addEventListener('DOMContentLoaded', report);
  }
  function frameOffset() {
    let x = 0, y = 0;
    try {
      for (let w = window; w !== w.top && w.frameElement; w = w.parent) {
        const r = w.frameElement.getBoundingClientRect();
        x += r.left + w.frameElement.clientLeft; y += r.top + w.frameElement.clientTop;
      }
    } catch (e) {}
    return [x, y];
  }
  window.addEventListener('contextmenu', function (e) {
    // Checked once the event is over, so that any of the page's own
    // listeners can still cancel the menu.
    setTimeout(function () {
      if (e.defaultPrevented) return;
      const t = e.target && e.target.nodeType === 1 ? e.target : null;
      const link = t && t.closest ? t.closest('a[href]') : null;
      const editable = !!t && (t.isContentEditable || /^(INPUT|TEXTAREA)$/.test(t.tagName));
      const media = t && /^(IMG|VIDEO|AUDIO)$/.test(t.tagName) ? t : null;
      const offset = frameOffset();
      post({
        type: 'contextmenu', x: Math.round(e.clientX + offset[0]), y: Math.round(e.clientY + offset[1]),
        link: link ? link.href : '', src: media ? (media.currentSrc || media.src || '') : '',
        media: media ? media.tagName : '', selection: String(window.getSelection() || ''),
        editable: editable, page: window.top === window ? location.href : '',
        frame: location.href
      });
    }, 0);
  });
})();
)JS";

bool IsIdentifierChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// Skips a string, template or comment starting at i; returns the index
// after it, or i when none starts there.
size_t SkipInert(const std::string& code, size_t i) {
  const char c = code[i];
  if (c == '"' || c == '\'' || c == '`') {
    size_t j = i + 1;
    while (j < code.size() && code[j] != c) j += code[j] == '\\' ? 2 : 1;
    return j < code.size() ? j + 1 : code.size();
  }
  if (c == '/' && i + 1 < code.size()) {
    if (code[i + 1] == '/') {
      const size_t end = code.find('\n', i);
      return end == std::string::npos ? code.size() : end;
    }
    if (code[i + 1] == '*') {
      const size_t end = code.find("*/", i + 2);
      return end == std::string::npos ? code.size() : end + 2;
    }
  }
  return i;
}

bool WordAt(const std::string& code, size_t i, const char* word) {
  const std::string w(word);
  if (code.compare(i, w.size(), w) != 0) return false;
  if (i > 0 && IsIdentifierChar(code[i - 1])) return false;
  const size_t after = i + w.size();
  return after >= code.size() || !IsIdentifierChar(code[after]);
}

size_t SkipSpace(const std::string& code, size_t i) {
  while (i < code.size() && std::isspace(static_cast<unsigned char>(code[i])) != 0) ++i;
  return i;
}

}  // namespace

std::string RewriteNativeFunctions(const std::string& code, size_t extensionIndex,
                                   std::vector<std::string>* names) {
  std::string out;
  out.reserve(code.size() + 128);
  size_t i = 0;
  while (i < code.size()) {
    const size_t inert = SkipInert(code, i);
    if (inert != i) {
      out.append(code, i, inert - i);
      i = inert;
      continue;
    }
    if (WordAt(code, i, "native")) {
      size_t j = SkipSpace(code, i + 6);
      if (WordAt(code, j, "function")) {
        j = SkipSpace(code, j + 8);
        const size_t nameStart = j;
        while (j < code.size() && IsIdentifierChar(code[j])) ++j;
        const std::string name = code.substr(nameStart, j - nameStart);
        j = SkipSpace(code, j);
        const size_t close =
            j < code.size() && code[j] == '(' ? code.find(')', j) : std::string::npos;
        if (!name.empty() && close != std::string::npos) {
          size_t end = SkipSpace(code, close + 1);
          if (end < code.size() && code[end] == ';') ++end;
          if (names != nullptr) names->push_back(name);
          out += "function " + name + "() { return window[Symbol.for('talmic.native')](" +
                 std::to_string(extensionIndex) + ", '" + name + "', arguments); }";
          i = end;
          continue;
        }
      }
    }
    out += code[i++];
  }
  return out;
}

std::string BuildPageScript(const std::vector<PageExtension>& extensions) {
  std::string script = kBridgeCore;
  const std::string limit = "%MAX_REQUEST%";
  script.replace(script.find(limit), limit.size(), std::to_string(kMaxBridgeRequest));
  for (size_t i = 0; i < extensions.size(); ++i) {
    // Each extension runs at the top level, like a script of the page, so
    // that its "var" declarations become globals; one that throws does
    // not keep the others from running.
    script += "\ntry {\n" + RewriteNativeFunctions(extensions[i].code, i) +
              "\n} catch (e) { console.error(e); }\n";
  }
  return script;
}

}  // namespace engine
