// Downloads: the browser program saves each one into the engine's download
// folder under a name of its own; the client decides where it goes (and
// whether the user is asked), and the finished file is moved there.
// UI thread only.
#pragma once

#include <json/value.h>

#include <map>
#include <string>

#include "include/cef_download_handler.h"

namespace engine {

class BrowserImpl;
class CefDownloadItemImpl;
class Engine;

class Downloads {
 public:
  explicit Downloads(Engine& engine);
  ~Downloads();

  void OnEvent(const std::string& method, const Json::Value& params);
  // The client's answer for a download: where to save it, and whether the
  // user confirms that in the save dialog first.
  void Continue(const std::string& guid, const std::wstring& path, bool showDialog);
  void Cancel(const std::string& guid);
  // Engine shutdown: unfinished downloads are cancelled and their partial
  // files removed.
  void Abandon();

 private:
  struct Download;
  void Begin(const Json::Value& params);
  void Progress(const Json::Value& params);
  void Finish(Download& download);
  void Report(Download& download);
  std::wstring AskForPath(Download& download, const std::wstring& proposed);

  Engine& m_engine;
  std::map<std::string, Download> m_downloads;
  unsigned int m_nextId = 1;
};

}  // namespace engine
