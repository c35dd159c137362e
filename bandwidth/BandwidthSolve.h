// The Bandwidth calculator's solve as one typed call: given quantities in, the page's three rows out.
//
// Solve takes a calculator record (the stored quantities and the tolerance), up to three given quantities
// (each a number in a unit row of its table), the unit each row is shown in and which quantity to work out.
// It returns what the Bandwidth page shows once those values stand in its boxes and that quantity's button
// has been pressed: each row's number and tolerance line, the stored values and the agreement; or, when the
// quantity cannot be worked out, why. The page model's solve buttons call it with their record, tarvelle-cli's
// bandwidth command with the values of its options. Like the page, it shows a converted or worked-out number
// with up to 15 significant digits and stores what that text reads back as.
#pragma once

#include "BandwidthCalc.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tarvelle::bandwidth {

/// The page's three rows, in their order; an index into the arrays below.
enum class Quantity { Rate, Size, Time };

/// The unit rows the page starts at, rate first: "Kbps (b10)", "KB (b2)" and "min".
inline constexpr std::array<int, 3> InitialUnits {2, 9, 1};

/// The factor of a unit row of the quantity's table (RateSizeFactors or TimeFactors); nullopt outside it.
std::optional<long double> UnitFactor(Quantity quantity, int unit);

/// The list text of a unit row of the quantity's table, as the page's list shows it; "" outside the table.
std::string_view UnitText(Quantity quantity, int unit);

/// The stored value of a quantity: StoredBW, StoredDS or StoredTm.
long double StoredValue(const TBandwidthValues& values, Quantity quantity);

/// A number in a unit row of its quantity's table.
struct GivenValue
{
    long double value = 0;
    int unit = 0;
    std::string_view text {}; // the number as typed, if any: shown as it stands while the unit is unchanged
};

/// What to solve, from what.
struct SolveInput
{
    TBandwidthValues values; // the record to start from: stored quantities in base units, and the tolerance
    std::array<std::optional<GivenValue>, 3> given; // rate, size, time; each replaces its stored quantity
    std::array<std::optional<int>, 3> shownUnits; // none: the unit the value was given in, else InitialUnits
    std::optional<Quantity> solve; // none: the given values are only shown
    std::string_view decimalSeparator = ".";
};

/// One row of the page.
struct SolvedRow
{
    int unit = 0; // the unit row the number is shown in
    std::string text; // the number; empty when the quantity is neither given nor worked out
    std::optional<std::string> line; // the tolerance line; none without a number or when it is too wide
};

/// The page after the solve.
struct SolveOutput
{
    std::array<SolvedRow, 3> rows;
    // The record after the solve: a value given in the unit it is shown in stored as given, any other number
    // shown as its text reads back, a quantity neither given nor worked out as it was.
    TBandwidthValues values;
    long double solved = 0; // the worked-out quantity as computed, before its text is read back
    Agreement agreement = Agreement::NoVerdict;
};

/// Why a solve gives no rows.
enum class SolveError {
    DivisionByZero, // the divisor (time for the rate, rate for the time) is zero
    TooLarge, // the result, or a given value in base units, is beyond the extended range
    UnknownUnit, // a unit row outside its table
};

/// The rows for the given values, the worked-out quantity among them; or why it cannot be worked out.
std::variant<SolveOutput, SolveError> Solve(const SolveInput& input);

} // namespace tarvelle::bandwidth
