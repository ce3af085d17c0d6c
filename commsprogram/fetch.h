#pragma once
// Getting one answer from a server: the interface the providers ask through, so that a run
// can be answered by the network or by recorded answers alike.

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "commsprogram/comms_errors.h"

namespace commsprogram {

// Every answer is bounded; a larger one is an incomplete download.
constexpr std::size_t kDefaultAnswerLimit = 2 << 20;

struct FetchRequest {
    std::string url;
    std::vector<std::string> headers;  // "Name: value"
    std::size_t maxBytes = kDefaultAnswerLimit;
};

struct Fetched {
    Failure failure;  // no failure: body holds the whole answer of a 2xx status
    long status = 0;
    std::string body;
};

class Fetcher {
  public:
    virtual ~Fetcher() = default;
    virtual Fetched get(const FetchRequest& request) = 0;
};

}  // namespace commsprogram
