#include "platform/http_session_win32.h"

// <windows.h> first: WinHTTP's header needs its types.
#include <windows.h>
// Then the rest.
#include <winhttp.h>

#include "platform/wide_text_win32.h"

namespace velorin {
namespace {

constexpr DWORD kPiece = 64 * 1024;

/// A WinHTTP handle closed when it goes.
class Handle {
 public:
  explicit Handle(HINTERNET handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != nullptr) WinHttpCloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HINTERNET get() const { return handle_; }

 private:
  HINTERNET handle_;
};

struct UrlParts {
  std::wstring host;
  std::wstring path;  ///< with the query
  INTERNET_PORT port = 0;
  bool secure = false;
};

std::optional<UrlParts> PartsOf(const std::string& url) {
  const std::wstring wide = Widen(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts)) return {};
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return {};
  UrlParts result;
  result.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  result.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo != nullptr)
    result.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (result.path.empty()) result.path = L"/";
  result.port = parts.nPort;
  result.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return result;
}

HINTERNET OpenRequest(HINTERNET connection, const UrlParts& parts, const HttpRequest& request) {
  const HINTERNET handle =
      WinHttpOpenRequest(connection, L"GET", parts.path.c_str(), nullptr, WINHTTP_NO_REFERER,
                         WINHTTP_DEFAULT_ACCEPT_TYPES, parts.secure ? WINHTTP_FLAG_SECURE : 0);
  if (handle == nullptr) return nullptr;
  const int timeout = static_cast<int>(request.timeout.count());
  WinHttpSetTimeouts(handle, timeout, timeout, timeout, timeout);
  // Where a redirect leads is the caller's to decide; no cookies are kept.
  DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  WinHttpSetOption(handle, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
  DWORD disabled = WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES;
  WinHttpSetOption(handle, WINHTTP_OPTION_DISABLE_FEATURE, &disabled, sizeof disabled);
  for (const auto& [name, value] : request.headers) {
    const std::wstring line = Widen(name + ": " + value);
    WinHttpAddRequestHeaders(handle, line.c_str(), static_cast<DWORD>(line.size()),
                             WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
  }
  return handle;
}

std::optional<DWORD> NumberHeader(HINTERNET request, DWORD which) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!WinHttpQueryHeaders(request, which | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                           &value, &size, WINHTTP_NO_HEADER_INDEX))
    return std::nullopt;
  return value;
}

std::string RawHeaders(HINTERNET request) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                      WINHTTP_NO_OUTPUT_BUFFER, &size, WINHTTP_NO_HEADER_INDEX);
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                           text.data(), &size, WINHTTP_NO_HEADER_INDEX))
    return {};
  text.resize(size / sizeof(wchar_t));
  return Narrow(text).value_or(std::string());
}

// The body, up to the request's limit and no further.
HttpOutcome ReadBody(HINTERNET handle, const HttpRequest& request, const HttpCancel& cancel,
                     std::string& body) {
  std::string piece(kPiece, '\0');
  for (;;) {
    if (cancel.Cancelled()) return HttpOutcome::kCancelled;
    DWORD got = 0;
    if (!WinHttpReadData(handle, piece.data(), kPiece, &got)) return HttpOutcome::kFailed;
    if (got == 0) return HttpOutcome::kAnswered;
    body.append(piece.data(), got);
    if (static_cast<std::int64_t>(body.size()) > request.mostBytes) return HttpOutcome::kTooLarge;
  }
}

HttpReply Exchange(HINTERNET handle, const HttpRequest& request, const HttpCancel& cancel) {
  HttpReply reply;
  if (!WinHttpSendRequest(handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                          0) ||
      !WinHttpReceiveResponse(handle, nullptr))
    return reply;
  if (cancel.Cancelled()) {
    reply.outcome = HttpOutcome::kCancelled;
    return reply;
  }
  reply.status = static_cast<int>(NumberHeader(handle, WINHTTP_QUERY_STATUS_CODE).value_or(0));
  reply.headers = RawHeaders(handle);
  // A length past the limit is refused before a byte of the body is read.
  const std::optional<DWORD> length = NumberHeader(handle, WINHTTP_QUERY_CONTENT_LENGTH);
  if (length && static_cast<std::int64_t>(*length) > request.mostBytes) {
    reply.outcome = HttpOutcome::kTooLarge;
    return reply;
  }
  reply.outcome = ReadBody(handle, request, cancel, reply.body);
  if (reply.outcome != HttpOutcome::kAnswered) reply.body.clear();
  return reply;
}

}  // namespace

HttpSession::HttpSession(const std::string& userAgent)
    : session_(WinHttpOpen(Widen(userAgent).c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                           WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)) {}

HttpSession::~HttpSession() {
  if (session_ != nullptr) WinHttpCloseHandle(session_);
}

HttpReply HttpSession::Get(const HttpRequest& request, const HttpCancel& cancel) const {
  HttpReply reply;
  const std::optional<UrlParts> parts = PartsOf(request.url);
  if (session_ == nullptr || !parts) return reply;
  if (cancel.Cancelled()) {
    reply.outcome = HttpOutcome::kCancelled;
    return reply;
  }
  const Handle connection(WinHttpConnect(session_, parts->host.c_str(), parts->port, 0));
  if (connection.get() == nullptr) return reply;
  const Handle handle(OpenRequest(connection.get(), *parts, request));
  if (handle.get() == nullptr) return reply;
  reply = Exchange(handle.get(), request, cancel);
  if (reply.outcome == HttpOutcome::kFailed && cancel.Cancelled())
    reply.outcome = HttpOutcome::kCancelled;
  return reply;
}

}  // namespace velorin
