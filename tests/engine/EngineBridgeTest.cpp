// The page's native functions, called from real page JavaScript.
#include <gtest/gtest.h>
#include <json/reader.h>

#include "include/cef_process_message.h"
#include "include/cef_values.h"
#include "tests/engine/EngineHarness.h"
#include "tests/support/PageServer.h"

namespace enginetest {
namespace {

// Describes what arrived: "type:value" per argument.
class EchoHandler : public CefV8Handler {
 public:
  bool Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
               CefRefPtr<CefV8Value>& retval, CefString& exception) override {
    (void)object, (void)exception;
    if (name == "unhandled") return false;
    if (name == "fail") {
      exception = "bad input";
      return true;
    }
    if (name == "nothing") return true;
    if (name == "send") {
      CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create("fromPage");
      CefRefPtr<CefListValue> list = message->GetArgumentList();
      list->SetSize(arguments.size());
      for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i]->IsString()) {
          list->SetString(i, arguments[i]->GetStringValue());
        } else {
          list->SetInt(i, arguments[i]->GetIntValue());
        }
      }
      CefV8Context::GetCurrentContext()->GetBrowser()->SendProcessMessage(PID_BROWSER, message);
      return true;
    }
    std::string text;
    for (const CefRefPtr<CefV8Value>& argument : arguments) {
      if (!text.empty()) text += ",";
      if (argument->IsUndefined())
        text += "undefined";
      else if (argument->IsNull())
        text += "null";
      else if (argument->IsBool())
        text += argument->GetBoolValue() ? "bool:true" : "bool:false";
      else if (argument->IsInt())
        text += "int:" + std::to_string(argument->GetIntValue());
      else if (argument->IsDouble())
        text += "double:" + std::to_string(argument->GetDoubleValue());
      else if (argument->IsString())
        text += "string:" + argument->GetStringValue().ToString();
      else
        text += "other";
    }
    retval = CefV8Value::CreateString(name.ToString() + "(" + text + ")");
    return true;
  }
  IMPLEMENT_REFCOUNTING(EchoHandler);
};

const char kBridgePage[] = R"(<html><head><script>
const results = { 'first line': typeof echo };
function run(name, f) {
  try { const r = f(); results[name] = r === undefined ? 'undefined' : JSON.stringify(r); }
  catch (e) { results[name] = 'threw: ' + e.message; }
}
run('types', () => echo(5, 2.5, true, '你好', null, undefined));
run('no arguments', () => echo());
run('no result', () => nothing(1));
run('unhandled', () => unhandled());
run('exception', () => fail());
run('global value', () => nativeGreeting);
run('extension', () => ext.add(10, 50));
run('extension global', () => ext_value);
run('extension unhandled', () => ext.missing());
run('same statement', () => echo('a') + '|' + echo('b'));
run('send', () => send('你好', 3));
window.addEventListener('load', () => {
  try { results['inner frame'] = frames[0].innerResult; } catch (e) { results['inner frame'] = 'threw: ' + e.message; }
  document.title = JSON.stringify(results);
});
</script></head><body><iframe src="/inner.html"></iframe></body></html>)";

const char kInnerPage[] = R"(<html><body><script>
window.innerResult = echo('inner');
</script></body></html>)";

class EngineBridge : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const char* name : {"echo", "nothing", "unhandled", "fail", "send"}) {
      TestApp::Functions()[name] = new EchoHandler();
    }
  }
};

TEST_F(EngineBridge, PageCallsReachTheHandlersAndReturnTheirResults) {
  ASSERT_TRUE(SharedEngine::Start());
  test::PageServer server;
  server.AddHtml("/bridge.html", kBridgePage);
  server.AddHtml("/inner.html", kInnerPage);
  HostWindow host(400, 300);
  CefRefPtr<TestClient> client = new TestClient();
  ASSERT_TRUE(OpenBrowser(host, client, server.Url("/bridge.html"), 400, 300));
  ASSERT_TRUE(WaitUntil([&] { return LastTitle(*client).rfind("{", 0) == 0; }))
      << client->log.Describe() << SharedEngine::App()->log.Describe();

  Json::Value results;
  ASSERT_TRUE(Json::Reader().parse(LastTitle(*client), results)) << LastTitle(*client);
  struct Case {
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"first line", "function"},
      {"types", "\"echo(int:5,double:2.500000,bool:true,string:你好,null,undefined)\""},
      {"no arguments", "\"echo()\""},
      {"no result", "undefined"},
      {"unhandled", "undefined"},
      {"exception", "threw: bad input"},
      {"global value", "\"你好\""},
      {"extension", "60"},
      {"extension global", "\"from the extension\""},
      {"extension unhandled", "undefined"},
      {"same statement", "\"echo(string:a)|echo(string:b)\""},
      {"send", "undefined"},
      {"inner frame", "echo(string:inner)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(results[c.name].asString(), c.expected);
  }

  // The process message arrived on the browser side, from the renderer,
  // on the engine's UI thread.
  ASSERT_TRUE(client->log.WaitFor("process message", "fromPage|你好|3"));
  const std::vector<Event> messages = client->log.Named("process message");
  EXPECT_EQ(messages.front().number, PID_RENDERER);
  EXPECT_NE(messages.front().thread, ::GetCurrentThreadId());

  // The render side saw every context, of the page and of its frame, and
  // the extension's native function by its name.
  CefRefPtr<TestApp> app = SharedEngine::App();
  EXPECT_TRUE(app->log.Has("context created", "main"));
  EXPECT_TRUE(app->log.Has("context created", "inner"));
  EXPECT_TRUE(app->log.Has("native", "add"));
  EXPECT_TRUE(app->log.Has("native", "missing"));
  CloseBrowser(client);
}

TEST_F(EngineBridge, ProcessHandlersRunOnceInOrderOffTheMainThread) {
  ASSERT_TRUE(SharedEngine::Start());
  CefRefPtr<TestApp> app = SharedEngine::App();
  ASSERT_TRUE(app->log.WaitFor("context initialized", ""));
  EXPECT_EQ(app->log.Count("webkit initialized"), 1u);
  EXPECT_TRUE(app->log.Has("extension registered", "yes"));
  const std::vector<Event> commandLines = app->log.Named("command line");
  ASSERT_EQ(commandLines.size(), 1u);
  EXPECT_EQ(commandLines[0].detail, "") << "the browser process has no process type";
  const std::vector<Event> launches = app->log.Named("child launch");
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_NE(launches[0].thread, ::GetCurrentThreadId());
  EXPECT_NE(app->log.Named("webkit initialized")[0].thread, ::GetCurrentThreadId());
}

}  // namespace
}  // namespace enginetest
