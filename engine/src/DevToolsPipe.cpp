#include "src/DevToolsPipe.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "util/UniqueHandle.h"

namespace engine {
namespace {

// One read takes up to this much; a screencast frame takes a few dozen.
constexpr size_t kReadChunkBytes = 256 * 1024;

}  // namespace

void DevToolsPipe::EndCloser::operator()(void* handle) const {
  if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
}

DevToolsPipe::DevToolsPipe(void* fromBrowser, void* toBrowser, size_t maxMessageBytes)
    : m_fromBrowser(fromBrowser),
      m_toBrowser(toBrowser),
      m_maxMessageBytes(maxMessageBytes),
      m_buffer(kReadChunkBytes) {}

DevToolsPipe::~DevToolsPipe() = default;

bool DevToolsPipe::Send(const std::string& message) {
  std::lock_guard<std::mutex> lock(m_sendLock);
  if (!m_toBrowser || m_toBrowser.get() == INVALID_HANDLE_VALUE) return false;
  // The message and its end go out in one write where they fit in one,
  // so that the browser can act on it at once.
  std::string whole;
  whole.reserve(message.size() + 1);
  whole.append(message);
  whole.push_back('\0');
  size_t sent = 0;
  while (sent < whole.size()) {
    DWORD wrote = 0;
    const DWORD part = static_cast<DWORD>(std::min<size_t>(whole.size() - sent, 1u << 20));
    if (!::WriteFile(m_toBrowser.get(), whole.data() + sent, part, &wrote, nullptr) || wrote == 0) {
      return false;
    }
    sent += wrote;
  }
  return true;
}

DevToolsPipe::Received DevToolsPipe::Receive(std::string& message) {
  message.clear();
  bool skipping = false;
  for (;;) {
    if (m_bufferStart == m_bufferEnd) {
      DWORD got = 0;
      if (!::ReadFile(m_fromBrowser.get(), m_buffer.data(), static_cast<DWORD>(m_buffer.size()),
                      &got, nullptr) ||
          got == 0) {
        // A message cut off by the end was never finished; it is not one.
        message.clear();
        return Received::kEnded;
      }
      m_bufferStart = 0;
      m_bufferEnd = got;
    }
    const char* start = m_buffer.data() + m_bufferStart;
    const size_t available = m_bufferEnd - m_bufferStart;
    const char* end = static_cast<const char*>(std::memchr(start, '\0', available));
    const size_t part = end != nullptr ? static_cast<size_t>(end - start) : available;
    m_bufferStart += end != nullptr ? part + 1 : part;
    if (!skipping && message.size() + part > m_maxMessageBytes) {
      // Only the start is kept; the rest is read and thrown away.
      skipping = true;
      if (message.size() < kKeptPrefixBytes) {
        message.append(start, std::min(part, kKeptPrefixBytes - message.size()));
      } else {
        message.resize(kKeptPrefixBytes);
      }
      message.shrink_to_fit();
    } else if (!skipping) {
      message.append(start, part);
    }
    if (end != nullptr) return skipping ? Received::kTooLarge : Received::kMessage;
  }
}

void DevToolsPipe::CloseSending() {
  std::lock_guard<std::mutex> lock(m_sendLock);
  m_toBrowser.reset();
}

void DevToolsPipe::CancelReceive(unsigned long readerThreadId) {
  using CancelIo = BOOL(WINAPI*)(HANDLE);
  const auto cancel = reinterpret_cast<CancelIo>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "CancelSynchronousIo")));
  if (cancel == nullptr) return;
  const CKernelHandle thread(::OpenThread(THREAD_TERMINATE, FALSE, readerThreadId));
  if (thread) cancel(thread.Get());
}

}  // namespace engine
