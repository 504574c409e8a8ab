#include "browser/SentWindowText.h"

#include <atomic>
#include <utility>

namespace {

// The text of the send under way, or null.  The sender sets it on the
// engine's thread and the window reads it on the main thread.
std::atomic<const void*> g_sentText{nullptr};

}  // namespace

CSentWindowText::CSentWindowText(std::string text)
    : m_text(std::move(text)), m_previous(g_sentText.exchange(m_text.c_str())) {}

CSentWindowText::~CSentWindowText() { g_sentText.store(m_previous); }

bool CSentWindowText::IsBeingSent(const void* address) {
  return address != nullptr && g_sentText.load() == address;
}
