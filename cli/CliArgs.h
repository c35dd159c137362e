// Reading tarvelle-cli's arguments, shared by the three sub-commands.
//
// ParseArgs sorts a sub-command's arguments into the options it knows and its positional arguments; the
// helpers below read the strict forms the options take (whole numbers, MIN-MAX ranges, list item texts) and
// write the one-line complaints of bad usage. Nothing here throws on bad input: a bad argument is reported by
// return value, and every message quotes the argument with its control characters escaped, so a complaint
// always stays on one line.
#pragma once

#include "Commands.h"

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvelle::cli {

/// An option a sub-command knows: its name with the leading "--", and whether a value follows it.
struct KnownOption
{
    std::string_view name;
    bool takesValue = true;
};

/// One sub-command's arguments, sorted.
struct ParsedArgs
{
    bool help = false;
    std::map<std::string, std::string, std::less<>> options; // an option without a value holds ""
    std::vector<std::string> positionals;

    bool has(std::string_view name) const { return options.find(name) != options.end(); }
    /// The option's value, or nothing when it was not given.
    const std::string* value(std::string_view name) const;
};

/// Sorts args by known: "--name VALUE" and "--name=VALUE" give a value (the next argument is taken whatever it
/// looks like, so "--rate -10" works); "--help" and "-h" ask for help, which ends the sorting; "--" ends the
/// options; every other argument not starting with "--" ("-" included) is positional. Returns the complaint for
/// an unknown, repeated or incomplete option, or nothing when all is well.
std::optional<std::string> ParseArgs(const Args& args, std::span<const KnownOption> known, ParsedArgs& parsed);

/// A whole decimal number written with digits only (no sign, no blanks), within min..max.
std::optional<uint64_t> ParseWhole(std::string_view text, uint64_t min, uint64_t max);

/// "MIN-MAX" (or a single "N", meaning N-N) with lowest <= MIN <= MAX <= highest.
std::optional<std::pair<int32_t, int32_t>> ParseRange(std::string_view text, int32_t lowest, int32_t highest);

/// The item of `items` that `given` names, exactly or with blanks ignored ("Kbps(b10)"); case matters.
std::optional<size_t> FindListItem(std::string_view given, const std::vector<std::string>& items);

/// The items, each in double quotes, joined by ", ".
std::string ListOfItems(const std::vector<std::string>& items);

/// The text between double quotes, with control characters, quotes and backslashes escaped.
std::string Quoted(std::string_view text);

/// Writes "tarvelle-cli COMMAND: MESSAGE (see ...)" as one line to err and returns the bad-usage exit code.
int BadUsage(std::ostream& err, std::string_view command, std::string_view message);

/// The start every sub-command shares: sorts args by known into parsed, writes helpText to out for --help, and
/// refuses a bad option or more than maxPositionals positional arguments. Returns the exit code when that
/// already ends the command, or nothing when the command goes on.
std::optional<int> OpenCommand(const Args& args, std::span<const KnownOption> known, std::string_view command,
                               std::string_view helpText, size_t maxPositionals, ParsedArgs& parsed, std::ostream& out,
                               std::ostream& err);

} // namespace tarvelle::cli
