#include "commsprogram/replay_fetcher.h"

#include "core/record_table.h"
#include "platform/api/device.h"

namespace commsprogram {
namespace {

constexpr int kMaxEntries = 512;

bool isPlainName(std::wstring_view name) {
    return !name.empty() && name.size() <= 128 &&
           name.find_first_of(L"\\/:") == std::wstring_view::npos && name != L"." && name != L"..";
}

}  // namespace

ReplayFetcher::ReplayFetcher(std::wstring folder) : folder_(std::move(folder)) {
    core::RecordTable index(3);
    index.load(folder_, L"replay.txt", L'~');
    for (int row = 1; row <= index.rowCount() && row <= kMaxEntries; ++row) {
        Entry entry;
        entry.part = platform::toUtf8(index.fieldText(row, 1));
        entry.file = std::wstring(index.fieldText(row, 2));
        std::wstring_view status = index.fieldText(row, 3);
        if (!status.empty()) {
            long value = 0;
            for (wchar_t c : status) {
                if (c < L'0' || c > L'9' || value > 999)
                    break;
                value = value * 10 + (c - L'0');
            }
            entry.status = value;
        }
        if (!entry.part.empty() && isPlainName(entry.file))
            entries_.push_back(std::move(entry));
    }
}

Fetched ReplayFetcher::get(const FetchRequest& request) {
    Fetched fetched;
    const Entry* best = nullptr;
    for (const Entry& entry : entries_) {
        if (request.url.find(entry.part) != std::string::npos &&
            (!best || entry.part.size() > best->part.size()))
            best = &entry;
    }
    if (!best) {
        fetched.failure = fail(errorCode::NoNetwork, "no recorded answer for " + request.url);
        return fetched;
    }
    fetched.status = best->status;
    auto bytes = platform::readFile(core::joinDevicePath(folder_, best->file));
    if (!bytes) {
        fetched.failure =
            fail(errorCode::NoNetwork, "recorded answer missing: " + platform::toUtf8(best->file));
        return fetched;
    }
    if (bytes->size() > request.maxBytes) {
        fetched.failure = fail(errorCode::Incomplete, "recorded answer larger than allowed");
        return fetched;
    }
    if (fetched.status < 200 || fetched.status >= 300) {
        fetched.failure = fail(errorCode::ServerFailed,
                               "HTTP status " + std::to_string(fetched.status) + " (recorded)");
        return fetched;
    }
    fetched.body.assign(bytes->begin(), bytes->end());
    return fetched;
}

}  // namespace commsprogram
