// The Bandwidth calculator's arithmetic, free of any window.
//
// Owns the unit tables behind the three unit lists, the common line rates, the record of the three stored
// quantities (rate in bits per second, size in bits, time in seconds) with the tolerance, and the operations
// on them: solving one quantity from the other two, the tolerance line, the agreement test and a common rate
// in a chosen unit. Everything is computed in long double (the x87 80-bit type) in a fixed order. A failing
// operation says so by its return value and changes nothing. BandwidthPageModel calls them from its handlers,
// Solve (BandwidthSolve.h) for the solve buttons and the command line.
#pragma once

#include "NumberText.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelle::bandwidth {

/// One row shared by the rate and size unit lists; factor turns a shown number into bits per second or bits.
struct RateSizeUnit
{
    const char* rateText;
    const char* sizeText;
    long double factor;
};

inline constexpr std::array<RateSizeUnit, 14> RateSizeFactors {{
    {"bps", "bits", 1.0L},
    {"Bps", "bytes", 8.0L},
    {"Kbps (b10)", "Kb (b10)", 1000.0L},
    {"KBps (b10)", "KB (b10)", 8000.0L},
    {"Mbps (b10)", "Mb (b10)", 1000000.0L},
    {"MBps (b10)", "MB (b10)", 8000000.0L},
    {"Gbps (b10)", "Gb (b10)", 1000000000.0L},
    {"GBps (b10)", "GB (b10)", 8000000000.0L},
    {"Kbps (b2)", "Kb (b2)", 1024.0L},
    {"KBps (b2)", "KB (b2)", 8192.0L},
    {"Mbps (b2)", "Mb (b)", 1048576.0L},
    {"MBps (b2)", "MB (b2)", 8388608.0L},
    {"Gbps (b2)", "Gb (b2)", 1073741824.0L},
    {"GBps (b2)", "GB (b2)", 8589934592.0L},
}};

/// One row of the time unit list; factor turns a shown number into seconds.
struct TimeUnit
{
    const char* text;
    long double factor;
};

inline constexpr std::array<TimeUnit, 4> TimeFactors {{
    {"sec", 1.0L},
    {"min", 60.0L},
    {"hrs", 3600.0L},
    {"days", 86400.0L},
}};

/// One item of the common-rate list, in decimal kilobits per second held as a 32-bit float.
struct CommonRate
{
    const char* text;
    float kbps;
};

inline constexpr std::array<CommonRate, 19> CommonRates {{
    {"28.8kbps", 28.8f},     {"33.6kbps", 33.6f},      {"56kbps", 56.0f},      {"1-ch ISDN", 64.0f},
    {"2-ch ISDN", 128.0f},   {"208 Kbps", 208.0f},     {"256 Kbps", 256.0f},   {"384 Kbps", 384.0f},
    {"512 Kbps", 512.0f},    {"768 Kbps", 768.0f},     {"1024 Kbps", 1024.0f}, {"T-1 / DS-1", 1544.0f},
    {"T-2 / DS-2", 6312.0f}, {"T-3 / DS-3", 44736.0f}, {"OC-1", 51840.0f},     {"OC-3", 155520.0f},
    {"OC-12", 622080.0f},    {"OC-48", 2488320.0f},    {"OC-192", 9953280.0f},
}};

/// The calculator's record: the stored quantities in base units and the tolerance percentage.
struct TBandwidthValues
{
    long double StoredBW = 0; // bits per second
    long double StoredDS = 0; // bits
    long double StoredTm = 0; // seconds
    long double TolPercent = 3;
};

/// The verdict of the agreement test; a test that cannot be computed gives no verdict.
enum class Agreement { NoVerdict, Agree, Disagree };

/// The factor of a rate or size unit row; nullopt for an index outside the table.
std::optional<long double> RateSizeFactor(int index);
/// The factor of a time unit row; nullopt for an index outside the table.
std::optional<long double> TimeFactor(int index);
/// The rate of a common-rate row in bits per second: kbps × 1000, rounded to a 32-bit float.
float CommonRateBitsPerSecond(const CommonRate& row);

/// factor × shown, the stored quantity of a shown number; nullopt when the product overflows.
std::optional<long double> ShownToStored(long double factor, long double shown);
/// stored ÷ factor, the number a stored quantity shows in a unit.
long double StoredToShown(long double stored, long double factor);

/// StoredBW := StoredDS ÷ StoredTm; false (nothing changed) for a zero time or an overflow.
bool CalcBW(TBandwidthValues& values);
/// StoredDS := StoredBW × StoredTm; false (nothing changed) on overflow.
bool CalcDS(TBandwidthValues& values);
/// StoredTm := StoredDS ÷ StoredBW; false (nothing changed) for a zero rate or an overflow.
bool CalcTm(TBandwidthValues& values);

/// "± t%: lo - hi unit" for a shown value; nullopt when a product overflows or a rounding fails.
std::optional<std::string> TolText(long double shown, long double tolPercent, std::string_view unitText,
                                   std::string_view decimalSeparator = ".");

/// Whether rate, size and time fit size = rate × time within 0.01 %; no verdict unless size and time are
/// positive, or when the ratios overflow or divide by zero.
Agreement ValuesAgree(const TBandwidthValues& values);

/// A common rate in the unit of the given factor, cut to three decimals; nullopt for an index outside the
/// table, a factor that is not positive, or a result beyond the 64-bit integer range.
std::optional<long double> CommonRateInUnit(int index, long double rateFactor);

} // namespace tarvelle::bandwidth
