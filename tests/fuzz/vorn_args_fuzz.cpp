// Feeds arbitrary command lines to vorn's argument parsing: the command's name, its options
// and values, and the times and dates the options carry. Nothing runs a command, so no device
// is touched. The input is split at NUL bytes into arguments.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/api/clock.h"
#include "programs/vorn/cli.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// Reports of malformed command lines go nowhere: printing them would slow the search.
void silence() {
    static std::ostringstream sink;
    static bool done = [] {
        std::cout.rdbuf(sink.rdbuf());
        std::cerr.rdbuf(sink.rdbuf());
        return true;
    }();
    (void)done;
    sink.str({});
}

const vorn::Command* findCommand(std::string_view name) {
    for (const vorn::Command& command : vorn::commands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

void checkTime(const platform::SystemTime& t, bool dateOnly) {
    check(platform::isValidSystemTime(t));
    if (dateOnly)
        check(t.hour == 0 && t.minute == 0 && t.second == 0);
    // What is printed reads back as the same moment.
    auto again = vorn::parseUtc(vorn::isoDateTime(t));
    check(again && again->year == t.year && again->month == t.month && again->day == t.day &&
          again->hour == t.hour && again->minute == t.minute && again->second == t.second);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    silence();
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size && words.size() <= 64; ++i) {
        if (data[i] == 0) {
            words.emplace_back();
        } else {
            words.back() += static_cast<char>(data[i]);
        }
    }
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());

    // Every argument is tried as a time and a date on its own as well.
    for (const std::string& word : words) {
        if (auto t = vorn::parseUtc(word))
            checkTime(*t, false);
        if (auto d = vorn::parseDate(word))
            checkTime(*d, true);
    }

    const vorn::Command* command = findCommand(words.front());
    if (!command)
        return 0;
    bool help = true;
    auto invocation = vorn::parseArguments(*command, std::span(argv).subspan(1), help);
    if (!invocation)
        return 0;
    check(invocation->arguments.size() + invocation->options.size() < argv.size());
    for (const auto& [name, value] : invocation->options) {
        bool known = false;
        for (std::string_view option : command->valueOptions) known |= option == name;
        check(known);
        (void)value;
    }
    bool jsonAsked = false;
    for (std::size_t i = 1; i < words.size(); ++i) jsonAsked |= words[i] == "--json";
    check(invocation->json == jsonAsked);
    return 0;
}
