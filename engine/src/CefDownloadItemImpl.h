// A download as the engine tracks it.  The engine updates it as the
// download proceeds (on its own threads); the client reads it on the
// engine's UI thread.
#pragma once

#include <mutex>

#include "include/cef_download_item.h"

namespace engine {

class CefDownloadItemImpl : public CefDownloadItem {
 public:
  struct Data {
    bool inProgress = false;
    bool complete = false;
    bool canceled = false;
    int64 currentSpeed = 0;
    // Negative while unknown.
    int64 totalBytes = -1;
    int64 receivedBytes = 0;
    CefTime startTime;
    CefTime endTime;
    CefString fullPath;
    uint32 id = 0;
    CefString url;
    CefString originalUrl;
    CefString suggestedFileName;
    CefString contentDisposition;
    CefString mimeType;
  };

  CefDownloadItemImpl() = default;
  explicit CefDownloadItemImpl(const Data& data) : m_data(data) {}

  bool IsValid() override { return true; }
  bool IsInProgress() override { return Read().inProgress; }
  bool IsComplete() override { return Read().complete; }
  bool IsCanceled() override { return Read().canceled; }
  int64 GetCurrentSpeed() override { return Read().currentSpeed; }
  // From the byte counts: -1 while the total is unknown (or 0), otherwise
  // the received share in whole percent, at most 100.
  int GetPercentComplete() override;
  int64 GetTotalBytes() override { return Read().totalBytes; }
  int64 GetReceivedBytes() override { return Read().receivedBytes; }
  CefTime GetStartTime() override { return Read().startTime; }
  CefTime GetEndTime() override { return Read().endTime; }
  CefString GetFullPath() override { return Read().fullPath; }
  uint32 GetId() override { return Read().id; }
  CefString GetURL() override { return Read().url; }
  CefString GetOriginalUrl() override { return Read().originalUrl; }
  CefString GetSuggestedFileName() override { return Read().suggestedFileName; }
  CefString GetContentDisposition() override { return Read().contentDisposition; }
  CefString GetMimeType() override { return Read().mimeType; }

  // Engine side.
  Data GetData() const { return Read(); }
  void SetData(const Data& data);
  void SetId(uint32 id);
  // Also the original address, until SetOriginalUrl says otherwise.
  void SetUrl(const CefString& url);
  void SetOriginalUrl(const CefString& url);
  void SetSuggestedFileName(const CefString& name);
  void SetContentDisposition(const CefString& disposition);
  void SetMimeType(const CefString& mimeType);
  void SetFullPath(const CefString& fullPath);
  // A negative total means unknown.
  void SetBytes(int64 receivedBytes, int64 totalBytes);
  void SetCurrentSpeed(int64 bytesPerSecond);
  // The first time the download is in progress its start time is set to
  // now; when it ends (complete or canceled), its end time.  A download
  // that is not in progress has no speed.
  void SetState(bool inProgress, bool complete, bool canceled);

 private:
  Data Read() const;

  mutable std::mutex m_mutex;
  Data m_data;

  IMPLEMENT_REFCOUNTING(CefDownloadItemImpl);
};

}  // namespace engine
