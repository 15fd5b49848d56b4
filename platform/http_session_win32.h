#pragma once
// Windows only: HTTP GETs through WinHTTP (platform/http_get.h), one
// session for a User-Agent, its requests made on any thread. Redirects
// are handed back, not followed; the system's proxy settings apply.
#include <memory>
#include <string>

#include "platform/http_get.h"

namespace velorin {

class HttpSession {
 public:
  explicit HttpSession(const std::string& userAgent);
  ~HttpSession();
  HttpSession(const HttpSession&) = delete;
  HttpSession& operator=(const HttpSession&) = delete;

  /// One GET, on the calling thread; returns when it has ended.
  HttpReply Get(const HttpRequest& request, const HttpCancel& cancel) const;

 private:
  void* session_ = nullptr;  ///< the WinHTTP session handle
};

}  // namespace velorin
