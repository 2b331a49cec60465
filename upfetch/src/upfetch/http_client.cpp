#include "upfetch/http_client.h"

#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <vector>

#include "upfetch/text.h"
#include "upfetch/upfetch.h"

namespace upfetch {

namespace {

constexpr int kResolveTimeoutMs = 15000;
constexpr int kConnectTimeoutMs = 15000;
constexpr int kSendTimeoutMs = 30000;
constexpr int kReceiveTimeoutMs = 30000;
constexpr size_t kBlockBytes = 64 * 1024;

struct InternetCloser {
  void operator()(HINTERNET handle) const { ::WinHttpCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

bool QueryNumber(HINTERNET request, DWORD query, DWORD* number) {
  DWORD size = sizeof(*number);
  return ::WinHttpQueryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER,
                               WINHTTP_HEADER_NAME_BY_INDEX, number, &size,
                               WINHTTP_NO_HEADER_INDEX) != FALSE;
}

// -1 when the answer carries no usable Content-Length.
int64_t ContentLength(HINTERNET request) {
  wchar_t text[32] = {};
  DWORD size = sizeof(text);
  if (!::WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX,
                             text, &size, WINHTTP_NO_HEADER_INDEX)) {
    return -1;
  }
  int64_t value = 0;
  int digits = 0;
  for (const wchar_t* c = text; *c; ++c) {
    if (*c < L'0' || *c > L'9' || ++digits > 18) return -1;
    value = value * 10 + (*c - L'0');
  }
  return digits ? value : -1;
}

}  // namespace

FetchResult HttpGet(const std::string& address, const FetchHandlers& handlers) {
  std::wstring url = Widen(address);
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (url.empty() || !::WinHttpCrackUrl(url.c_str(), 0, 0, &parts) ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) ||
      parts.dwHostNameLength == 0) {
    return FetchResult::kBadAddress;
  }
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  InternetHandle session(::WinHttpOpen(L"Upfetch/1.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                       WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return FetchResult::kNetwork;
  ::WinHttpSetTimeouts(session.get(), kResolveTimeoutMs, kConnectTimeoutMs, kSendTimeoutMs,
                       kReceiveTimeoutMs);
  InternetHandle connection(::WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
  if (!connection) return FetchResult::kNetwork;
  const DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  InternetHandle request(::WinHttpOpenRequest(connection.get(), L"GET", path.c_str(), nullptr,
                                              WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                              flags | WINHTTP_FLAG_REFRESH));
  if (!request) return FetchResult::kNetwork;
  // Every byte is checked against the signed list, so a proxy must not hand out a stale copy.
  static const wchar_t kHeaders[] = L"Cache-Control: no-cache\r\nPragma: no-cache\r\n";
  if (!::WinHttpSendRequest(request.get(), kHeaders, static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA,
                            0, 0, 0) ||
      !::WinHttpReceiveResponse(request.get(), nullptr)) {
    return FetchResult::kNetwork;
  }
  DWORD status = 0;
  if (!QueryNumber(request.get(), WINHTTP_QUERY_STATUS_CODE, &status)) return FetchResult::kNetwork;
  if (status != 200) return FetchResult::kHttpStatus;

  const int64_t content_length = ContentLength(request.get());
  if (handlers.on_start && !handlers.on_start(content_length)) return FetchResult::kStopped;

  std::vector<uint8_t> block(kBlockBytes);
  int64_t received = 0;
  for (;;) {
    DWORD read = 0;
    if (!::WinHttpReadData(request.get(), block.data(), static_cast<DWORD>(block.size()), &read)) {
      return FetchResult::kNetwork;
    }
    if (read == 0) break;
    received += read;
    if (handlers.on_data && !handlers.on_data(block.data(), read)) return FetchResult::kStopped;
  }
  // A connection that closes early ends the body without an error from WinHTTP.
  if (content_length >= 0 && received != content_length) return FetchResult::kNetwork;
  return FetchResult::kOk;
}

int UpfetchResult(FetchResult result) {
  switch (result) {
    case FetchResult::kOk:
      return UF_OK;
    case FetchResult::kHttpStatus:
      return UF_ERROR_HTTP;
    case FetchResult::kBadAddress:
      return UF_ERROR_ARGUMENT;
    case FetchResult::kNetwork:
    case FetchResult::kStopped:
      break;
  }
  return UF_ERROR_NETWORK;
}

}  // namespace upfetch
