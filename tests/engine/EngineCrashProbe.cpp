// A program that installs the client's crash filter and then lets an engine
// thread meet an exception that nothing handles, so the tests can watch
// from outside what becomes of it.  The argument says where: "task",
// "delayed", "invoke" (tasks of an engine thread) or "reader" (the DevTools
// reader, through its listener).
#include <windows.h>

#include <cwchar>
#include <memory>
#include <stdexcept>

#include "app/CrashDump.h"
#include "src/DevToolsConnection.h"
#include "src/DevToolsPipe.h"
#include "src/TaskThread.h"

namespace {

class ThrowingListener : public engine::DevToolsConnection::Listener {
 public:
  void OnDevToolsEvent(const std::string&, const std::string&, const Json::Value&) override {}
  bool OnReaderThreadEvent(const std::string&, const std::string&, Json::Value&) override {
    throw std::logic_error("a fault of the listener");
  }
  void OnDevToolsClosed() override {}
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::SetUnhandledExceptionFilter(CrashFilter);
  const std::wstring where = argc > 1 ? argv[1] : L"task";
  engine::TaskThread thread;
  if (!thread.Start()) return 4;
  const auto fault = [] { throw std::runtime_error("a fault of the task"); };
  if (where == L"task") {
    thread.Post(fault);
  } else if (where == L"delayed") {
    thread.Post([&thread, fault] { thread.PostDelayed(fault, 10); });
  } else if (where == L"invoke") {
    thread.Invoke(fault);
  } else if (where == L"reader") {
    HANDLE engineReads = nullptr;
    HANDLE browserWrites = nullptr;
    HANDLE browserReads = nullptr;
    HANDLE engineWrites = nullptr;
    if (!::CreatePipe(&engineReads, &browserWrites, nullptr, 0) ||
        !::CreatePipe(&browserReads, &engineWrites, nullptr, 0)) {
      return 4;
    }
    static ThrowingListener listener;
    static engine::DevToolsConnection connection(thread);
    connection.Open(std::make_shared<engine::DevToolsPipe>(engineReads, engineWrites), &listener);
    const char event[] = R"({"method":"Test.event","params":{}})";
    DWORD wrote = 0;
    ::WriteFile(browserWrites, event, sizeof(event), &wrote, nullptr);  // with its end
  } else {
    return 5;
  }
  // Reaching the end means the fault did not end the process.
  ::Sleep(10000);
  return 3;
}
