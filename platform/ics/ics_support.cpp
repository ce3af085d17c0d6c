#include "platform/ics/ics_support.h"

#include <libical/ical.h>

namespace platform::ics {
namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kUnixEpochSeconds = 11644473600;

}  // namespace

LibraryGuard::LibraryGuard() : wasFatal_(icalerror_get_errors_are_fatal()) {
    icalerror_set_errors_are_fatal(0);
    icalerror_clear_errno();
}

LibraryGuard::~LibraryGuard() {
    icalerror_clear_errno();
    icalerror_set_errors_are_fatal(wasFatal_);
}

std::optional<SystemTime> unixToLocal(std::int64_t utcSeconds) {
    if (utcSeconds < -kUnixEpochSeconds || utcSeconds > 253402300799)  // up to 9999-12-31
        return std::nullopt;
    const auto utc =
        static_cast<FileTime>(utcSeconds + kUnixEpochSeconds) * kFileTimeTicksPerSecond;
    auto local = utcToLocal(utc);
    if (!local)
        return std::nullopt;
    return toSystemTime(*local);
}

std::optional<std::int64_t> localToUnix(const SystemTime& local) {
    auto ticks = toFileTime(local);
    if (!ticks)
        return std::nullopt;
    auto utc = localToUtc(*ticks);
    if (!utc)
        return std::nullopt;
    return static_cast<std::int64_t>(*utc / kFileTimeTicksPerSecond) - kUnixEpochSeconds;
}

}  // namespace platform::ics
