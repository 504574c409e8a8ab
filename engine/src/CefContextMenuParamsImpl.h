// What the engine knows about a context-menu request, handed to the client
// as it was gathered.
#pragma once

#include <vector>

#include "include/cef_context_menu_handler.h"

namespace engine {

class CefContextMenuParamsImpl : public CefContextMenuParams {
 public:
  // Filled in by the engine from the page's context-menu event.
  struct Data {
    int x = 0;
    int y = 0;
    // Flags are kept as plain ints, so that they can be combined with |.
    int typeFlags = CM_TYPEFLAG_NONE;
    CefString linkUrl;
    CefString unfilteredLinkUrl;
    CefString sourceUrl;
    bool hasImageContents = false;
    CefString pageUrl;
    CefString frameUrl;
    CefString frameCharset;
    MediaType mediaType = CM_MEDIATYPE_NONE;
    int mediaStateFlags = CM_MEDIAFLAG_NONE;
    CefString selectionText;
    CefString misspelledWord;
    std::vector<CefString> dictionarySuggestions;
    bool isEditable = false;
    bool isSpellCheckEnabled = false;
    int editStateFlags = CM_EDITFLAG_NONE;
  };

  explicit CefContextMenuParamsImpl(const Data& data) : m_data(data) {}

  int GetXCoord() override { return m_data.x; }
  int GetYCoord() override { return m_data.y; }
  TypeFlags GetTypeFlags() override { return static_cast<TypeFlags>(m_data.typeFlags); }
  CefString GetLinkUrl() override { return m_data.linkUrl; }
  CefString GetUnfilteredLinkUrl() override { return m_data.unfilteredLinkUrl; }
  CefString GetSourceUrl() override { return m_data.sourceUrl; }
  bool HasImageContents() override { return m_data.hasImageContents; }
  CefString GetPageUrl() override { return m_data.pageUrl; }
  CefString GetFrameUrl() override { return m_data.frameUrl; }
  CefString GetFrameCharset() override { return m_data.frameCharset; }
  MediaType GetMediaType() override { return m_data.mediaType; }
  MediaStateFlags GetMediaStateFlags() override {
    return static_cast<MediaStateFlags>(m_data.mediaStateFlags);
  }
  CefString GetSelectionText() override { return m_data.selectionText; }
  CefString GetMisspelledWord() override { return m_data.misspelledWord; }
  // True when there are suggestions.
  bool GetDictionarySuggestions(std::vector<CefString>& suggestions) override {
    suggestions = m_data.dictionarySuggestions;
    return !suggestions.empty();
  }
  bool IsEditable() override { return m_data.isEditable; }
  bool IsSpellCheckEnabled() override { return m_data.isSpellCheckEnabled; }
  EditStateFlags GetEditStateFlags() override {
    return static_cast<EditStateFlags>(m_data.editStateFlags);
  }

 private:
  const Data m_data;

  IMPLEMENT_REFCOUNTING(CefContextMenuParamsImpl);
};

}  // namespace engine
