// The engine's one DevTools connection to its browser, in flat session
// mode, over the browser's private pipe: commands go out from the engine's
// UI thread, each with an optional reply callback; replies and events are
// read on a reader thread of the connection's own and delivered on the UI
// thread, in the order the browser sent them.
//
// What the browser sends is input like any other: a message too large to
// hold, or one that is not JSON the engine can take, is dropped where it is
// read.  A command whose answer was dropped gets an error in its place; a
// dropped event is simply never delivered.
#pragma once

#include <json/value.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace engine {

class DevToolsPipe;
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

  // Starts reading the browser's pipe.  Any thread.
  bool Open(std::shared_ptr<DevToolsPipe> pipe, Listener* listener);
  // Stops reading and drops the replies still awaited.  Any thread but the
  // reader.  The browser sees its pipe close and ends; the reader is waited
  // for until then, or for a few seconds at most.
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
  struct Log;
  struct Reading;
  // The reader thread's work: reads until the browser's end closes.
  static void ReadMessages(const std::shared_ptr<Reading>& reading);

  std::unique_ptr<Impl> m_impl;
};

}  // namespace engine
