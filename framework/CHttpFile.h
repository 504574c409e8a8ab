// One HTTP request and its response.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "framework/InternetHandle.h"

class CHttpFile {
 public:
  CHttpFile(HINTERNET request, DWORD_PTR context);
  CHttpFile(const CHttpFile&) = delete;
  CHttpFile& operator=(const CHttpFile&) = delete;

  // Adds request headers ("Name: value\r\n"...); false on failure.
  bool AddRequestHeaders(const wchar_t* headers, DWORD modifiers = HTTP_ADDREQ_FLAG_ADD_IF_NEW,
                         int length = -1);
  // Sets a numeric option of this request (time-outs and the like).
  bool SetOption(DWORD option, DWORD value);
  // Sends the request; throws CInternetException on failure.
  void SendRequest(const wchar_t* headers, DWORD headersLength, const void* optional,
                   DWORD optionalLength);
  // The response's status code; false when there is none.
  bool QueryInfoStatusCode(DWORD& statusCode) const;
  // Reads up to count bytes of the body; 0 at its end.  Throws
  // CInternetException on failure.
  UINT Read(void* buffer, UINT count);

  void Close() { m_request.Reset(); }
  HINTERNET Handle() const { return m_request.Get(); }

 private:
  CInternetHandle m_request;
  DWORD_PTR m_context;
};
