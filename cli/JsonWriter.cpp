#include "JsonWriter.h"

#include "Utf8.h"

namespace tarvelle::cli {

namespace {

bool NeedsNoEscape(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\';
}

} // namespace

void AppendJsonString(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (size_t at = 0; at < text.size();) {
        // Most texts are plain ASCII: copy each run that needs no escape in one go.
        size_t plain = at;
        while (plain < text.size() && NeedsNoEscape(text[plain]))
            ++plain;
        out.append(text, at, plain - at);
        at = plain;
        if (at == text.size())
            break;
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const size_t length = Utf8SequenceLength(text, at);
            if (length == 0) {
                out += "\\ufffd";
                ++at;
            } else {
                out.append(text, at, length);
                at += length;
            }
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += c;
            }
        }
        ++at;
    }
    out += '"';
}

std::string& JsonObject::member(std::string_view key)
{
    if (json_.size() > 1)
        json_ += ", ";
    AppendJsonString(json_, key);
    json_ += ": ";
    return json_;
}

JsonObject& JsonObject::text(std::string_view key, std::string_view value)
{
    AppendJsonString(member(key), value);
    return *this;
}

JsonObject& JsonObject::optionalText(std::string_view key, const std::optional<std::string>& value)
{
    if (value)
        return text(key, *value);
    member(key) += "null";
    return *this;
}

JsonObject& JsonObject::integer(std::string_view key, int64_t value)
{
    member(key) += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::boolean(std::string_view key, bool value)
{
    member(key) += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::raw(std::string_view key, std::string_view json)
{
    member(key) += json;
    return *this;
}

std::string& JsonArray::item()
{
    if (json_.size() > 1)
        json_ += ", ";
    return json_;
}

JsonArray& JsonArray::text(std::string_view value)
{
    AppendJsonString(item(), value);
    return *this;
}

JsonArray& JsonArray::optionalText(const std::optional<std::string>& value)
{
    if (value)
        return text(*value);
    item() += "null";
    return *this;
}

JsonArray& JsonArray::integer(int64_t value)
{
    item() += std::to_string(value);
    return *this;
}

} // namespace tarvelle::cli
