#include "framework/CInternetSession.h"

#include "framework/CInternetException.h"

CInternetSession::CInternetSession(const wchar_t* agent, DWORD_PTR context, DWORD accessType,
                                   const wchar_t* proxyName, const wchar_t* proxyBypass,
                                   DWORD flags)
    : m_session(::InternetOpenW(agent, accessType, proxyName, proxyBypass, flags)),
      m_context(context) {
  if (!m_session) AfxThrowInternetException(context);
}

CInternetSession::~CInternetSession() { Close(); }

bool CInternetSession::SetOption(DWORD option, DWORD value) {
  return m_session && ::InternetSetOptionW(m_session.Get(), option, &value, sizeof(value));
}

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const wchar_t* server,
                                                                     INTERNET_PORT port,
                                                                     const wchar_t* userName,
                                                                     const wchar_t* password) {
  HINTERNET connection = ::InternetConnectW(m_session.Get(), server, port, userName, password,
                                            INTERNET_SERVICE_HTTP, 0, m_context);
  if (connection == nullptr) AfxThrowInternetException(m_context);
  return std::make_unique<CHttpConnection>(connection, m_context);
}

void CInternetSession::Close() { m_session.Reset(); }
