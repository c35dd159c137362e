#include "SpinBoxModel.h"

#include <algorithm>
#include <utility>

namespace tarvelle {

SpinBoxModel::SpinBoxModel(int32_t value, int32_t minValue, int32_t maxValue)
    : text_(std::to_string(value)), min_(minValue), max_(maxValue)
{ }

void SpinBoxModel::setText(std::string text)
{
    if (text == text_)
        return;
    text_ = std::move(text);
    if (onChange)
        onChange();
}

int32_t SpinBoxModel::value() const
{
    int32_t v = 0;
    return parseInteger(text_, v) ? v : min_;
}

void SpinBoxModel::setValue(int64_t v)
{
    // The lower bound is tested first, so a range whose MinValue lies above its MaxValue (possible for a
    // moment while coupled boxes settle) yields MinValue for values below it.
    if (min_ != max_) {
        if (v < min_)
            v = min_;
        else if (v > max_)
            v = max_;
    }
    v = std::clamp<int64_t>(v, INT32_MIN, INT32_MAX);
    setText(std::to_string(v));
}

void SpinBoxModel::focusLost()
{
    const int32_t v = value();
    if (min_ != max_ && (v < min_ || v > max_))
        setValue(v);
}

bool SpinBoxModel::acceptsKey(char32_t ch, char32_t decimalSeparator)
{
    if (ch == U'\r' || ch == U'\n')
        return false;
    if (ch < 32 || ch == 127)
        return true;
    return (ch >= U'0' && ch <= U'9') || ch == U'+' || ch == U'-' || ch == decimalSeparator;
}

bool SpinBoxModel::parseInteger(const std::string& text, int32_t& out)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<int64_t>(INT32_MAX) + 1)
            return false;
    }
    v = negative ? -v : v;
    if (v < INT32_MIN || v > INT32_MAX)
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

} // namespace tarvelle
