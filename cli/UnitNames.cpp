#include "UnitNames.h"

#include "BandwidthCalc.h"
#include "NumberText.h"

#include <string>

namespace tarvelle::cli {

namespace {

std::string WithoutBlanks(std::string_view text)
{
    std::string kept;
    for (const char c : text) {
        if (c != ' ' && c != '\t')
            kept.push_back(c);
    }
    return kept;
}

// A list text, exactly or with blanks ignored ("Kbps(b10)").
template <class Table, class Text> std::optional<size_t> ListRow(std::string_view text, const Table& table, Text item)
{
    const std::string squeezed = WithoutBlanks(text);
    for (size_t row = 0; row < table.size(); ++row) {
        if (WithoutBlanks(item(table[row])) == squeezed)
            return row;
    }
    return std::nullopt;
}

bool Eat(std::string_view& text, std::string_view piece)
{
    if (!text.starts_with(piece))
        return false;
    text.remove_prefix(piece.size());
    return true;
}

// [k|K|M|G[i]] then bit(s)/b or byte(s)/B, as a row: bits at even rows, bytes at odd ones.
std::optional<size_t> QuantityRow(std::string_view text)
{
    size_t scale = 0; // 0 none, 1 kilo, 2 mega, 3 giga
    if (Eat(text, "k") || Eat(text, "K"))
        scale = 1;
    else if (Eat(text, "M"))
        scale = 2;
    else if (Eat(text, "G"))
        scale = 3;
    const bool binary = scale > 0 && Eat(text, "i");
    bool bytes = false;
    if (text == "bit" || text == "bits" || text == "b")
        bytes = false;
    else if (text == "byte" || text == "bytes" || text == "B")
        bytes = true;
    else
        return std::nullopt;
    if (scale == 0)
        return bytes ? 1 : 0;
    // Rows 2-7 are the decimal kilo, mega and giga pairs, rows 8-13 the binary ones.
    return (binary ? 8 : 2) + (scale - 1) * 2 + (bytes ? 1 : 0);
}

} // namespace

std::optional<size_t> RateUnitRow(std::string_view text)
{
    using bandwidth::RateSizeFactors;
    if (const auto row = ListRow(text, RateSizeFactors, [](const auto& r) { return r.rateText; }))
        return row;
    if (text.ends_with("/s"))
        return QuantityRow(text.substr(0, text.size() - 2));
    if (text.ends_with("ps"))
        return QuantityRow(text.substr(0, text.size() - 2));
    return std::nullopt;
}

std::optional<size_t> SizeUnitRow(std::string_view text)
{
    using bandwidth::RateSizeFactors;
    if (const auto row = ListRow(text, RateSizeFactors, [](const auto& r) { return r.sizeText; }))
        return row;
    return QuantityRow(text);
}

std::optional<size_t> TimeUnitRow(std::string_view text)
{
    constexpr std::string_view kNames[][5] = {
        {"s", "sec", "secs", "second", "seconds"},
        {"min", "mins", "minute", "minutes", ""},
        {"h", "hr", "hrs", "hour", "hours"},
        {"d", "day", "days", "", ""},
    };
    for (size_t row = 0; row < std::size(kNames); ++row) {
        for (const std::string_view name : kNames[row]) {
            if (!name.empty() && name == text)
                return row;
        }
    }
    return std::nullopt;
}

std::optional<ValueText> SplitValue(std::string_view text, std::optional<size_t> (*unitRow)(std::string_view))
{
    if (bandwidth::TextToNumber(text))
        return ValueText {text, std::nullopt};
    for (size_t at = 1; at < text.size(); ++at) {
        const char c = text[at];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            continue;
        const std::string_view number = text.substr(0, at);
        std::string_view unit = text.substr(at);
        while (!unit.empty() && unit.back() == ' ')
            unit.remove_suffix(1);
        if (!bandwidth::TextToNumber(number))
            continue;
        if (const std::optional<size_t> row = unitRow(unit))
            return ValueText {number, row};
    }
    return std::nullopt;
}

} // namespace tarvelle::cli
