// The spin box model under any sequence of typing, arrows, writes from code, focus changes and range changes:
// onChange runs exactly when the text changes; written values land inside a proper range; leaving the box
// brings an out-of-range value back into it.
#include "FuzzInput.h"
#include "SpinBoxModel.h"

#include <algorithm>

using namespace tarvelle;
using tarvelle::fuzz::FuzzInput;

namespace {

bool InRange(const SpinBoxModel& box)
{
    return box.value() >= box.minValue() && box.value() <= box.maxValue();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    auto lo = static_cast<int32_t>(in.inRange(-200, 200));
    auto hi = static_cast<int32_t>(in.inRange(-200, 200));
    if (lo > hi)
        std::swap(lo, hi);
    SpinBoxModel box(static_cast<int32_t>(in.inRange(lo, hi)), lo, hi);
    int changes = 0;
    box.onChange = [&] { ++changes; };
    while (!in.empty()) {
        const std::string before = box.text();
        const int changesBefore = changes;
        bool mustBeInRange = false;
        switch (in.byte() % 7u) {
        case 0: { // typing: the widget lets through only the keys the model accepts
            std::string typed = box.text();
            const auto ch = static_cast<char32_t>(in.byte());
            if (SpinBoxModel::acceptsKey(ch, U'.') && ch >= 32)
                typed.insert(std::min<size_t>(in.byte(), typed.size()), 1, static_cast<char>(ch));
            box.setText(typed);
            break;
        }
        case 1: // pasted or otherwise set text, anything at all
            box.setText(in.text(16));
            break;
        case 2:
            box.step(in.byte() & 1u ? 1 : -1);
            mustBeInRange = true;
            break;
        case 3:
            box.setValue(in.inRange(INT64_MIN / 2, INT64_MAX / 2) >> static_cast<unsigned>(in.byte() % 63u));
            mustBeInRange = true;
            break;
        case 4:
            box.focusLost();
            mustBeInRange = true;
            break;
        case 5: { // a coupled box moves this one's range; the text is left alone
            auto newLo = static_cast<int32_t>(in.inRange(-200, 200));
            auto newHi = static_cast<int32_t>(in.inRange(-200, 200));
            if (newLo > newHi)
                std::swap(newLo, newHi);
            box.setMinValue(newLo);
            box.setMaxValue(newHi);
            FUZZ_CHECK(box.text() == before);
            break;
        }
        default: { // reading: a sign and digits only, and the value survives being written and read again
            int32_t parsed = 0;
            const std::string text = in.text(14);
            if (SpinBoxModel::parseInteger(text, parsed)) {
                const size_t digits = text[0] == '+' || text[0] == '-' ? 1 : 0;
                FUZZ_CHECK(text.size() > digits);
                FUZZ_CHECK(text.find_first_not_of("0123456789", digits) == std::string::npos);
                int32_t again = 0;
                FUZZ_CHECK(SpinBoxModel::parseInteger(std::to_string(parsed), again) && again == parsed);
            }
            break;
        }
        }
        FUZZ_CHECK(changes - changesBefore == (box.text() != before ? 1 : 0));
        if (mustBeInRange && box.minValue() != box.maxValue())
            FUZZ_CHECK(InRange(box));
        int32_t parsed = 0;
        FUZZ_CHECK(box.value() == (SpinBoxModel::parseInteger(box.text(), parsed) ? parsed : box.minValue()));
    }
    return 0;
}
