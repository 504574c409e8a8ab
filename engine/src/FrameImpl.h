// A frame of a browser's page, known to the browser program by a string id
// and to the application by a number.  Its operations go to the browser,
// which runs them on the UI thread.
#pragma once

#include <mutex>
#include <string>

#include "include/cef_frame.h"

namespace engine {

class BrowserImpl;

class FrameImpl : public CefFrame {
 public:
  FrameImpl(BrowserImpl* browser, const std::string& devToolsId, const std::string& parentId,
            bool isMain);

  const std::string& DevToolsId() const { return m_devToolsId; }
  const std::string& ParentDevToolsId() const { return m_parentId; }
  void SetUrl(const std::string& url);
  std::string Url() const;
  void SetName(const std::string& name);
  // The browser is closing: the frame stays a valid object, but no longer
  // reaches a page.
  void Detach();

  // CefFrame
  bool IsValid() override;
  void Undo() override;
  void Redo() override;
  void Cut() override;
  void Copy() override;
  void Paste() override;
  void Delete() override;
  void SelectAll() override;
  void ViewSource() override;
  void GetSource(CefRefPtr<CefStringVisitor> visitor) override;
  void GetText(CefRefPtr<CefStringVisitor> visitor) override;
  void LoadRequest(CefRefPtr<CefRequest> request) override;
  void LoadURL(const CefString& url) override;
  void LoadString(const CefString& string_val, const CefString& url) override;
  void ExecuteJavaScript(const CefString& code, const CefString& script_url,
                         int start_line) override;
  bool IsMain() override;
  bool IsFocused() override;
  CefString GetName() override;
  int64 GetIdentifier() override;
  CefRefPtr<CefFrame> GetParent() override;
  CefString GetURL() override;
  CefRefPtr<CefBrowser> GetBrowser() override;
  CefRefPtr<CefV8Context> GetV8Context() override;
  void VisitDOM(CefRefPtr<CefDOMVisitor> visitor) override;

 private:
  void Command(const char* name);
  CefRefPtr<BrowserImpl> Browser() const;

  const std::string m_devToolsId;
  const std::string m_parentId;
  const bool m_isMain;
  const int64 m_identifier;
  // Guards what changes after creation; any thread may ask.
  mutable std::mutex m_lock;
  BrowserImpl* m_browser;  // null once detached; the browser outlives its frames' use
  std::string m_url;
  std::string m_name;

  IMPLEMENT_REFCOUNTING(FrameImpl);
};

}  // namespace engine
