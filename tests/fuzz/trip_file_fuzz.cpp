// Loads arbitrary bytes as a trip file, builds its agenda, saves it and loads it again: nothing
// may crash, every entry read has a real start not after its end, the agenda is in time order
// with a heading before each date, and what was saved reads back as the same entries.

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"
#include "travel/trip_agenda.h"
#include "travel/trip_file.h"

namespace {

const std::filesystem::path& fuzzRoot() {
    static const std::filesystem::path root = [] {
        std::filesystem::path made = fuzz::makeMemoryDevice("trips");
        std::filesystem::create_directories(made / "itinerary");
        return made;
    }();
    return root;
}

void expect(bool condition, const char* what) {
    if (!condition)
        std::fprintf(stderr, "trip_file_fuzz: %s\n", what);
    fuzz::check(condition);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& root = fuzzRoot();
    std::filesystem::remove(root / "itinerary" / "Trip.trp.bak");
    fuzz::writeHostFile(root / "itinerary" / "Trip.trp", data, size);
    auto trip = travel::loadTrip(L"\\itinerary\\", L"Trip");
    expect(trip.has_value(), "an existing file loads");
    for (const travel::TripEntry& e : trip->entries) {
        expect(platform::isValidSystemTime(e.start), "real start");
        expect(*platform::toFileTime(e.start) <= *platform::toFileTime(e.end), "start <= end");
    }
    const travel::TextSource texts = [](int n) { return std::to_wstring(n) + L" %s %s %s %s"; };
    const platform::SystemTime today{2030, 5, 3, 1, 0, 0, 0, 0};
    auto rows = travel::buildAgenda(*trip, today, travel::AirlineCodes{}, texts);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            expect(rows[i - 1].julian <= rows[i].julian, "agenda in time order");
        if (i == 0)
            expect(rows[i].isHeading(), "agenda starts with a heading");
    }
    // Saving makes texts safe for the file; from then on a save and a load change nothing.
    trip->droppedLines = trip->repairedEntries = 0;
    expect(travel::saveTrip(L"\\itinerary\\", *trip), "saved");
    auto once = travel::loadTrip(L"\\itinerary\\", L"Trip");
    expect(once && once->entries.size() == trip->entries.size() && !once->damaged(),
           "every entry read back");
    expect(travel::saveTrip(L"\\itinerary\\", *once), "saved again");
    auto twice = travel::loadTrip(L"\\itinerary\\", L"Trip");
    expect(twice && twice->entries == once->entries, "read back unchanged");
    for (const auto& summary : travel::listTrips(L"\\itinerary\\"))
        expect(!summary.name.empty(), "listed by name");
    return 0;
}
