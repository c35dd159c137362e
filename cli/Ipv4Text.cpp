#include "Ipv4Text.h"

#include <bit>

namespace tarvelle::cli {

namespace {

// A decimal number below `limit` written with 1 to `digits` digits and no leading zero; nothing otherwise.
std::optional<uint32_t> ReadDecimal(std::string_view text, size_t digits, uint32_t limit)
{
    if (text.empty() || text.size() > digits || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    uint32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (value >= limit)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<uint32_t> ParseIpv4(std::string_view text)
{
    uint32_t address = 0;
    for (int octet = 0; octet < 4; ++octet) {
        const size_t dot = octet < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos)
            return std::nullopt;
        const std::optional<uint32_t> value = ReadDecimal(text.substr(0, dot), 3, 256);
        if (!value)
            return std::nullopt;
        address = (address << 8) | *value;
        text.remove_prefix(octet < 3 ? dot + 1 : dot);
    }
    return address;
}

std::optional<int> ParsePrefix(std::string_view text)
{
    int length = -1;
    if (text.find('.') != std::string_view::npos) {
        const std::optional<uint32_t> mask = ParseIpv4(text);
        // Contiguous: the ones, read from the top, run without a gap to the first zero.
        if (!mask || (~*mask & (~*mask + 1)) != 0)
            return std::nullopt;
        length = std::popcount(*mask);
    } else {
        const std::optional<uint32_t> value = ReadDecimal(text.starts_with('/') ? text.substr(1) : text, 2, 100);
        if (!value)
            return std::nullopt;
        length = static_cast<int>(*value);
    }
    if (length < kShortestPrefix || length > kLongestPrefix)
        return std::nullopt;
    return length;
}

} // namespace tarvelle::cli
