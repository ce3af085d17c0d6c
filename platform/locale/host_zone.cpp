// The name of the host's own time zone, from TZ or the /etc/localtime link. Both come from
// outside the program: a name counts only when it has the form of a zone name and the zone
// database holds it.

#include <unistd.h>

#include <array>
#include <cstdlib>

#include "platform/api/zone_database.h"

namespace platform {
namespace {

// The name when the database holds a zone of that name.
std::optional<std::string> knownZone(std::string_view name) {
    if (!isZoneName(name) || !hostZone(name))
        return std::nullopt;
    return std::string(name);
}

// "/usr/share/zoneinfo/Europe/Berlin" and the "posix/" and "right/" variants of the
// database's folders lead to "Europe/Berlin".
std::string_view zoneOfLinkTarget(std::string_view target) {
    constexpr std::string_view kFolder = "zoneinfo/";
    std::size_t at = target.rfind(kFolder);
    if (at == std::string_view::npos)
        return {};
    std::string_view name = target.substr(at + kFolder.size());
    for (std::string_view variant : {"posix/", "right/"}) {
        if (name.starts_with(variant))
            name.remove_prefix(variant.size());
    }
    return name;
}

}  // namespace

std::optional<std::string> hostZoneNameFrom(std::optional<std::string_view> tz,
                                            std::optional<std::string_view> localtimeLink) {
    if (tz) {
        std::string_view name = *tz;
        // ":NAME" is POSIX's way of naming a zone file rather than giving a rule.
        if (name.starts_with(':'))
            name.remove_prefix(1);
        // A path names a zone file of the database.
        if (name.starts_with('/'))
            name = zoneOfLinkTarget(name);
        if (auto zone = knownZone(name))
            return zone;
    }
    if (localtimeLink) {
        if (auto zone = knownZone(zoneOfLinkTarget(*localtimeLink)))
            return zone;
    }
    return std::nullopt;
}

std::optional<std::string> hostZoneName() {
    std::optional<std::string_view> tz;
    if (const char* value = std::getenv("TZ"))
        tz = value;
    std::array<char, 512> target{};
    ssize_t length = ::readlink("/etc/localtime", target.data(), target.size() - 1);
    std::optional<std::string_view> link;
    if (length > 0)
        link = std::string_view(target.data(), static_cast<std::size_t>(length));
    return hostZoneNameFrom(tz, link);
}

}  // namespace platform
