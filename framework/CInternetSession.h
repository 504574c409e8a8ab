// An internet session over WinINet; connections opened from it share its
// agent, access type and options.  Closing the session closes what was
// opened from it.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "framework/CHttpConnection.h"
#include "framework/InternetHandle.h"

class CInternetSession {
 public:
  // Throws CInternetException when the session cannot be opened.
  explicit CInternetSession(const wchar_t* agent = nullptr, DWORD_PTR context = 1,
                            DWORD accessType = PRE_CONFIG_INTERNET_ACCESS,
                            const wchar_t* proxyName = nullptr,
                            const wchar_t* proxyBypass = nullptr, DWORD flags = 0);
  ~CInternetSession();
  CInternetSession(const CInternetSession&) = delete;
  CInternetSession& operator=(const CInternetSession&) = delete;

  // Sets a numeric session option (time-outs and the like); false on failure.
  bool SetOption(DWORD option, DWORD value);

  // Opens an HTTP connection; throws CInternetException on failure.
  std::unique_ptr<CHttpConnection> GetHttpConnection(const wchar_t* server, INTERNET_PORT port,
                                                     const wchar_t* userName = nullptr,
                                                     const wchar_t* password = nullptr);

  void Close();
  HINTERNET Handle() const { return m_session.Get(); }
  DWORD_PTR Context() const { return m_context; }

 private:
  CInternetHandle m_session;
  DWORD_PTR m_context;
};
