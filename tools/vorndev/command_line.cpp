#include "tools/vorndev/command_line.h"

#include <stdlib.h>

#include <charconv>
#include <iostream>

#include "platform/api/device.h"

namespace vorndev {

Arguments::Arguments(std::span<const std::string> args, std::span<const OptionSpec> specs,
                     std::size_t stopAfter) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || positional_.size() >= stopAfter || arg.size() < 3 ||
            arg.compare(0, 2, "--") != 0) {
            if (arg == "--" && !optionsEnded && positional_.size() < stopAfter) {
                optionsEnded = true;
                continue;
            }
            positional_.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const OptionSpec* spec = nullptr;
        for (const auto& s : specs) {
            if (s.name == name)
                spec = &s;
        }
        if (!spec)
            throw UsageError("unknown option --" + name);
        if (!spec->takesValue) {
            if (inlineValue)
                throw UsageError("option --" + name + " takes no value");
            options_[name] = "";
            continue;
        }
        if (inlineValue) {
            options_[name] = *inlineValue;
        } else if (i + 1 < args.size()) {
            options_[name] = args[++i];
        } else {
            throw UsageError("option --" + name + " needs a value");
        }
    }
}

std::optional<std::string> Arguments::value(std::string_view name) const {
    auto it = options_.find(std::string(name));
    if (it == options_.end())
        return std::nullopt;
    return it->second;
}

std::vector<std::string> Arguments::optionNames() const {
    std::vector<std::string> names;
    for (const auto& [name, value] : options_) names.push_back(name);
    return names;
}

const std::string& Arguments::required(std::size_t index, std::string_view what) const {
    if (index >= positional_.size())
        throw UsageError("missing " + std::string(what));
    return positional_[index];
}

std::optional<std::string> Arguments::optional(std::size_t index) const {
    if (index >= positional_.size())
        return std::nullopt;
    return positional_[index];
}

void Arguments::expectAtMost(std::size_t count) const {
    if (positional_.size() > count) {
        throw UsageError("unexpected argument \"" + positional_[count] + "\"");
    }
}

std::int64_t parseNumber(std::string_view text, std::string_view what, std::int64_t min,
                         std::int64_t max) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    std::uint64_t magnitude = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    bool whole = !digits.empty() && ec == std::errc() && end == digits.data() + digits.size();
    // Magnitudes past the signed range are refused rather than wrapped.
    if (!whole || magnitude > static_cast<std::uint64_t>(INT64_MAX)) {
        throw UsageError(std::string(what) + " must be a number, not \"" + std::string(text) +
                         "\"");
    }
    std::int64_t value = static_cast<std::int64_t>(magnitude);
    if (negative)
        value = -value;
    if (value < min || value > max) {
        throw UsageError(std::string(what) + " must be from " + std::to_string(min) + " to " +
                         std::to_string(max) + ", not " + std::string(text));
    }
    return value;
}

std::filesystem::path useDeviceRoot(const Arguments& args) {
    if (auto dir = args.value("device")) {
        if (dir->empty())
            throw UsageError("--device needs a folder");
        platform::setDeviceRoot(*dir);
    }
    std::filesystem::path root = platform::deviceRoot();
    ::setenv("VORN_DEVICE", root.c_str(), 1);
    return root;
}

bool printUsageIfAsked(const Arguments& args, std::string_view usage) {
    if (!args.has("help"))
        return false;
    std::cout << usage;
    if (!usage.empty() && usage.back() != '\n')
        std::cout << '\n';
    return true;
}

}  // namespace vorndev
