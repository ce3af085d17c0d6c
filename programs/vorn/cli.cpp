#include "programs/vorn/cli.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/api/device.h"

namespace vorn {
namespace {

bool readNumber(std::string_view text, std::size_t from, std::size_t digits, int& out) {
    if (from + digits > text.size())
        return false;
    out = 0;
    for (std::size_t i = from; i < from + digits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

}  // namespace

std::optional<std::string> Invocation::option(std::string_view name) const {
    auto found = options.find(std::string(name));
    if (found == options.end())
        return std::nullopt;
    return found->second;
}

std::optional<Invocation> parseArguments(const Command& command, std::span<char*> arguments,
                                         bool& help) {
    Invocation invocation;
    help = false;
    // Known first, so that errors about earlier arguments come out as JSON as well.
    for (const char* argument : arguments)
        invocation.json |= std::string_view(argument) == "--json";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument == "--json") {
            invocation.json = true;
        } else if (argument == "--help" || argument == "-h") {
            help = true;
        } else if (argument.rfind("--", 0) == 0 && argument.size() > 2) {
            std::string_view name = argument.substr(0, argument.find('='));
            bool known = std::find(command.valueOptions.begin(), command.valueOptions.end(),
                                   name) != command.valueOptions.end();
            if (!known) {
                report(invocation, kExitUsage, "unknown option " + std::string(name));
                return std::nullopt;
            }
            if (name.size() < argument.size()) {
                invocation.options[std::string(name)] = argument.substr(name.size() + 1);
            } else if (i + 1 < arguments.size()) {
                invocation.options[std::string(name)] = arguments[++i];
            } else {
                report(invocation, kExitUsage, std::string(name) + " needs a value");
                return std::nullopt;
            }
        } else {
            invocation.arguments.emplace_back(argument);
        }
    }
    return invocation;
}

void writeOut(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void writeError(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

int report(const Invocation& invocation, int exitCode, std::string_view message,
           const std::vector<std::string>& candidates) {
    writeError("vorn: " + std::string(message) + "\n");
    for (const std::string& candidate : candidates) writeError("  " + candidate + "\n");
    if (invocation.json) {
        Json json;
        json.beginObject().field("error", message);
        if (!candidates.empty()) {
            json.beginArray("candidates");
            for (const std::string& candidate : candidates) json.value(candidate);
            json.endArray();
        }
        json.endObject();
        writeOut(json.text() + "\n");
    }
    return exitCode;
}

std::optional<platform::SystemTime> parseUtc(std::string_view text) {
    if (!text.empty() && (text.back() == 'Z' || text.back() == 'z'))
        text.remove_suffix(1);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!readNumber(text, 0, 4, year) || text.size() < 10 || text[4] != '-' || text[7] != '-' ||
        !readNumber(text, 5, 2, month) || !readNumber(text, 8, 2, day)) {
        return std::nullopt;
    }
    if (text.size() > 10) {
        bool clock = (text[10] == 'T' || text[10] == 't' || text[10] == ' ') && text.size() >= 16 &&
                     text[13] == ':' && readNumber(text, 11, 2, hour) &&
                     readNumber(text, 14, 2, minute);
        bool seconds = text.size() == 16 ||
                       (text.size() == 19 && text[16] == ':' && readNumber(text, 17, 2, second));
        if (!clock || !seconds)
            return std::nullopt;
    }
    platform::SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.second = static_cast<std::uint16_t>(second);
    if (!platform::isValidSystemTime(t))
        return std::nullopt;
    t.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(year, month, day));
    return t;
}

std::optional<platform::SystemTime> parseDate(std::string_view text) {
    if (text.size() != 10)
        return std::nullopt;
    return parseUtc(text);
}

std::string isoDate(const platform::SystemTime& t) {
    char out[40];
    std::snprintf(out, sizeof out, "%04d-%02d-%02d", t.year, t.month, t.day);
    return out;
}

std::string isoDateTime(const platform::SystemTime& t) {
    char out[40];
    std::snprintf(out, sizeof out, "T%02d:%02d:%02d", t.hour, t.minute, t.second);
    return isoDate(t) + out;
}

std::string hoursMinutes(int hour, int minute) {
    char out[40];
    std::snprintf(out, sizeof out, "%02d:%02d", hour, minute);
    return out;
}

std::string offsetText(int minutes) {
    char out[16];
    int magnitude = minutes < 0 ? -minutes : minutes;
    std::snprintf(out, sizeof out, "%c%02d:%02d", minutes < 0 ? '-' : '+', magnitude / 60 % 100,
                  magnitude % 60);
    return out;
}

std::string utf8(std::wstring_view text) {
    return platform::toUtf8(text);
}

void Json::separate() {
    if (needComma_)
        text_ += ',';
    needComma_ = true;
}

Json& Json::beginObject() {
    separate();
    text_ += '{';
    needComma_ = false;
    return *this;
}

Json& Json::endObject() {
    text_ += '}';
    needComma_ = true;
    return *this;
}

Json& Json::beginArray(std::string_view name) {
    if (!name.empty())
        key(name);
    separate();
    text_ += '[';
    needComma_ = false;
    return *this;
}

Json& Json::endArray() {
    text_ += ']';
    needComma_ = true;
    return *this;
}

Json& Json::key(std::string_view name) {
    separate();
    text_ += quoted(name) + ':';
    needComma_ = false;
    return *this;
}

Json& Json::value(std::string_view text) {
    separate();
    text_ += quoted(text);
    return *this;
}

Json& Json::value(double number) {
    separate();
    if (!std::isfinite(number)) {
        text_ += "null";
        return *this;
    }
    char out[32];
    std::snprintf(out, sizeof out, "%.6g", number);
    text_ += out;
    return *this;
}

Json& Json::value(long long number) {
    separate();
    text_ += std::to_string(number);
    return *this;
}

Json& Json::value(bool flag) {
    separate();
    text_ += flag ? "true" : "false";
    return *this;
}

}  // namespace vorn
