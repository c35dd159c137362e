// Reading tarvelle-cli's arguments, shared by the three commands.
//
// ParseArgs sorts a command's arguments with glibc's getopt_long: short forms (-j, -n, -h), "--opt value" and
// "--opt=value", unambiguous abbreviations, options anywhere among the operands, and "--" to end the options.
// The helpers below read the strict forms the options take (whole numbers, MIN-MAX ranges) and write the
// one-line complaints of bad usage. Nothing here throws on bad input: a bad argument is reported by return
// value, and every message quotes the argument with its control characters escaped, so a complaint always
// stays on one line.
#pragma once

#include "Commands.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvelle::cli {

/// An option a command knows: its long name without "--", its short letter (0 for none), and whether a value
/// follows it.
struct KnownOption
{
    const char* name;
    char letter = 0;
    bool takesValue = true;
};

/// One command's arguments, sorted; a repeated option keeps its last value.
struct ParsedArgs
{
    bool help = false;
    std::map<std::string, std::string, std::less<>> options; // by long name; an option without a value holds ""
    std::vector<std::string> positionals;

    bool has(std::string_view name) const { return options.find(name) != options.end(); }
    /// The option's value, or nothing when it was not given.
    const std::string* value(std::string_view name) const;
};

/// Sorts args by known (plus -h/--help); the complaint for an unknown or incomplete option.
std::optional<std::string> ParseArgs(const Args& args, std::span<const KnownOption> known, ParsedArgs& parsed);

/// A whole decimal number written with digits only (no sign, no blanks), within min..max.
std::optional<uint64_t> ParseWhole(std::string_view text, uint64_t min, uint64_t max);

/// "MIN-MAX" (or a single "N", meaning N-N) with lowest <= MIN <= MAX <= highest.
std::optional<std::pair<int32_t, int32_t>> ParseRange(std::string_view text, int32_t lowest, int32_t highest);

/// The text between double quotes, with control characters, quotes and backslashes escaped.
std::string Quoted(std::string_view text);

/// At most `limit` bytes of text, quoted, with "..." after the quote when it was cut.
std::string QuotedShort(std::string_view text, size_t limit = 40);

/// Writes "tarvelle-cli COMMAND: MESSAGE (see ...)" as one line to err and returns the bad-usage exit code.
int BadUsage(OutStream& err, std::string_view command, std::string_view message);

/// The start every command shares: sorts args into parsed, writes helpText for --help, and refuses a bad option
/// or more than maxPositionals operands. Returns the exit code when that already ends the command.
std::optional<int> OpenCommand(const Args& args, std::span<const KnownOption> known, std::string_view command,
                               std::string_view helpText, size_t maxPositionals, ParsedArgs& parsed, Console& console);

} // namespace tarvelle::cli
