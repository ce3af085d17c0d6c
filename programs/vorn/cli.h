#pragma once
// The companion's command-line frame: the command table's entry type, the parsed
// invocation, JSON and text output, and the errors every command reports the same way.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/clock.h"

namespace vorn {

// Exit codes: 0 done; 1 the device or its files failed; 2 the command line was wrong (an
// unknown command, option or city, a malformed time).
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct Invocation {
    std::vector<std::string> arguments;          // positional, in order
    std::map<std::string, std::string> options;  // "--at" -> "2025-07-01T12:00"
    bool json = false;
    std::wstring mainPath;  // install folder, with a trailing backslash

    std::optional<std::string> option(std::string_view name) const;
};

struct Command {
    std::string_view name;
    std::string_view usage;                          // "time [CITY...] [--at UTC]"
    std::string_view summary;                        // one line for the command list
    std::string_view help;                           // the rest of "vorn NAME --help"
    std::span<const std::string_view> valueOptions;  // options that take a value
    int (*run)(const Invocation&);
};

// The table of commands; each later command is one more entry.
std::span<const Command> commands();

// Splits argv (after the command name) by the command's options; --json and --help are
// known to every command. Nothing (after reporting the error) for an unknown option or a
// missing value.
std::optional<Invocation> parseArguments(const Command& command, std::span<char*> arguments,
                                         bool& help);

// A usage or failure report: on standard error as "vorn: text", and with --json also as
// {"error": text, ...} on standard output. Answers the exit code given.
// Text to standard output or standard error, through C stdio as all of vorn's output goes
// (the C++ streams would cost every start their set-up).
void writeOut(std::string_view text);
void writeError(std::string_view text);

int report(const Invocation& invocation, int exitCode, std::string_view message,
           const std::vector<std::string>& candidates = {});

// "2025-07-01", "2025-07-01T12:00", "2025-07-01 12:00:30", a trailing "Z" allowed.
std::optional<platform::SystemTime> parseUtc(std::string_view text);
// "2025-07-01" alone.
std::optional<platform::SystemTime> parseDate(std::string_view text);
std::string isoDate(const platform::SystemTime& t);
std::string isoDateTime(const platform::SystemTime& t);  // "2025-07-01T12:00:00"
std::string hoursMinutes(int hour, int minute);          // "04:05"
std::string offsetText(int minutes);                     // "+05:30", "-03:00"
std::string utf8(std::wstring_view text);

// A small JSON writer: values are appended in order, commas and quoting are its business.
class Json {
  public:
    Json& beginObject();
    Json& endObject();
    Json& beginArray(std::string_view key = {});
    Json& endArray();
    Json& key(std::string_view name);
    Json& value(std::string_view text);
    Json& value(const char* text) { return value(std::string_view(text)); }
    Json& value(double number);
    Json& value(long long number);
    Json& value(int number) { return value(static_cast<long long>(number)); }
    Json& value(bool flag);
    Json& field(std::string_view name, std::string_view text) { return key(name).value(text); }
    Json& field(std::string_view name, const char* text) { return key(name).value(text); }
    Json& field(std::string_view name, double number) { return key(name).value(number); }
    Json& field(std::string_view name, int number) { return key(name).value(number); }
    Json& field(std::string_view name, bool flag) { return key(name).value(flag); }
    const std::string& text() const { return text_; }

  private:
    void separate();
    std::string text_;
    bool needComma_ = false;
};

}  // namespace vorn
