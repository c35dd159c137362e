#include "BandwidthSolve.h"

namespace tarvelle::bandwidth {

namespace {

size_t Index(Quantity quantity)
{
    return static_cast<size_t>(quantity);
}

// The quantity's field of a record, const or not.
template <class Values> auto& Stored(Values& values, Quantity quantity)
{
    switch (quantity) {
    case Quantity::Rate:
        return values.StoredBW;
    case Quantity::Size:
        return values.StoredDS;
    case Quantity::Time:
        break;
    }
    return values.StoredTm;
}

// One row being filled: its quantity, the factor of the unit it is shown in, and where its value is stored.
struct RowWork
{
    Quantity quantity;
    long double factor;
    SolvedRow& row;
    long double& stored;
};

// Puts a value into the row as the page's box shows it, 15 digits in the row's unit, and stores what that text
// reads back as; a text that cannot be read back (at the very ends of the range) leaves the value as it was.
void Show(const RowWork& work, long double value, const SolveInput& input)
{
    work.row.text = NumberToText(StoredToShown(value, work.factor), input.decimalSeparator);
    const std::optional<long double> shown = TextToNumber(work.row.text, input.decimalSeparator);
    const std::optional<long double> readBack = shown ? ShownToStored(work.factor, *shown) : std::nullopt;
    work.stored = readBack.value_or(value);
}

void WriteLine(const RowWork& work, const SolveInput& input)
{
    work.row.line = TolText(StoredToShown(work.stored, work.factor), input.values.TolPercent,
                            UnitText(work.quantity, work.row.unit), input.decimalSeparator);
}

// A given value, stored in base units; shown in another unit, it is converted as the page's unit list
// converts a box, and its line names the unit it is shown in.
std::optional<SolveError> Enter(const RowWork& work, const GivenValue& given, const SolveInput& input)
{
    const std::optional<long double> factor = UnitFactor(work.quantity, given.unit);
    if (!factor)
        return SolveError::UnknownUnit;
    const std::optional<long double> stored = ShownToStored(*factor, given.value);
    if (!stored)
        return SolveError::TooLarge;
    if (given.unit != work.row.unit) {
        Show(work, *stored, input);
    } else {
        work.stored = *stored;
        work.row.text
            = given.text.empty() ? NumberToText(given.value, input.decimalSeparator) : std::string(given.text);
    }
    WriteLine(work, input);
    return std::nullopt;
}

// The quantity worked out from the other two; the divisor tells a division by zero from an overflow.
std::optional<SolveError> Calculate(Quantity quantity, TBandwidthValues& values)
{
    switch (quantity) {
    case Quantity::Rate:
        if (CalcBW(values))
            return std::nullopt;
        return values.StoredTm == 0 ? SolveError::DivisionByZero : SolveError::TooLarge;
    case Quantity::Size:
        if (CalcDS(values))
            return std::nullopt;
        return SolveError::TooLarge;
    case Quantity::Time:
        break;
    }
    if (CalcTm(values))
        return std::nullopt;
    return values.StoredBW == 0 ? SolveError::DivisionByZero : SolveError::TooLarge;
}

// Works the row's quantity out from the other two stored values and shows it in the row.
std::optional<SolveError> WorkOut(const RowWork& work, SolveOutput& out, const SolveInput& input)
{
    TBandwidthValues values = out.values;
    if (const std::optional<SolveError> error = Calculate(work.quantity, values))
        return error;
    out.solved = Stored(values, work.quantity);
    const std::string previous = work.row.text;
    Show(work, out.solved, input);
    // As in the page's box, a text that did not change is not read again: the value stays as computed and the
    // line as it was.
    if (input.given[Index(work.quantity)] && work.row.text == previous)
        work.stored = out.solved;
    else
        WriteLine(work, input);
    return std::nullopt;
}

} // namespace

std::optional<long double> UnitFactor(Quantity quantity, int unit)
{
    return quantity == Quantity::Time ? TimeFactor(unit) : RateSizeFactor(unit);
}

long double StoredValue(const TBandwidthValues& values, Quantity quantity)
{
    return Stored(values, quantity);
}

std::string_view UnitText(Quantity quantity, int unit)
{
    if (!UnitFactor(quantity, unit))
        return {};
    const auto row = static_cast<size_t>(unit);
    switch (quantity) {
    case Quantity::Rate:
        return RateSizeFactors[row].rateText;
    case Quantity::Size:
        return RateSizeFactors[row].sizeText;
    case Quantity::Time:
        break;
    }
    return TimeFactors[row].text;
}

std::variant<SolveOutput, SolveError> Solve(const SolveInput& input)
{
    SolveOutput out;
    out.values = input.values;
    std::array<long double, 3> factors {};
    for (size_t k = 0; k < 3; ++k) {
        const auto quantity = static_cast<Quantity>(k);
        const std::optional<GivenValue>& given = input.given[k];
        SolvedRow& row = out.rows[k];
        row.unit = input.shownUnits[k].value_or(given ? given->unit : InitialUnits[k]);
        const std::optional<long double> factor = UnitFactor(quantity, row.unit);
        if (!factor)
            return SolveError::UnknownUnit;
        factors[k] = *factor;
        if (!given)
            continue;
        if (const std::optional<SolveError> error
            = Enter({quantity, *factor, row, Stored(out.values, quantity)}, *given, input))
            return *error;
    }
    if (input.solve) {
        const size_t k = Index(*input.solve);
        if (const std::optional<SolveError> error
            = WorkOut({*input.solve, factors[k], out.rows[k], Stored(out.values, *input.solve)}, out, input))
            return *error;
    }
    out.agreement = ValuesAgree(out.values);
    return out;
}

} // namespace tarvelle::bandwidth
