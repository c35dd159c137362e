#include "JsonParse.h"

#include <charconv>

namespace tarvelle::test {

namespace {

class Reader
{
public:
    explicit Reader(std::string_view text) : text_(text) { }

    std::optional<JsonValue> document()
    {
        std::optional<JsonValue> v = value(0);
        skipBlanks();
        if (!v || at_ != text_.size())
            return std::nullopt;
        return v;
    }

private:
    static constexpr int kDeepest = 64;

    void skipBlanks()
    {
        while (at_ < text_.size()
               && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    bool take(char c)
    {
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool takeWord(std::string_view word)
    {
        if (text_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }

    std::optional<JsonValue> value(int depth)
    {
        skipBlanks();
        if (at_ >= text_.size() || depth > kDeepest)
            return std::nullopt;
        JsonValue v;
        const char c = text_[at_];
        if (c == '{')
            return object(depth);
        if (c == '[')
            return array(depth);
        if (c == '"') {
            std::optional<std::string> s = string();
            if (!s)
                return std::nullopt;
            v.kind = JsonValue::Kind::String;
            v.text = std::move(*s);
            return v;
        }
        if (takeWord("null"))
            return v;
        if (takeWord("true") || takeWord("false")) {
            v.kind = JsonValue::Kind::Boolean;
            v.boolean = c == 't';
            return v;
        }
        return number();
    }

    std::optional<JsonValue> object(int depth)
    {
        ++at_;
        JsonValue v;
        v.kind = JsonValue::Kind::Object;
        if (take('}'))
            return v;
        do {
            skipBlanks();
            if (at_ >= text_.size() || text_[at_] != '"')
                return std::nullopt;
            std::optional<std::string> key = string();
            if (!key || !take(':'))
                return std::nullopt;
            std::optional<JsonValue> member = value(depth + 1);
            if (!member)
                return std::nullopt;
            v.members.emplace_back(std::move(*key), std::move(*member));
        } while (take(','));
        return take('}') ? std::optional(v) : std::nullopt;
    }

    std::optional<JsonValue> array(int depth)
    {
        ++at_;
        JsonValue v;
        v.kind = JsonValue::Kind::Array;
        if (take(']'))
            return v;
        do {
            std::optional<JsonValue> item = value(depth + 1);
            if (!item)
                return std::nullopt;
            v.items.push_back(std::move(*item));
        } while (take(','));
        return take(']') ? std::optional(v) : std::nullopt;
    }

    std::optional<JsonValue> number()
    {
        const size_t start = at_;
        const auto digits = [&] {
            const size_t from = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9')
                ++at_;
            return at_ > from;
        };
        if (at_ < text_.size() && text_[at_] == '-')
            ++at_;
        if (at_ < text_.size() && text_[at_] == '0')
            ++at_;
        else if (!digits())
            return std::nullopt;
        if (at_ < text_.size() && text_[at_] == '.' && (++at_, !digits()))
            return std::nullopt;
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-'))
                ++at_;
            if (!digits())
                return std::nullopt;
        }
        JsonValue v;
        v.kind = JsonValue::Kind::Number;
        v.text = std::string(text_.substr(start, at_ - start));
        return v;
    }

    std::optional<uint32_t> hex4()
    {
        if (at_ + 4 > text_.size())
            return std::nullopt;
        uint32_t value = 0;
        const auto [end, error] = std::from_chars(text_.data() + at_, text_.data() + at_ + 4, value, 16);
        if (error != std::errc() || end != text_.data() + at_ + 4)
            return std::nullopt;
        at_ += 4;
        return value;
    }

    static void appendUtf8(std::string& out, uint32_t cp)
    {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    // A raw byte of 0x80 and above must begin a well-formed UTF-8 sequence.
    bool copyUtf8(std::string& out)
    {
        const auto lead = static_cast<unsigned char>(text_[at_]);
        const size_t length = lead >= 0xC2 && lead <= 0xDF ? 2
            : lead >= 0xE0 && lead <= 0xEF                 ? 3
            : lead >= 0xF0 && lead <= 0xF4                 ? 4
                                                           : 0;
        if (length == 0 || at_ + length > text_.size())
            return false;
        uint32_t cp = lead & (0xFF >> (length + 1));
        for (size_t k = 1; k < length; ++k) {
            const auto b = static_cast<unsigned char>(text_[at_ + k]);
            if ((b & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (b & 0x3Fu);
        }
        const uint32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        out.append(text_, at_, length);
        at_ += length;
        return true;
    }

    std::optional<std::string> string()
    {
        ++at_;
        std::string out;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
            if (static_cast<unsigned char>(c) >= 0x80) {
                if (!copyUtf8(out))
                    return std::nullopt;
                continue;
            }
            ++at_;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size())
                return std::nullopt;
            const char e = text_[at_++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                std::optional<uint32_t> cp = hex4();
                if (!cp || (*cp >= 0xDC00 && *cp <= 0xDFFF))
                    return std::nullopt;
                if (*cp >= 0xD800 && *cp <= 0xDBFF) {
                    if (!takeWord("\\u"))
                        return std::nullopt;
                    const std::optional<uint32_t> low = hex4();
                    if (!low || *low < 0xDC00 || *low > 0xDFFF)
                        return std::nullopt;
                    cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
                }
                appendUtf8(out, *cp);
                break;
            }
            default:
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::string_view text_;
    size_t at_ = 0;
};

} // namespace

const JsonValue* JsonValue::find(std::string_view key) const
{
    for (const auto& [name, value] : members) {
        if (name == key)
            return &value;
    }
    return nullptr;
}

std::vector<std::string> JsonValue::keys() const
{
    std::vector<std::string> names;
    for (const auto& member : members)
        names.push_back(member.first);
    return names;
}

std::optional<int64_t> JsonValue::integer() const
{
    if (kind != Kind::Number)
        return std::nullopt;
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<JsonValue> ParseJson(std::string_view text)
{
    return Reader(text).document();
}

} // namespace tarvelle::test
