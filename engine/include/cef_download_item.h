// A download's progress and identity.
#pragma once

#include "include/cef_base.h"
#include "include/internal/cef_types.h"
#include "include/internal/cef_types_wrappers.h"

class CefDownloadItem : public virtual CefBase {
 public:
  virtual bool IsValid() = 0;
  virtual bool IsInProgress() = 0;
  virtual bool IsComplete() = 0;
  virtual bool IsCanceled() = 0;
  // Bytes per second.
  virtual int64 GetCurrentSpeed() = 0;
  // 0 to 100, or -1 while the total size is unknown.
  virtual int GetPercentComplete() = 0;
  virtual int64 GetTotalBytes() = 0;
  virtual int64 GetReceivedBytes() = 0;
  virtual CefTime GetStartTime() = 0;
  virtual CefTime GetEndTime() = 0;
  virtual CefString GetFullPath() = 0;
  virtual uint32 GetId() = 0;
  virtual CefString GetURL() = 0;
  // The address before any redirection.
  virtual CefString GetOriginalUrl() = 0;
  virtual CefString GetSuggestedFileName() = 0;
  virtual CefString GetContentDisposition() = 0;
  virtual CefString GetMimeType() = 0;
};
