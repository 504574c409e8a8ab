// What the page can send over the bridge and what it gets back: values as
// the engine API types them, malformed requests, and requests that name
// what belongs to another frame.
#include <gtest/gtest.h>
#include <json/reader.h>
#include <json/writer.h>

#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "tests/engine/EngineHarness.h"
#include "tests/engine/PageCallHandler.h"
#include "tests/support/PageServer.h"

namespace enginetest {
namespace {

class EngineBridgeInput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { PageCallHandler::Install(); }

  // Loads the page and gives the JSON object it put into its title.
  Json::Value Run(const std::string& html, const std::string& innerHtml = std::string()) {
    EXPECT_TRUE(SharedEngine::Start());
    test::PageServer server;
    server.AddHtml("/page.html", html);
    if (!innerHtml.empty()) server.AddHtml("/inner.html", innerHtml);
    HostWindow host(400, 300);
    CefRefPtr<TestClient> client = new TestClient();
    Json::Value results;
    if (!OpenBrowser(host, client, server.Url("/page.html"), 400, 300)) {
      ADD_FAILURE() << "no browser";
      return results;
    }
    const bool done = WaitUntil([&] { return LastTitle(*client).rfind("{", 0) == 0; });
    EXPECT_TRUE(done) << LastTitle(*client) << "\n" << client->log.Describe();
    EXPECT_TRUE(Json::Reader().parse(LastTitle(*client), results)) << LastTitle(*client);
    CloseBrowser(client);
    return results;
  }
};

const char kRowScript[] = R"(
const rows = {};
function row(name, f) {
  try {
    const r = f();
    rows[name] = r === undefined ? 'undefined' : typeof r === 'string' ? r : JSON.stringify(r);
  } catch (e) {
    rows[name] = (e instanceof Error ? 'Error: ' : 'threw: ') + e.message;
  }
}
)";

TEST_F(EngineBridgeInput, ValuesAndResultsFollowTheEngineApi) {
  const std::string page = std::string("<html><head><script>") + kRowScript + R"(
row('small int', () => classify(5));
row('negative int', () => classify(-5));
row('largest int', () => classify(2147483647));
row('uint above the ints', () => classify(2147483648));
row('largest uint', () => classify(4294967295));
row('past the uints', () => classify(4294967296));
row('below the ints', () => classify(-2147483649));
row('fraction', () => classify(255.5));
row('negative zero', () => classify(-0));
row('infinity', () => classify(Infinity));
row('true', () => classify(true));
row('digits', () => classify('42'));
row('null', () => classify(null));
row('undefined', () => classify(undefined));
row('several', () => classify(1, 'a'));
row('not handled', () => refuse());
row('exception', () => fail());
row('after both', () => probe('on'));
document.title = JSON.stringify(rows);
</script></head><body></body></html>)";
  const Json::Value rows = Run(page);
  // flags (IsInt, IsUInt, IsDouble, IsBool, IsString) : GetIntValue :
  // GetUIntValue : GetDoubleValue : GetBoolValue : GetStringValue
  const std::pair<const char*, const char*> cases[] = {
      {"small int", "IuD:5:5:5:0:"},
      {"negative int", "IuD:-5:4294967291:-5:0:"},
      {"largest int", "IuD:2147483647:2147483647:2147483647:0:"},
      {"uint above the ints", "uD:-2147483648:2147483648:2147483648:0:"},
      {"largest uint", "uD:-1:4294967295:4294967295:0:"},
      {"past the uints", "D:0:0:4294967296:0:"},
      {"below the ints", "D:0:0:-2147483649:0:"},
      {"fraction", "D:0:0:255.5:0:"},
      {"negative zero", "D:0:0:-0:0:"},
      {"infinity", "D:0:0:inf:0:"},
      {"true", "B:0:0:0:1:"},
      {"digits", "S:0:0:0:0:42"},
      {"null", ":0:0:0:0:"},
      {"undefined", ":0:0:0:0:"},
      {"several", "IuD:1:1:1:0: S:0:0:0:0:a"},
      // A call the handler does not take gives undefined, whatever result
      // and exception it left; the page goes on.
      {"not handled", "undefined"},
      {"exception", "Error: bad input"},
      {"after both", "probe(string:on)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rows[c.first].asString(), c.second) << c.first;
  }
}

std::string DataFolder() { return TALMIC_BRIDGE_DATA; }

