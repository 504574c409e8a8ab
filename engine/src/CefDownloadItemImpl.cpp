#include "src/CefDownloadItemImpl.h"

namespace engine {
namespace {

bool IsSet(const CefTime& time) { return time.year != 0; }

}  // namespace

int CefDownloadItemImpl::GetPercentComplete() {
  const Data data = Read();
  if (data.totalBytes <= 0) return -1;
  if (data.receivedBytes >= data.totalBytes) return 100;
  if (data.receivedBytes <= 0) return 0;
  // In floating point, so that no byte count can overflow the product.
  return static_cast<int>(static_cast<double>(data.receivedBytes) * 100.0 /
                          static_cast<double>(data.totalBytes));
}

void CefDownloadItemImpl::SetData(const Data& data) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_data = data;
}

void CefDownloadItemImpl::SetId(uint32 id) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_data.id = id;
}

void CefDownloadItemImpl::SetUrl(const CefString& url) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_data.url = url;
  if (m_data.originalUrl.empty()) m_data.originalUrl = url;
}

void CefDownloadItemImpl::SetOriginalUrl(const CefString& url) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_data.originalUrl = url;
}

void CefDownloadItemImpl::SetSuggestedFileName(const CefString& name) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_data.suggestedFileName = name;
}

void CefDownloadItemImpl::SetContentDisposition(const CefString& disposition) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_data.contentDisposition = disposition;
}

void CefDownloadItemImpl::SetMimeType(const CefString& mimeType) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_data.mimeType = mimeType;
}

void CefDownloadItemImpl::SetFullPath(const CefString& fullPath) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_data.fullPath = fullPath;
}

void CefDownloadItemImpl::SetBytes(int64 receivedBytes, int64 totalBytes) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_data.receivedBytes = receivedBytes;
  m_data.totalBytes = totalBytes < 0 ? -1 : totalBytes;
}

void CefDownloadItemImpl::SetCurrentSpeed(int64 bytesPerSecond) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_data.currentSpeed = bytesPerSecond;
}

void CefDownloadItemImpl::SetState(bool inProgress, bool complete, bool canceled) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (inProgress && !IsSet(m_data.startTime)) m_data.startTime.Now();
  if (!inProgress && (complete || canceled) && !IsSet(m_data.endTime)) m_data.endTime.Now();
  if (!inProgress) m_data.currentSpeed = 0;
  m_data.inProgress = inProgress;
  m_data.complete = complete;
  m_data.canceled = canceled;
}

CefDownloadItemImpl::Data CefDownloadItemImpl::Read() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_data;
}

}  // namespace engine
