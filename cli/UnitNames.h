// The unit names tarvelle-cli's bandwidth command takes, as rows of the Bandwidth page's unit lists.
//
// Besides the lists' own texts ("Mbps (b10)", "KB (b2)", "min"), the spellings people write, after GNU
// coreutils and the page's b/B rule: a lowercase "b" or "bit(s)" is a bit, "B" or "byte(s)" a byte; the prefixes
// k/K, M and G step by 1000, and with an "i" (KiB, Mibit) by 1024; a rate ends in "/s" or "ps" ("Mbit/s",
// "Mbps", "MB/s", "MiB/s"). Times are s/sec/second(s), min/minute(s), h/hr/hrs/hour(s) and d/day(s). Case
// matters throughout: "mb" and "MB" are not the same thing, and "mb" (millibits) is no unit at all.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tarvelle::cli {

/// The row of RateSizeFactors a rate unit names.
std::optional<size_t> RateUnitRow(std::string_view text);
/// The row of RateSizeFactors a size unit names.
std::optional<size_t> SizeUnitRow(std::string_view text);
/// The row of TimeFactors a time unit names.
std::optional<size_t> TimeUnitRow(std::string_view text);

/// A number text and the unit row it carries ("8Mbps", "4.7 GB"); a bare number carries none.
struct ValueText
{
    std::string_view number;
    std::optional<size_t> unit;
};

/// Splits text into a number (by the page's reading rules) and a unit read by unitRow; nothing when the text
/// is neither a number nor a number followed by a unit.
std::optional<ValueText> SplitValue(std::string_view text, std::optional<size_t> (*unitRow)(std::string_view));

} // namespace tarvelle::cli
