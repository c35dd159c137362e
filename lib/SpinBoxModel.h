// The integer spin box shared by the Bandwidth and Password pages, without any toolkit.
//
// It holds a text and a range MinValue..MaxValue:
//  - value() reads the text as a decimal integer, unclamped; a text that is no integer reads as MinValue;
//  - setValue() clamps into the range, except when MinValue equals MaxValue, and writes the decimal text;
//  - onChange runs on every change of the text and only then (typing, arrows, writes from code);
//  - the arrows write value + 1 and value - 1; leaving the box re-clamps an out-of-range value;
//  - changing MinValue or MaxValue touches neither value nor text and runs nothing;
//  - typing takes digits, signs, the decimal separator and control keys other than Enter; anything else
//    is refused, and the widget beeps.
// SpinBox (lib/widgets) binds a Qt widget to one of these; the page models own them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tarvelle {

class SpinBoxModel
{
public:
    std::function<void()> onChange;

    SpinBoxModel(int32_t value, int32_t minValue, int32_t maxValue);

    const std::string& text() const { return text_; }
    /// Sets the text as typed; runs onChange when it differs from the current text.
    void setText(std::string text);

    /// The text read as an integer, not clamped; MinValue when the text is not an integer.
    int32_t value() const;
    /// Writes v, clamped into the range unless MinValue equals MaxValue.
    void setValue(int64_t v);

    int32_t minValue() const { return min_; }
    int32_t maxValue() const { return max_; }
    void setMinValue(int32_t v) { min_ = v; }
    void setMaxValue(int32_t v) { max_ = v; }

    /// Up (+1) or down (-1) arrow, by button or key.
    void step(int steps) { setValue(static_cast<int64_t>(value()) + steps); }
    /// The box lost the focus: an out-of-range value is written again, which clamps it.
    void focusLost();

    /// Whether typing the character reaches the box; the widget beeps when it does not.
    static bool acceptsKey(char32_t ch, char32_t decimalSeparator);
    /// Reads a whole decimal integer with optional sign; false for anything else or beyond 32 bits.
    static bool parseInteger(const std::string& text, int32_t& out);

private:
    std::string text_;
    int32_t min_;
    int32_t max_;
};

} // namespace tarvelle
