// The automatic-updates status box.

#include "updates/update_status.h"

#include "core/format.h"
#include "core/language.h"
#include "core/settings.h"
#include "core/time_text.h"
#include "platform/api/locale.h"
#include "platform/api/notifications.h"
#include "updates/settings_keys.h"

namespace updates {
namespace {

constexpr int kHeading = 511, kNothingPending = 512, kToday = 513, kNext = 514, kWindow = 523,
              kLast = 525;

int intervalText(int hours) {
    switch (hours) {
        case 1:
            return 515;
        case 2:
            return 516;
        case 4:
            return 517;
        case 6:
            return 518;
        case 12:
            return 519;
        case 24:
            return 520;
        case 48:
            return 521;
        case 168:
            return 522;
        default:
            return 0;
    }
}

std::wstring nextLine(platform::NotificationHandle handle, const platform::SystemTime& today) {
    auto record = platform::userNotification(handle);
    if (!record)
        return core::formatText(core::languageString(kNext), L"N/A", L" ");
    const auto& t = record->start;
    std::wstring date = t.year == today.year && t.month == today.month && t.day == today.day
                            ? core::languageString(kToday)
                            : platform::formatDate(t, platform::shortDatePicture()).value_or(L"");
    std::wstring time =
        platform::formatTime(t, core::withoutSeconds(platform::timePicture())).value_or(L"");
    return core::formatText(core::languageString(kNext), date, time);
}

}  // namespace

std::vector<std::wstring> updateStatusLines(const platform::SystemTime& today) {
    namespace settings = core::settings;
    std::vector<std::wstring> lines{core::languageString(kHeading)};
    int pending = settings::read(keys::ScheduledUpdate);
    if (pending != 0) {
        lines.push_back(nextLine(static_cast<platform::NotificationHandle>(pending), today));
        if (int text = intervalText(settings::read(keys::OptScheduler)))
            lines.push_back(core::languageString(text));
        int start = settings::read(keys::OptSchedStartTime);
        if (start != -1) {
            lines.push_back(core::formatText(core::languageString(kWindow), start,
                                             settings::read(keys::OptSchedEndTime)));
        }
    } else {
        lines.push_back(core::languageString(kNothingPending));
    }
    lines.push_back(core::languageString(kLast));
    lines.push_back(settings::read(keys::ScheduledUpdateLastDisp));
    return lines;
}

}  // namespace updates
