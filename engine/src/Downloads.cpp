#include "src/Downloads.h"

#include <windows.h>
#include <commdlg.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>

#include "include/cef_download_item.h"
#include "src/BrowserImpl.h"
#include "src/CefDownloadItemImpl.h"
#include "src/Engine.h"
#include "util/UniqueHandle.h"

namespace engine {
namespace {

enum class Choice { kWaiting, kChosen, kCancelled };

// The name a proposal stands for in the save dialog: the last part of a
// path, or of a URL's path, since a URL is no file name.
std::wstring FileNameOf(const std::wstring& proposal) {
  std::wstring name = proposal;
  const size_t scheme = name.find(L"://");
  if (scheme != std::wstring::npos) {
    name = name.substr(0, name.find_first_of(L"?#"));
    const size_t slash = name.find_last_of(L'/');
    name =
        slash == std::wstring::npos || slash < scheme + 3 ? std::wstring() : name.substr(slash + 1);
  }
  // What Windows does not allow in a file name is replaced.
  for (wchar_t& c : name) {
    if (wcschr(L"<>:\"|?*", c) != nullptr || c < 0x20) c = L'_';
  }
  return name;
}

class BeforeDownloadCallback : public CefBeforeDownloadCallback {
 public:
  explicit BeforeDownloadCallback(const std::string& guid) : m_guid(guid) {}
  // Any thread; the answer is carried out on the UI thread.
  void Continue(const CefString& download_path, bool show_dialog) override {
    Engine* engine = Engine::Get();
    if (engine == nullptr || m_used.exchange(true)) return;
    const std::string guid = m_guid;
    const std::wstring path = download_path.ToWString();
    engine->Ui().Post([guid, path, show_dialog] {
      if (Engine* e = Engine::Get()) e->DownloadList().Continue(guid, path, show_dialog);
    });
  }

 private:
  const std::string m_guid;
  std::atomic<bool> m_used{false};
  IMPLEMENT_REFCOUNTING(BeforeDownloadCallback);
};

class DownloadItemCallback : public CefDownloadItemCallback {
 public:
  explicit DownloadItemCallback(const std::string& guid) : m_guid(guid) {}
  void Cancel() override {
    const std::string guid = m_guid;
    if (Engine* engine = Engine::Get()) {
      engine->Ui().Post([guid] {
        if (Engine* e = Engine::Get()) e->DownloadList().Cancel(guid);
      });
    }
  }

 private:
  const std::string m_guid;
  IMPLEMENT_REFCOUNTING(DownloadItemCallback);
};

// Where the save dialog opens: the folder of a proposed local path, else
// the user's downloads folder.  Without one the dialog would open in the
// program's current folder, which is rarely where a user keeps files.
std::wstring InitialFolderFor(const std::wstring& proposal) {
  const size_t slash = proposal.find_last_of(L"\\/");
  if (proposal.find(L"://") == std::wstring::npos && slash != std::wstring::npos) {
    return proposal.substr(0, slash + 1);
  }
  wchar_t* known = nullptr;
  if (FAILED(::SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &known))) {
    ::CoTaskMemFree(known);
    return std::wstring();
  }
  const CCoTaskMem owner(known);
  return known;
}

}  // namespace

struct Downloads::Download {
  std::string guid;
  CefRefPtr<BrowserImpl> browser;
  CefRefPtr<CefDownloadItemImpl> item;
  Choice choice = Choice::kWaiting;
  std::wstring target;
  std::wstring partial;  // where the browser program writes it
  bool complete = false;
  bool failed = false;
};

Downloads::Downloads(Engine& engine) : m_engine(engine) {}

Downloads::~Downloads() = default;

void Downloads::OnEvent(const std::string& method, const Json::Value& params) {
  CheckThread(m_engine.Ui());
  if (method == "Browser.downloadWillBegin") {
    Begin(params);
  } else if (method == "Browser.downloadProgress") {
    Progress(params);
  }
}

void Downloads::Begin(const Json::Value& params) {
  const std::string guid = params["guid"].asString();
  CefRefPtr<BrowserImpl> browser = m_engine.FindByFrame(params["frameId"].asString());
  Download& download = m_downloads[guid];
  download.guid = guid;
  download.browser = browser;
  download.partial = m_engine.DownloadFolder() + CefString(guid).ToWString();
  download.item = new CefDownloadItemImpl();
  download.item->SetId(m_nextId++);
  download.item->SetUrl(CefString(params["url"].asString()));
  download.item->SetSuggestedFileName(CefString(params["suggestedFilename"].asString()));
  download.item->SetState(true, false, false);
  CefRefPtr<CefDownloadHandler> handler =
      browser && browser->GetClient() ? browser->GetClient()->GetDownloadHandler() : nullptr;
  if (!handler) {
    // Without a handler nobody decides where the file goes: the download
    // is not kept, as with the engine's own default.
    Cancel(guid);
    return;
  }
  handler->OnBeforeDownload(browser.get(), download.item.get(),
                            CefString(params["suggestedFilename"].asString()),
                            new BeforeDownloadCallback(guid));
}

