// The private channel to the browser program: two one-way pipes carrying
// DevTools messages as JSON text, each ended by a NUL character (the
// browser's --remote-debugging-pipe transport).  Nothing else on the
// machine can reach it, unlike a TCP port.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace engine {

class DevToolsPipe {
 public:
  // The largest message read whole; longer ones are skipped as they
  // arrive, never held in memory.  The largest legitimate messages are
  // pictures of the page: a lossless screenshot of a 3840 x 2160 window
  // showing noise measured 33 MB of text, a screencast frame of it 8.5 MB.
  // Twice the first leaves room for a 5K screen or a window across two
  // screens, and stays far below what the 32-bit program can hold a few
  // copies of while it parses and decodes one.
  static constexpr size_t kMaxMessageBytes = 64u << 20;
  // How much of a skipped message is kept: enough for the command id the
  // browser writes first in every answer.
  static constexpr size_t kKeptPrefixBytes = 64;

  // Takes over the two handles: the end the browser writes to, which this
  // reads, and the end the browser reads, which this writes.
  DevToolsPipe(void* fromBrowser, void* toBrowser, size_t maxMessageBytes = kMaxMessageBytes);
  ~DevToolsPipe();
  DevToolsPipe(const DevToolsPipe&) = delete;
  DevToolsPipe& operator=(const DevToolsPipe&) = delete;

  // Sends one message whole; false once the browser's end is gone.  Any
  // thread: messages from several threads never mix.
  bool Send(const std::string& message);

  enum class Received {
    kMessage,   // `message` holds the next message
    kTooLarge,  // a message over the limit went by; `message` holds its start
    kEnded,     // the browser closed its end (it has ended) or reading failed
  };
  // Blocks until the next message; one reading thread only.
  Received Receive(std::string& message);

  // Closes the end the browser reads: the browser sees its input end and
  // closes itself.  Sends fail afterwards.
  void CloseSending();
  // Ends a Receive waiting on another thread, where the platform can
  // (Windows can; Wine cannot cancel a read of a pipe to a native program,
  // which ends only when the browser does).
  void CancelReceive(unsigned long readerThreadId);

 private:
  // Owns one end of a pipe (a kernel handle), closing it once.
  struct EndCloser {
    void operator()(void* handle) const;
  };
  using End = std::unique_ptr<void, EndCloser>;

  End m_fromBrowser;
  std::mutex m_sendLock;  // guards m_toBrowser and whole messages
  End m_toBrowser;
  const size_t m_maxMessageBytes;
  // Bytes read past the end of the last message.
  std::vector<char> m_buffer;
  size_t m_bufferStart = 0;
  size_t m_bufferEnd = 0;
};

}  // namespace engine
