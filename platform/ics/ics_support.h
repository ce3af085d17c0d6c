#pragma once
// What the iCalendar reader and writer share: libical set up so that its errors are reported
// rather than fatal, and the device's local time to and from Unix seconds in UTC.

#include <cstdint>
#include <optional>

#include "platform/api/clock.h"

namespace platform::ics {

// For the lifetime of the guard libical reports errors instead of stopping the program;
// the setting it found is put back afterwards.
class LibraryGuard {
  public:
    LibraryGuard();
    ~LibraryGuard();
    LibraryGuard(const LibraryGuard&) = delete;
    LibraryGuard& operator=(const LibraryGuard&) = delete;

  private:
    int wasFatal_;
};

std::optional<SystemTime> unixToLocal(std::int64_t utcSeconds);
std::optional<std::int64_t> localToUnix(const SystemTime& local);

}  // namespace platform::ics
