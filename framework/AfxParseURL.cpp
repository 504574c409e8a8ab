#include "framework/AfxParseURL.h"

namespace {

DWORD ServiceOf(INTERNET_SCHEME scheme) {
  switch (scheme) {
    case INTERNET_SCHEME_HTTP:
      return AFX_INET_SERVICE_HTTP;
    case INTERNET_SCHEME_HTTPS:
      return AFX_INET_SERVICE_HTTPS;
    case INTERNET_SCHEME_FTP:
      return AFX_INET_SERVICE_FTP;
    default:
      return AFX_INET_SERVICE_UNK;
  }
}

}  // namespace

BOOL AfxParseURL(const wchar_t* url, DWORD& serviceType, std::wstring& server, std::wstring& object,
                 INTERNET_PORT& port) {
  serviceType = AFX_INET_SERVICE_UNK;
  server.clear();
  object.clear();
  port = 0;
  if (url == nullptr || *url == L'\0') return FALSE;

  // Asking for every part with a zero length and a non-null pointer makes
  // the system point into the URL itself instead of copying.
  URL_COMPONENTSW parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.dwSchemeLength = 1;
  parts.dwHostNameLength = 1;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (!::InternetCrackUrlW(url, 0, 0, &parts) || parts.dwHostNameLength == 0) return FALSE;

  serviceType = ServiceOf(parts.nScheme);
  server.assign(parts.lpszHostName, parts.dwHostNameLength);
  if (parts.lpszUrlPath != nullptr) object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo != nullptr) object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (object.empty() || object[0] != L'/') object.insert(object.begin(), L'/');
  port = parts.nPort;
  return TRUE;
}
