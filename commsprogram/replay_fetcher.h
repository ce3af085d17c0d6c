#pragma once
// Answers from recorded responses, for running without the network. A folder holds the
// answers and an index "replay.txt", one line per answer:
//     PART~FILE[~STATUS]
// An address is answered by the line whose PART it contains, the longest such PART when
// several do, with the bytes of FILE (beside the index) and the status (200 when absent).
// An address no line matches is answered as if there were no network.

#include <string>
#include <vector>

#include "commsprogram/fetch.h"

namespace commsprogram {

class ReplayFetcher : public Fetcher {
  public:
    // folder is a device path.
    explicit ReplayFetcher(std::wstring folder);
    Fetched get(const FetchRequest& request) override;

    // What the index said, for tests and the log.
    struct Entry {
        std::string part;
        std::wstring file;
        long status = 200;
    };
    const std::vector<Entry>& entries() const { return entries_; }

  private:
    std::wstring folder_;
    std::vector<Entry> entries_;
};

}  // namespace commsprogram