void Downloads::Progress(const Json::Value& params) {
  const auto found = m_downloads.find(params["guid"].asString());
  if (found == m_downloads.end()) return;
  Download& download = found->second;
  const std::string state = params["state"].asString();
  download.item->SetBytes(params["receivedBytes"].asInt64(), params["totalBytes"].asInt64());
  if (state == "completed") {
    download.complete = true;
    Finish(download);
  } else if (state == "canceled") {
    download.failed = true;
    download.item->SetState(false, false, true);
    Report(download);
    m_downloads.erase(found);
  } else {
    Report(download);
  }
}

void Downloads::Continue(const std::string& guid, const std::wstring& path, bool showDialog) {
  CheckThread(m_engine.Ui());
  const auto found = m_downloads.find(guid);
  if (found == m_downloads.end() || found->second.choice != Choice::kWaiting) return;
  const std::wstring target = showDialog ? AskForPath(found->second, path) : path;
  // The dialog runs the thread's messages: the download may have ended
  // meanwhile.
  const auto still = m_downloads.find(guid);
  if (still == m_downloads.end()) return;
  if (target.empty()) {
    Cancel(guid);
    return;
  }
  Download& download = still->second;
  download.choice = Choice::kChosen;
  download.target = target;
  download.item->SetFullPath(CefString(target));
  Finish(download);
}

std::wstring Downloads::AskForPath(Download& download, const std::wstring& proposed) {
  const std::wstring folder = InitialFolderFor(proposed);
  std::wstring initial = FileNameOf(proposed.substr(
      proposed.find(L"://") == std::wstring::npos ? proposed.find_last_of(L"\\/") + 1 : 0));
  if (initial.empty()) initial = FileNameOf(download.item->GetSuggestedFileName().ToWString());
  std::wstring buffer(32768, L'\0');
  initial.copy(buffer.data(), std::min(initial.size(), buffer.size() - 1));
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  HWND view = download.browser ? download.browser->GetWindowHandle() : nullptr;
  dialog.hwndOwner = view != nullptr ? ::GetAncestor(view, GA_ROOT) : nullptr;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrFilter = L"*.*\0*.*\0";
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  // Once the engine is closing, or when the dialog is closed by it, the
  // download is given up as if the user had cancelled the dialog.
  bool chosen = false;
  m_engine.Dialogs().Run([&] { chosen = ::GetSaveFileNameW(&dialog) != FALSE; });
  if (!chosen) return std::wstring();
  return buffer.c_str();
}

void Downloads::Finish(Download& download) {
  if (!download.complete || download.choice == Choice::kWaiting) {
    Report(download);
    return;
  }
  const std::string guid = download.guid;
  if (download.choice == Choice::kChosen &&
      ::MoveFileExW(download.partial.c_str(), download.target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    download.item->SetState(false, true, false);
  } else {
    ::DeleteFileW(download.partial.c_str());
    download.item->SetState(false, false, true);
  }
  Report(download);
  m_downloads.erase(guid);
}

void Downloads::Report(Download& download) {
  if (!download.browser || !download.browser->GetClient()) return;
  if (CefRefPtr<CefDownloadHandler> handler = download.browser->GetClient()->GetDownloadHandler()) {
    handler->OnDownloadUpdated(download.browser.get(), download.item.get(),
                               new DownloadItemCallback(download.guid));
  }
}

void Downloads::Cancel(const std::string& guid) {
  CheckThread(m_engine.Ui());
  const auto found = m_downloads.find(guid);
  if (found == m_downloads.end()) return;
  Json::Value params(Json::objectValue);
  params["guid"] = guid;
  m_engine.DevTools().Send("Browser.cancelDownload", params);
  ::DeleteFileW(found->second.partial.c_str());
  found->second.choice = Choice::kCancelled;
  found->second.item->SetState(false, false, true);
  Report(found->second);
  m_downloads.erase(found);
}

void Downloads::Abandon() {
  for (auto& entry : m_downloads) ::DeleteFileW(entry.second.partial.c_str());
  m_downloads.clear();
}

}  // namespace engine
