// Loads arbitrary bytes as the alarm store, reads every alarm, writes it back and reads it
// again, and asks each for its next ring: nothing may crash, a record read back is the record
// written, and every ring found is a real moment; monthly and yearly alarms with a real time
// of day always find one.

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "alarms/alarm_store.h"
#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"

namespace {

const std::filesystem::path& fuzzRoot() {
    static const std::filesystem::path root = [] {
        std::filesystem::path made = fuzz::makeMemoryDevice("alarms");
        std::filesystem::create_directories(made / "windows");
        return made;
    }();
    return root;
}

// Says which expectation failed before the run ends, so a saved input is quick to read.
void expect(bool condition, const char* what) {
    if (!condition)
        std::fprintf(stderr, "alarm_store_fuzz: %s\n", what);
    fuzz::check(condition);
}

bool sameRecord(const alarms::AlarmRecord& a, const alarms::AlarmRecord& b) {
    return a.name == b.name && a.message == b.message && a.city == b.city &&
           a.soundName == b.soundName && a.kind == b.kind && a.timeOfDayMs == b.timeOfDayMs &&
           a.dayMask == b.dayMask && a.startDate == b.startDate && a.dayOfMonth == b.dayOfMonth &&
           a.month == b.month && a.volume == b.volume && a.ringTime == b.ringTime &&
           a.snooze == b.snooze && a.handle == b.handle && a.armedDate == b.armedDate &&
           a.armedTime == b.armedTime && a.soundPath == b.soundPath && a.zone == b.zone;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& root = fuzzRoot();
    fuzz::writeHostFile(root / "windows" / "vornalarms.dat", data, size);
    alarms::AlarmStore store(L"\\windows");
    const platform::SystemTime now{2027, 1, 1, 4, 12, 0, 0, 0};
    for (int row = 1; row <= store.rowCount(); ++row) {
        alarms::AlarmRecord read = alarms::readAlarmRecord(store.table(), row);
        // Text as the store keeps it; a record with it is written and read back unchanged.
        read.name = alarms::storedText(read.name);
        read.message = alarms::storedText(read.message);
        read.city = alarms::storedText(read.city);
        if (read.city.empty())
            read.city = alarms::kDeviceCity;
        read.soundName = alarms::storedText(read.soundName);
        read.soundPath = alarms::storedText(read.soundPath);
        core::RecordTable table(1);
        int written = table.appendRow();
        expect(alarms::writeAlarmRecord(table, written, read), "row written");
        alarms::AlarmRecord back = alarms::readAlarmRecord(table, written);
        // Parts of a date the text form cannot hold (a negative year) are not compared.
        if (read.startDate.day >= 0 && read.startDate.month >= 0 && read.startDate.year >= 0)
            expect(sameRecord(read, back), "record read back");

        read.zone = alarms::kDeviceZone;
        read.armedDate.reset();
        read.armedTime.reset();
        alarms::RepeatResult next = alarms::occurrenceAfter(read, now);
        if (next.status == alarms::RepeatStatus::Found)
            expect(platform::isValidSystemTime(next.time), "ring is a real moment");
        bool realTime = read.timeOfDayMs >= 0 && read.timeOfDayMs < 24 * 3600000;
        if (realTime &&
            (read.kind == alarms::RepeatKind::Monthly || read.kind == alarms::RepeatKind::Yearly))
            expect(next.status == alarms::RepeatStatus::Found, "monthly or yearly ring found");
    }
    return 0;
}
