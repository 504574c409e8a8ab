// A text that the client hands to its main window by address, with a sent
// message that the window handles while the sender waits.
#pragma once

#include <string>

// Any process can send the main window its private messages, and a number
// another process put in a message is no address in this one: reading
// through it would crash the client or show what lies there.  So the
// window reads a text only when its address is the one registered here by
// the sender for the duration of its send.
class CSentWindowText {
 public:
  explicit CSentWindowText(std::string text);
  ~CSentWindowText();
  CSentWindowText(const CSentWindowText&) = delete;
  CSentWindowText& operator=(const CSentWindowText&) = delete;

  // The NUL-terminated text, valid while this object lives.
  const char* Text() const { return m_text.c_str(); }

  // Whether address is the text of a send under way in this process.  Any
  // thread.
  static bool IsBeingSent(const void* address);

 private:
  std::string m_text;
  // The registration this one covers up, given back when this one ends; a
  // send made while another waits (a window message handled meanwhile) is
  // the only way two are under way at once.
  const void* m_previous;
};
