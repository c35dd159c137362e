// The JSON tarvelle-cli prints with --json: one object per result, on one line.
//
// JsonObject writes its members in the order they are added, as "key": value pairs, and JsonArray its items
// likewise; AppendJsonString writes one string value. Strings are escaped as JSON requires (quotes, backslashes, every
// control character) and valid UTF-8 is passed through; a byte that starts no valid UTF-8 sequence is written as
// U+FFFD, so the output is always valid UTF-8 JSON whatever bytes an argument or an input line held.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelle::cli {

/// Appends text to out as a JSON string, quotes included.
void AppendJsonString(std::string& out, std::string_view text);

class JsonObject
{
public:
    JsonObject& text(std::string_view key, std::string_view value);
    /// The text, or null when there is none.
    JsonObject& optionalText(std::string_view key, const std::optional<std::string>& value);
    JsonObject& integer(std::string_view key, int64_t value);
    JsonObject& boolean(std::string_view key, bool value);
    /// A value already written as JSON (an array, a nested object).
    JsonObject& raw(std::string_view key, std::string_view json);

    /// The object's text, braces included, without a line end.
    std::string close() const { return json_ + "}"; }

private:
    std::string& member(std::string_view key);

    std::string json_ = "{";
};

/// An array for JsonObject::raw, its items in the order they are added.
class JsonArray
{
public:
    JsonArray& text(std::string_view value);
    /// The text, or null when there is none.
    JsonArray& optionalText(const std::optional<std::string>& value);
    JsonArray& integer(int64_t value);

    /// The array's text, brackets included.
    std::string close() const { return json_ + "]"; }

private:
    std::string& item();

    std::string json_ = "[";
};

} // namespace tarvelle::cli
