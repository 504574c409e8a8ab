#include "src/FrameImpl.h"

#include <atomic>

#include "include/cef_v8.h"
#include "src/BrowserImpl.h"

namespace engine {
namespace {

int64 NextFrameIdentifier() {
  static std::atomic<int64> next{1};
  return next++;
}

}  // namespace

FrameImpl::FrameImpl(BrowserImpl* browser, const std::string& devToolsId,
                     const std::string& parentId, bool isMain)
    : m_devToolsId(devToolsId),
      m_parentId(parentId),
      m_isMain(isMain),
      m_identifier(NextFrameIdentifier()),
      m_browser(browser) {}

void FrameImpl::SetUrl(const std::string& url) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_url = url;
}

std::string FrameImpl::Url() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_url;
}

void FrameImpl::SetName(const std::string& name) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_name = name;
}

void FrameImpl::Detach() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_browser = nullptr;
}

CefRefPtr<BrowserImpl> FrameImpl::Browser() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_browser;
}

bool FrameImpl::IsValid() { return Browser() != nullptr; }

void FrameImpl::Command(const char* name) {
  if (CefRefPtr<BrowserImpl> browser = Browser()) {
    browser->Evaluate(m_devToolsId, std::string("document.execCommand('") + name + "')");
  }
}

void FrameImpl::Undo() { Command("undo"); }
void FrameImpl::Redo() { Command("redo"); }
void FrameImpl::Cut() { Command("cut"); }
void FrameImpl::Copy() { Command("copy"); }
void FrameImpl::Paste() { Command("paste"); }
void FrameImpl::Delete() { Command("delete"); }
void FrameImpl::SelectAll() { Command("selectAll"); }

void FrameImpl::ViewSource() {}
void FrameImpl::GetSource(CefRefPtr<CefStringVisitor> visitor) { (void)visitor; }
void FrameImpl::GetText(CefRefPtr<CefStringVisitor> visitor) { (void)visitor; }

void FrameImpl::LoadRequest(CefRefPtr<CefRequest> request) {
  if (request) LoadURL(request->GetURL());
}

void FrameImpl::LoadURL(const CefString& url) {
  if (CefRefPtr<BrowserImpl> browser = Browser()) browser->Navigate(m_devToolsId, url.ToString());
}

void FrameImpl::LoadString(const CefString& string_val, const CefString& url) {
  if (CefRefPtr<BrowserImpl> browser = Browser()) {
    browser->LoadDocument(m_devToolsId, string_val.ToString(), url.ToString());
  }
}

void FrameImpl::ExecuteJavaScript(const CefString& code, const CefString& script_url,
                                  int start_line) {
  (void)script_url, (void)start_line;
  if (CefRefPtr<BrowserImpl> browser = Browser()) browser->Evaluate(m_devToolsId, code.ToString());
}

bool FrameImpl::IsMain() { return m_isMain; }

bool FrameImpl::IsFocused() { return m_isMain; }

CefString FrameImpl::GetName() {
  std::lock_guard<std::mutex> lock(m_lock);
  return CefString(m_name);
}

int64 FrameImpl::GetIdentifier() { return m_identifier; }

CefRefPtr<CefFrame> FrameImpl::GetParent() {
  CefRefPtr<BrowserImpl> browser = Browser();
  if (!browser || m_parentId.empty()) return nullptr;
  return browser->FrameByDevToolsId(m_parentId).get();
}

CefString FrameImpl::GetURL() { return CefString(Url()); }

CefRefPtr<CefBrowser> FrameImpl::GetBrowser() { return Browser().get(); }

CefRefPtr<CefV8Context> FrameImpl::GetV8Context() { return nullptr; }

void FrameImpl::VisitDOM(CefRefPtr<CefDOMVisitor> visitor) { (void)visitor; }

}  // namespace engine
