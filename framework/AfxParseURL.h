// Splits a URL into what a connection and a request need.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

// Fills the service type (AFX_INET_SERVICE_HTTP and so on), the server, the
// object (path and query; "/" when the URL has no path) and the port (the
// URL's own, or its scheme's default).  False when the text is not a URL;
// the outputs are then empty.
BOOL AfxParseURL(const wchar_t* url, DWORD& serviceType, std::wstring& server, std::wstring& object,
                 INTERNET_PORT& port);

constexpr DWORD AFX_INET_SERVICE_UNK = 0x1000;
constexpr DWORD AFX_INET_SERVICE_FTP = INTERNET_SERVICE_FTP;
constexpr DWORD AFX_INET_SERVICE_HTTP = INTERNET_SERVICE_HTTP;
constexpr DWORD AFX_INET_SERVICE_HTTPS = 0x1008;
