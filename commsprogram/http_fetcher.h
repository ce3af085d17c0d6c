#pragma once
// Answers from the network through libcurl: HTTPS with the peer and host verified (plain
// HTTP only to this machine's own loopback address, for tests), a time-out for the whole
// transfer and for a stalled one, a size cap, at most three redirects (HTTPS only), and a
// User-Agent that names the program. A set cancel flag stops a transfer within a fraction of
// a second.

#include <atomic>
#include <chrono>
#include <string>

#include "commsprogram/fetch.h"

namespace commsprogram {

struct HttpOptions {
    std::chrono::milliseconds timeout{20000};
    std::chrono::milliseconds connectTimeout{8000};
    std::string userAgent = "VornRoamerComms/1.0 (+https://vornsoftware.example/roamer)";
};

class HttpFetcher : public Fetcher {
  public:
    HttpFetcher(const std::atomic<bool>& cancel, HttpOptions options = {});
    Fetched get(const FetchRequest& request) override;

  private:
    const std::atomic<bool>& cancel_;
    HttpOptions options_;
};

// Whether a URL may be fetched: https, or http to 127.0.0.1 or localhost.
bool isAllowedUrl(std::string_view url);

}  // namespace commsprogram
