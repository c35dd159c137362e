// A strict little JSON reader for checking tarvelle-cli's --json output: it accepts exactly the JSON grammar
// (no trailing commas, no raw control characters in strings, valid UTF-8, paired surrogates) and keeps an
// object's members in their order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvelle::test {

struct JsonValue
{
    enum class Kind { Null, Boolean, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text; // a string's decoded UTF-8, or a number as written
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    /// The member with that key, or nullptr (also when this is no object).
    const JsonValue* find(std::string_view key) const;
    /// The member keys in order.
    std::vector<std::string> keys() const;
    /// The number as an integer, when it is one written without fraction or exponent.
    std::optional<int64_t> integer() const;
};

/// The one JSON value that makes up the whole text (blanks around it allowed), or nothing.
std::optional<JsonValue> ParseJson(std::string_view text);

} // namespace tarvelle::test
