#pragma once
// Command-line parsing shared by the subcommands of vorndev: declared options with and without
// values, positional arguments, and the two kinds of error that end the tool.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorndev {

// The command line is wrong: the tool prints the message and a hint to --help, exit status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Doing what was asked failed: the tool prints the message, exit status 1.
class Failure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct OptionSpec {
    std::string_view name;  // without the leading "--"
    bool takesValue = false;
};

// "--device DIR" and "--help", which every subcommand takes.
inline constexpr OptionSpec kDeviceOption{"device", true};
inline constexpr OptionSpec kHelpOption{"help", false};

class Arguments {
  public:
    // Splits args into the declared options ("--name VALUE", "--name=VALUE", "--flag") and
    // positional arguments. "--" ends the options. Once stopAfter positional arguments have
    // been seen, everything after them is positional too (for argument lines handed on to a
    // program). Throws UsageError for an undeclared option or a missing value.
    Arguments(std::span<const std::string> args, std::span<const OptionSpec> specs,
              std::size_t stopAfter = SIZE_MAX);

    bool has(std::string_view name) const { return options_.count(std::string(name)) != 0; }
    std::optional<std::string> value(std::string_view name) const;
    const std::vector<std::string>& positional() const { return positional_; }
    // The names of the options given, for commands that allow only some of those parsed.
    std::vector<std::string> optionNames() const;

    // The positional argument at index, or a UsageError naming what was expected.
    const std::string& required(std::size_t index, std::string_view what) const;
    std::optional<std::string> optional(std::size_t index) const;
    // UsageError when more than count positional arguments were given.
    void expectAtMost(std::size_t count) const;

  private:
    std::map<std::string, std::string> options_;
    std::vector<std::string> positional_;
};

// A whole decimal or 0x-hexadecimal number within [min, max]; a UsageError naming what when
// the text is not one.
std::int64_t parseNumber(std::string_view text, std::string_view what, std::int64_t min,
                         std::int64_t max);

// Makes the device named by --device (else $VORN_DEVICE, else the default) this process's
// device root, and exports it as VORN_DEVICE so the programs it starts share it.
std::filesystem::path useDeviceRoot(const Arguments& args);

// Prints the usage when --help was given and answers true; the command then does nothing else.
bool printUsageIfAsked(const Arguments& args, std::string_view usage);

}  // namespace vorndev
