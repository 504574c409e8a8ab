// The page's context menu: the client sees the engine's default menu for
// what was clicked and may change or empty it; what is left is shown as a
// native menu at the pointer.
#include <windows.h>

#include <cmath>

#include "src/BrowserImpl.h"
#include "src/CefContextMenuParamsImpl.h"
#include "src/CefMenuModelImpl.h"
#include "src/Engine.h"
#include "src/FrameImpl.h"

namespace engine {

void BrowserImpl::OnContextMenu(const Json::Value& event) {
  if (!m_client) return;
  CefRefPtr<CefContextMenuHandler> handler = m_client->GetContextMenuHandler();
  CefRefPtr<CefFrame> frame = GetMainFrame();
  const std::string frameUrl = event["frame"].asString();
  {
    std::lock_guard<std::mutex> lock(m_framesLock);
    for (const auto& entry : m_frames) {
      if (entry.second->Url() == frameUrl) frame = entry.second.get();
    }
  }
  // The page tells the place in CSS pixels; the client and the menu get it
  // in the window's pixels.
  const double scale = m_view.DeviceScale();
  CefContextMenuParamsImpl::Data data;
  data.x = static_cast<int>(std::lround(event["x"].asDouble() * scale));
  data.y = static_cast<int>(std::lround(event["y"].asDouble() * scale));
  data.linkUrl = event["link"].asString();
  data.sourceUrl = event["src"].asString();
  data.pageUrl = GetMainFrame() ? GetMainFrame()->GetURL().ToString() : std::string();
  data.frameUrl = frameUrl;
  data.selectionText = event["selection"].asString();
  data.isEditable = event["editable"].asBool();
  const std::string media = event["media"].asString();
  data.mediaType = media == "IMG"     ? CM_MEDIATYPE_IMAGE
                   : media == "VIDEO" ? CM_MEDIATYPE_VIDEO
                   : media == "AUDIO" ? CM_MEDIATYPE_AUDIO
                                      : CM_MEDIATYPE_NONE;
  int flags = CM_TYPEFLAG_PAGE;
  if (frame && !frame->IsMain()) flags |= CM_TYPEFLAG_FRAME;
  if (!data.linkUrl.empty()) flags |= CM_TYPEFLAG_LINK;
  if (data.mediaType != CM_MEDIATYPE_NONE) flags |= CM_TYPEFLAG_MEDIA;
  if (!data.selectionText.empty()) flags |= CM_TYPEFLAG_SELECTION;
  if (data.isEditable) flags |= CM_TYPEFLAG_EDITABLE;
  data.typeFlags = flags;
  CefRefPtr<CefContextMenuParams> params = new CefContextMenuParamsImpl(data);

  // The engine's default menu for what was clicked.
  CefRefPtr<CefMenuModel> model = new CefMenuModelImpl();
  if (data.isEditable) {
    model->AddItem(MENU_ID_UNDO, "撤消");
    model->AddItem(MENU_ID_REDO, "重做");
    model->AddSeparator();
    model->AddItem(MENU_ID_CUT, "剪切");
    model->AddItem(MENU_ID_COPY, "复制");
    model->AddItem(MENU_ID_PASTE, "粘贴");
    model->AddItem(MENU_ID_DELETE, "删除");
    model->AddSeparator();
    model->AddItem(MENU_ID_SELECT_ALL, "全选");
  } else if (!data.selectionText.empty()) {
    model->AddItem(MENU_ID_COPY, "复制");
  } else {
    model->AddItem(MENU_ID_BACK, "返回");
    model->SetEnabled(MENU_ID_BACK, CanGoBack());
    model->AddItem(MENU_ID_FORWARD, "前进");
    model->SetEnabled(MENU_ID_FORWARD, CanGoForward());
    model->AddSeparator();
    model->AddItem(MENU_ID_RELOAD, "重新加载");
  }
  if (handler) handler->OnBeforeContextMenu(this, frame, params, model);
  if (model->GetCount() == 0 || m_closed) return;
  if (handler && handler->RunContextMenu(this, frame, params, model, nullptr)) return;

  // Shown by a task of its own: the menu runs the thread's messages until
  // it closes, and this event's handling should not wait for that.
  CefRefPtr<BrowserImpl> self(this);
  Engine::Get()->Ui().Post([self, handler, frame, params, model, data] {
    HWND window = self->m_window;
    if (window == nullptr) return;
    HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr) return;
    for (int i = 0; i < model->GetCount(); ++i) {
      if (model->GetTypeAt(i) == MENUITEMTYPE_SEPARATOR) {
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        continue;
      }
      UINT itemFlags = MF_STRING;
      if (!model->IsEnabledAt(i)) itemFlags |= MF_GRAYED;
      if (model->IsCheckedAt(i)) itemFlags |= MF_CHECKED;
      ::AppendMenuW(menu, itemFlags, static_cast<UINT_PTR>(model->GetCommandIdAt(i)),
                    model->GetLabelAt(i).ToWString().c_str());
    }
    POINT point = {data.x, data.y};
    ::ClientToScreen(window, &point);
    const int command =
        static_cast<int>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                          point.x, point.y, 0, window, nullptr));
    ::DestroyMenu(menu);
    if (command != 0 && !self->m_closed) {
      const bool handled = handler && handler->OnContextMenuCommand(self.get(), frame, params,
                                                                    command, EVENTFLAG_NONE);
      if (!handled) {
        switch (command) {
          case MENU_ID_BACK:
            self->GoBack();
            break;
          case MENU_ID_FORWARD:
            self->GoForward();
            break;
          case MENU_ID_RELOAD:
            self->Reload();
            break;
          case MENU_ID_UNDO:
            frame->Undo();
            break;
          case MENU_ID_REDO:
            frame->Redo();
            break;
          case MENU_ID_CUT:
            frame->Cut();
            break;
          case MENU_ID_COPY:
            frame->Copy();
            break;
          case MENU_ID_PASTE:
            frame->Paste();
            break;
          case MENU_ID_DELETE:
            frame->Delete();
            break;
          case MENU_ID_SELECT_ALL:
            frame->SelectAll();
            break;
          default:
            break;
        }
      }
    }
    if (handler && !self->m_closed) handler->OnContextMenuDismissed(self.get(), frame);
  });
}

}  // namespace engine
