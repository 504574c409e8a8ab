#include "update/HttpClient.h"

#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <memory>
#include <vector>

#include "framework/AfxParseURL.h"
#include "framework/CInternetException.h"
#include "framework/CInternetSession.h"
#include "framework/CWinApp.h"

namespace {

constexpr const wchar_t* kRequestHeaders[] = {
    L"Content-Type: text/html; charset=utf-8",
    L"Connection: keep-alive",
    L"Cache-Control: max-age=0",
    L"Accept-Language: zh-CN,zh;q=0.8",
    L"Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8",
};
constexpr wchar_t kSendHeader[] = L"Content-Type: application/x-www-form-urlencoded";

// The body is collected in one zero-filled buffer whose last byte stays
// zero, so at most 102,399 bytes of it are read.
constexpr size_t kBodyBufferSize = 102400;

// A server that accepts and never answers would otherwise block start-up,
// with no window shown, for as long as the platform's defaults allow.  Each
// phase of the exchange is bounded, and so is the whole of it.
constexpr DWORD kConnectTimeoutMs = 3000;
constexpr DWORD kSendTimeoutMs = 3000;
constexpr DWORD kReceiveTimeoutMs = 5000;
constexpr auto kExchangeLimit = std::chrono::seconds(10);

// The system's UTF-8 form of the text, with its terminating zero byte.
std::vector<char> WideToUtf8Buffer(const std::wstring& text) {
  const int size =
      ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size < 1) return std::vector<char>(1, '\0');
  std::vector<char> buffer(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, buffer.data(), size, nullptr, nullptr);
  return buffer;
}

// NUL-terminated UTF-8 to NUL-terminated ANSI text, through UTF-16;
// characters the code page lacks become its default character.
std::vector<char> Utf8ToAnsiBuffer(const char* bytes) {
  const int units = ::MultiByteToWideChar(CP_UTF8, 0, bytes, -1, nullptr, 0);
  if (units < 1) return std::vector<char>(1, '\0');
  std::vector<wchar_t> wide(static_cast<size_t>(units), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, bytes, -1, wide.data(), units);
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
  if (size < 1) return std::vector<char>(1, '\0');
  std::vector<char> ansi(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, ansi.data(), size, nullptr, nullptr);
  return ansi;
}

std::wstring AnsiToWide(const char* text, UINT codePage) {
  const int units = ::MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
  if (units <= 1) return std::wstring();
  std::wstring wide(static_cast<size_t>(units), L'\0');
  ::MultiByteToWideChar(codePage, 0, text, -1, wide.data(), units);
  wide.resize(static_cast<size_t>(units) - 1);
  return wide;
}

// The URL as the system's ANSI code page reads its bytes.  (Padding the
// result to the narrow length with spaces, as a fixed-size buffer would,
// only put blanks into the request's path.)
std::wstring WidenUrl(const std::string& url) {
  if (url.empty()) return std::wstring();
  const int units =
      ::MultiByteToWideChar(CP_ACP, 0, url.data(), static_cast<int>(url.size()), nullptr, 0);
  if (units <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(units), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, url.data(), static_cast<int>(url.size()), wide.data(), units);
  return wide;
}

// Reads the body until the server has no more, the buffer is full or the
// exchange's time is up (an empty result then).  Throws CInternetException
// when reading fails.
std::wstring ReadBody(CHttpFile& request, std::chrono::steady_clock::time_point deadline) {
  std::vector<char> buffer(kBodyBufferSize, '\0');
  size_t total = 0;
  while (total < kBodyBufferSize - 1) {
    if (std::chrono::steady_clock::now() >= deadline) return std::wstring();
    const UINT got =
        request.Read(buffer.data() + total, static_cast<UINT>(kBodyBufferSize - 1 - total));
    if (got == 0) break;
    total += got;
  }
  // The body is taken as text up to its first zero byte, and passes through
  // the ANSI code page on its way to UTF-16, so characters that code page
  // lacks come back as its default character.
  const std::vector<char> ansi = Utf8ToAnsiBuffer(buffer.data());
  return AnsiToWide(ansi.data(), CP_THREAD_ACP);
}

}  // namespace

CHttpClient::CHttpClient() = default;

CHttpClient::~CHttpClient() = default;

std::wstring CHttpClient::Post(std::string url) {
  std::wstring result;
  try {
    const auto deadline = std::chrono::steady_clock::now() + kExchangeLimit;
    CInternetSession session(AfxGetAppName().c_str(), 1, PRE_CONFIG_INTERNET_ACCESS, nullptr,
                             nullptr, 0);
    session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
    session.SetOption(INTERNET_OPTION_SEND_TIMEOUT, kSendTimeoutMs);
    session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, kReceiveTimeoutMs);

    DWORD service = 0;
    std::wstring server, object;
    INTERNET_PORT port = 0;
    AfxParseURL(WidenUrl(url).c_str(), service, server, object, port);
    const std::vector<char> body = WideToUtf8Buffer(m_strFormData);

    // The connection outlives the request: closing it would close the
    // request with it.
    std::unique_ptr<CHttpConnection> connection;
    std::unique_ptr<CHttpFile> request;
    try {
      connection = session.GetHttpConnection(server.c_str(), port, nullptr, nullptr);
      request =
          connection->OpenRequest(L"POST", object.c_str(), nullptr, 1, nullptr, L"HTTP/1.1",
                                  INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_AUTO_REDIRECT);
      // Not every platform hands the session's time-outs down to requests.
      request->SetOption(INTERNET_OPTION_SEND_TIMEOUT, kSendTimeoutMs);
      request->SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, kReceiveTimeoutMs);
      for (const wchar_t* header : kRequestHeaders) {
        request->AddRequestHeaders(header, HTTP_ADDREQ_FLAG_ADD_IF_NEW);
      }
      request->SendRequest(kSendHeader, 0, body.data(), static_cast<DWORD>(body.size()));
      // Any status will do: error pages and redirects are bodies too.
      DWORD status = 0;
      request->QueryInfoStatusCode(status);
    } catch (const CInternetException&) {
      // The transport failed; what the server sent, if anything, is read
      // below like any other answer.
    }

    if (request) {
      try {
        result = ReadBody(*request, deadline);
      } catch (const CInternetException&) {
        result.clear();
      }
    }
  } catch (...) {
    // No session, or no memory: the request cannot be made.
    result.clear();
  }
  return result;
}
