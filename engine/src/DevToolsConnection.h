// The engine's one DevTools connection to its browser, in flat session
// mode: commands go out from the engine's UI thread, each with an optional
// reply callback; replies and events are read on a reader thread of the
// connection's own and delivered on the UI thread, in the order the browser
// sent them.
#pragma once

#include <json/value.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace engine {

class TaskThread;

class DevToolsConnection {
 public:
  // A reply: the "result" object, or null with the "error" object set.
  using Reply = std::function<void(const Json::Value& result, const Json::Value& error)>;

  class Listener {
   public:
    // An event, on the UI thread.  The session id is empty for the
    // browser's own events.
    virtual void OnDevToolsEvent(const std::string& sessionId, const std::string& method,
                                 const Json::Value& params) = 0;
    // Heavy events can be prepared on the reader thread before they are
    // delivered (decoding a picture, say); true when the listener took the
    // event over and it is not to be delivered.
    virtual bool OnReaderThreadEvent(const std::string& sessionId, const std::string& method,
                                     Json::Value& params) {
      (void)sessionId, (void)method, (void)params;
      return false;
    }
    // The browser went away, on the UI thread.
    virtual void OnDevToolsClosed() = 0;

   protected:
    ~Listener() = default;
  };

  explicit DevToolsConnection(TaskThread& uiThread);
  ~DevToolsConnection();
  DevToolsConnection(const DevToolsConnection&) = delete;
  DevToolsConnection& operator=(const DevToolsConnection&) = delete;

  // Connects to the browser endpoint and starts reading.  Any thread.
  bool Open(uint16_t port, const std::string& browserPath, Listener* listener);
  // Stops reading and drops the replies still awaited.  Any thread but the
  // reader; waits for the reader to end.
  void Close();

  // Sends a command; UI thread only.  Returns its id, or 0 when the
  // connection is closed (the reply callback is then never called).
  int Send(const std::string& method, const Json::Value& params = Json::Value(Json::objectValue),
           const std::string& sessionId = std::string(), Reply reply = nullptr);

  bool IsOpen() const;

  // Writes every message, out and in (cut to a few hundred characters), to
  // the file: the engine's log, off unless asked for.
  void SetLogFile(const std::wstring& path);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace engine