// Every file of the folder, by name.
std::vector<std::pair<std::string, std::string>> HostileInputs() {
  std::vector<std::pair<std::string, std::string>> inputs;
  WIN32_FIND_DATAA found;
  const std::string folder = DataFolder();
  HANDLE search = ::FindFirstFileA((folder + "/*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return inputs;
  do {
    std::ifstream file(folder + "/" + found.cFileName, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    inputs.emplace_back(found.cFileName, text.str());
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return inputs;
}

std::string JsonText(const Json::Value& value) {
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  std::string text = Json::writeString(writer, value);
  // Kept from ending the script element it stands in.
  for (size_t at = text.find("</"); at != std::string::npos; at = text.find("</", at)) {
    text.replace(at, 2, "<\\/");
  }
  return text;
}

// Each request the page script would never make is sent as it stands
// through the page's own channel; each gets an error for that call, and the
// bridge goes on working.
TEST_F(EngineBridgeInput, MalformedRequestsGetAnErrorAndTheBridgeGoesOn) {
  const auto inputs = HostileInputs();
  ASSERT_GE(inputs.size(), 30u) << "no inputs in " << DataFolder();
  Json::Value list(Json::arrayValue);
  for (const auto& input : inputs) {
    Json::Value entry(Json::arrayValue);
    entry.append(input.first);
    entry.append(input.second);
    list.append(entry);
  }
  const std::string page = "<html><head><script>const inputs = " + JsonText(list) + R"(;
// Longer than a request may be: refused before it leaves the page.
inputs.push(['longer than the limit',
  '{"op":"native","e":0,"n":"add","a":[["string","' + 'x'.repeat(1100000) + '"]]}']);
const send = window[Symbol.for('talmic.bridge')];
const replies = {};
for (const [name, text] of inputs) {
  try { replies[name] = send(text); } catch (e) { replies[name] = 'threw: ' + e.message; }
}
replies['call after'] = probe('still here');
replies['extension after'] = String(ext.add(2, 3));
document.title = JSON.stringify(replies);
</script></head><body></body></html>)";
  const Json::Value replies = Run(page);
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.first);
    Json::Value reply;
    ASSERT_TRUE(Json::Reader().parse(replies[input.first].asString(), reply))
        << replies[input.first].asString();
    ASSERT_TRUE(reply.isObject()) << replies[input.first].asString();
    EXPECT_TRUE(reply["x"].isString() && !reply["x"].asString().empty())
        << replies[input.first].asString();
    EXPECT_FALSE(reply.isMember("r")) << replies[input.first].asString();
  }
  EXPECT_EQ(replies["longer than the limit"].asString(),
            "{\"x\":\"the bridge request is too large\"}");
  EXPECT_EQ(replies["call after"].asString(), "probe(string:still here)");
  EXPECT_EQ(replies["extension after"].asString(), "5");
}

// The page learns the ids of its own functions from the context's globals
// (the engine sends them again when asked), and hands the main frame's to
// its inner frame, which then tries to call the main frame's function.
TEST_F(EngineBridgeInput, ARequestReachesOnlyTheContextItCameFrom) {
  const char kIds[] = R"(
function ownIds() {
  const reply = JSON.parse(window[Symbol.for('talmic.bridge')]('{"op":"context"}'));
  const ids = {};
  for (const member of reply.g || []) if (member[1][0] === 'function') ids[member[0]] = member[1][1];
  return ids;
}
function call(id, extra) {
  const request = Object.assign({ op: 'call', f: id, a: [] }, extra || {});
  return window[Symbol.for('talmic.bridge')](JSON.stringify(request));
}
)";
  const std::string page = std::string("<html><head><script>") + kIds + R"(
const results = { 'main where': where() };
window.addEventListener('message', function (e) {
  Object.assign(results, e.data);
  document.title = JSON.stringify(results);
});
window.addEventListener('load', function () {
  frames[0].postMessage({ where: ownIds().where }, '*');
});
</script></head><body><iframe src="/inner.html"></iframe></body></html>)";
  const std::string inner = std::string("<html><head><script>") + kIds + R"(
window.addEventListener('message', function (e) {
  const mainWhere = e.data.where;
  const tries = {};
  tries['inner where'] = where();
  tries['own function by id'] = call(ownIds().where);
  tries['main function by id'] = call(mainWhere);
  // Whatever the request names besides, it stays this frame's.
  for (let c = 0; c < 40; ++c) {
    const r = call(mainWhere, { c: c, context: c, frame: 'main' });
    if (r.indexOf('main') >= 0) tries['naming context ' + c] = r;
  }
  parent.postMessage(tries, '*');
});
</script></head><body></body></html>)";
  const Json::Value results = Run(page, inner);
  EXPECT_EQ(results["main where"].asString(), "main");
  EXPECT_EQ(results["inner where"].asString(), "inner");
  EXPECT_EQ(results["own function by id"].asString(), "{\"r\":[\"string\",\"inner\"]}");
  EXPECT_EQ(results["main function by id"].asString(), "{\"x\":\"unknown native function\"}");
  for (const std::string& key : results.getMemberNames()) {
    EXPECT_EQ(key.rfind("naming context", 0), std::string::npos)
        << key << ": " << results[key].asString();
  }
}

}  // namespace
}  // namespace enginetest
