// A connection to one HTTP server, from which requests are opened.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "framework/CHttpFile.h"
#include "framework/InternetHandle.h"

class CHttpConnection {
 public:
  CHttpConnection(HINTERNET connection, DWORD_PTR context);
  CHttpConnection(const CHttpConnection&) = delete;
  CHttpConnection& operator=(const CHttpConnection&) = delete;

  // Opens a request; throws CInternetException on failure.
  std::unique_ptr<CHttpFile> OpenRequest(const wchar_t* verb, const wchar_t* objectName,
                                         const wchar_t* referrer = nullptr, DWORD_PTR context = 1,
                                         const wchar_t** acceptTypes = nullptr,
                                         const wchar_t* version = nullptr, DWORD flags = 0);

  void Close() { m_connection.Reset(); }

 private:
  CInternetHandle m_connection;
  DWORD_PTR m_context;
};
