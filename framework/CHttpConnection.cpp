#include "framework/CHttpConnection.h"

#include "framework/CInternetException.h"

CHttpConnection::CHttpConnection(HINTERNET connection, DWORD_PTR context)
    : m_connection(connection), m_context(context) {}

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(const wchar_t* verb,
                                                        const wchar_t* objectName,
                                                        const wchar_t* referrer, DWORD_PTR context,
                                                        const wchar_t** acceptTypes,
                                                        const wchar_t* version, DWORD flags) {
  HINTERNET request = ::HttpOpenRequestW(m_connection.Get(), verb, objectName, version, referrer,
                                         acceptTypes, flags, context);
  if (request == nullptr) AfxThrowInternetException(context);
  return std::make_unique<CHttpFile>(request, context);
}
