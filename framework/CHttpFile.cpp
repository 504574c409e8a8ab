#include "framework/CHttpFile.h"

#include "framework/CInternetException.h"

CHttpFile::CHttpFile(HINTERNET request, DWORD_PTR context)
    : m_request(request), m_context(context) {}

bool CHttpFile::AddRequestHeaders(const wchar_t* headers, DWORD modifiers, int length) {
  return ::HttpAddRequestHeadersW(m_request.Get(), headers, static_cast<DWORD>(length), modifiers);
}

bool CHttpFile::SetOption(DWORD option, DWORD value) {
  return ::InternetSetOptionW(m_request.Get(), option, &value, sizeof(value));
}

void CHttpFile::SendRequest(const wchar_t* headers, DWORD headersLength, const void* optional,
                            DWORD optionalLength) {
  if (!::HttpSendRequestW(m_request.Get(), headers, headersLength, const_cast<void*>(optional),
                          optionalLength)) {
    AfxThrowInternetException(m_context);
  }
}

bool CHttpFile::QueryInfoStatusCode(DWORD& statusCode) const {
  DWORD size = sizeof(statusCode);
  return ::HttpQueryInfoW(m_request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                          &statusCode, &size, nullptr);
}

UINT CHttpFile::Read(void* buffer, UINT count) {
  DWORD read = 0;
  if (!::InternetReadFile(m_request.Get(), buffer, count, &read)) {
    AfxThrowInternetException(m_context);
  }
  return read;
}
