#pragma once
// One HTTP GET as the map's tiles need it: a URL, a User-Agent and a few
// headers of the caller's, a body read up to a limit and no further, no
// redirect followed (the caller decides where a redirect may lead), a time
// after which a silent server is given up, and a way for another thread to
// stop it. The system's client does the work (WinHTTP on
// Windows, platform/http_session_win32.h); these types are the same on
// every system.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velorin {

struct HttpRequest {
  std::string url;  ///< http:// or https://
  /// Further header lines: name and value.
  std::vector<std::pair<std::string, std::string>> headers;
  /// A body that is longer (or says it will be) is not read on.
  std::int64_t mostBytes = 0;
  /// A server silent this long is given up.
  std::chrono::milliseconds timeout{20000};
};

enum class HttpOutcome {
  kAnswered,   ///< a status and the whole body
  kTooLarge,   ///< the body passed mostBytes (or its length said it would)
  kFailed,     ///< no answer: no connection, a broken one, a silent server
  kCancelled,  ///< stopped by HttpCancel
};

struct HttpReply {
  HttpOutcome outcome = HttpOutcome::kFailed;
  int status = 0;
  /// The header lines of the answer, each ended by CR LF.
  std::string headers;
  std::string body;
};

/// The value of the header `name` (any case) in `headers`, trimmed; nothing
/// when it is not there.
std::optional<std::string> HeaderValue(std::string_view headers, std::string_view name);

/// Stops a request from another thread: the client stops at its next
/// piece of the body (a server that sends nothing keeps it until the
/// request's timeout).
class HttpCancel {
 public:
  void Cancel() { cancelled_.store(true); }
  bool Cancelled() const { return cancelled_.load(); }

 private:
  std::atomic<bool> cancelled_{false};
};

}  // namespace velorin
