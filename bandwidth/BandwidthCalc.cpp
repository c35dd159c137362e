#include "BandwidthCalc.h"

#include <cmath>
#include <cstdint>

namespace tarvelle::bandwidth {

namespace {

// A quotient that fails for any zero divisor (0 ÷ 0 included) and for a result beyond the finite range.
std::optional<long double> Divide(long double dividend, long double divisor)
{
    if (divisor == 0)
        return std::nullopt;
    const long double q = dividend / divisor;
    if (!std::isfinite(q))
        return std::nullopt;
    return q;
}

std::optional<long double> Multiply(long double a, long double b)
{
    const long double p = a * b;
    if (!std::isfinite(p))
        return std::nullopt;
    return p;
}

} // namespace

std::optional<long double> RateSizeFactor(int index)
{
    if (index < 0 || index >= static_cast<int>(RateSizeFactors.size()))
        return std::nullopt;
    return RateSizeFactors[static_cast<size_t>(index)].factor;
}

std::optional<long double> TimeFactor(int index)
{
    if (index < 0 || index >= static_cast<int>(TimeFactors.size()))
        return std::nullopt;
    return TimeFactors[static_cast<size_t>(index)].factor;
}

float CommonRateBitsPerSecond(const CommonRate& row)
{
    const float bits = row.kbps * 1000.0f;
    return bits;
}

std::optional<long double> ShownToStored(long double factor, long double shown)
{
    return Multiply(factor, shown);
}

long double StoredToShown(long double stored, long double factor)
{
    return stored / factor;
}

bool CalcBW(TBandwidthValues& values)
{
    const std::optional<long double> rate = Divide(values.StoredDS, values.StoredTm);
    if (!rate)
        return false;
    values.StoredBW = *rate;
    return true;
}

bool CalcDS(TBandwidthValues& values)
{
    const std::optional<long double> size = Multiply(values.StoredBW, values.StoredTm);
    if (!size)
        return false;
    values.StoredDS = *size;
    return true;
}

bool CalcTm(TBandwidthValues& values)
{
    const std::optional<long double> time = Divide(values.StoredDS, values.StoredBW);
    if (!time)
        return false;
    values.StoredTm = *time;
    return true;
}

std::optional<std::string> TolText(long double shown, long double tolPercent, std::string_view unitText,
                                   std::string_view decimalSeparator)
{
    const std::optional<std::string> t1 = RoundedNumberToText(tolPercent, decimalSeparator);
    if (!t1)
        return std::nullopt;
    const std::optional<long double> loProduct = Multiply(100 - tolPercent, shown);
    if (!loProduct)
        return std::nullopt;
    const std::optional<std::string> t2 = RoundedNumberToText(*loProduct / 100, decimalSeparator);
    if (!t2)
        return std::nullopt;
    const std::optional<long double> hiProduct = Multiply(tolPercent + 100, shown);
    if (!hiProduct)
        return std::nullopt;
    const std::optional<std::string> t3 = RoundedNumberToText(*hiProduct / 100, decimalSeparator);
    if (!t3)
        return std::nullopt;
    return "\u00B1 " + *t1 + "%: " + *t2 + " - " + *t3 + " " + std::string(unitText);
}

Agreement ValuesAgree(const TBandwidthValues& values)
{
    if (!(values.StoredTm > 0) || !(values.StoredDS > 0))
        return Agreement::NoVerdict;
    // Either quotient can only fail at the far ends of the range (an overflow, or size ÷ time rounding to
    // zero); the label then keeps its colour rather than claiming anything.
    const std::optional<long double> impliedRate = Divide(values.StoredDS, values.StoredTm);
    if (!impliedRate)
        return Agreement::NoVerdict;
    const std::optional<long double> ratio = Divide(values.StoredBW, *impliedRate);
    if (!ratio)
        return Agreement::NoVerdict;
    const long double d = std::fabs(*ratio - 1);
    return d <= 0.0001L ? Agreement::Agree : Agreement::Disagree;
}

std::optional<long double> CommonRateInUnit(int index, long double rateFactor)
{
    if (index < 0 || index >= static_cast<int>(CommonRates.size()) || !(rateFactor > 0))
        return std::nullopt;
    const long double bits = CommonRateBitsPerSecond(CommonRates[static_cast<size_t>(index)]);
    long double q = bits / rateFactor;
    q = q * 1000;
    q = q + 0.1L;
    const long double cut = std::trunc(q);
    if (!(cut >= -0x1p63L && cut < 0x1p63L))
        return std::nullopt;
    return static_cast<long double>(static_cast<int64_t>(cut)) / 1000;
}

} // namespace tarvelle::bandwidth
