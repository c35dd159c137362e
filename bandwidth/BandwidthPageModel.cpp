#include "BandwidthPageModel.h"

#include <utility>
#include <vector>

namespace tarvelle::bandwidth {

namespace {

template <class Table, class Text> std::vector<std::string> ItemTexts(const Table& table, Text text)
{
    std::vector<std::string> items;
    for (const auto& row : table)
        items.emplace_back(text(row));
    return items;
}

} // namespace

BandwidthPageModel::BandwidthPageModel(Platform& platform, std::string decimalSeparator)
    : cbBWUnit(ItemTexts(RateSizeFactors, [](const RateSizeUnit& r) { return r.rateText; }))
    , cbDSUnit(ItemTexts(RateSizeFactors, [](const RateSizeUnit& r) { return r.sizeText; }))
    , cbTmUnit(ItemTexts(TimeFactors, [](const TimeUnit& r) { return r.text; }))
    , cbCommon(ItemTexts(CommonRates, [](const CommonRate& r) { return r.text; }))
    , platform_(platform)
    , separator_(std::move(decimalSeparator))
{
    tbBW.onChange = [this] { tbBWChange(); };
    tbDS.onChange = [this] { tbDSChange(); };
    tbTm.onChange = [this] { tbTmChange(); };
    cbBWUnit.onPick = [this] { cbBWUnitClick(); };
    cbDSUnit.onPick = [this] { cbDSUnitClick(); };
    cbTmUnit.onPick = [this] { cbTmUnitClick(); };
    cbCommon.onPick = [this] { cbCommonClick(); };
    seTol.onChange = [this] { seTolChange(); };
}

void BandwidthPageModel::SetInitialUnits()
{
    cbBWUnit.setIndex(InitialUnits[0]);
    cbDSUnit.setIndex(InitialUnits[1]);
    cbTmUnit.setIndex(InitialUnits[2]);
}

BandwidthPageModel::Row BandwidthPageModel::rateRow()
{
    return {Quantity::Rate, tbBW, cbBWUnit, values.StoredBW, lbBWTol};
}

BandwidthPageModel::Row BandwidthPageModel::sizeRow()
{
    return {Quantity::Size, tbDS, cbDSUnit, values.StoredDS, lbDSTol};
}

BandwidthPageModel::Row BandwidthPageModel::timeRow()
{
    return {Quantity::Time, tbTm, cbTmUnit, values.StoredTm, lbTmTol};
}

void BandwidthPageModel::tbBWChange()
{
    if (tbBW.empty())
        return;
    cbCommon.setIndex(-1);
    boxChanged(rateRow());
}

void BandwidthPageModel::tbDSChange()
{
    if (tbDS.empty())
        return;
    boxChanged(sizeRow());
}

void BandwidthPageModel::tbTmChange()
{
    if (tbTm.empty())
        return;
    boxChanged(timeRow());
}

// Any failure (not a number, an overflow, a line too wide for the rounding) leaves the remaining steps
// undone, and the colouring still runs.
void BandwidthPageModel::boxChanged(const Row& row)
{
    const std::optional<long double> shown = TextToNumber(row.box.text(), separator_);
    const std::optional<long double> factor = UnitFactor(row.quantity, row.unit.index());
    if (shown && factor) {
        if (const std::optional<long double> stored = ShownToStored(*factor, *shown)) {
            row.stored = *stored;
            const long double v = StoredToShown(row.stored, *factor);
            if (std::optional<std::string> line = TolText(v, values.TolPercent, row.unit.text(), separator_))
                row.line = std::move(*line);
        }
    }
    colourLabel1();
}

void BandwidthPageModel::colourLabel1()
{
    switch (ValuesAgree(values)) {
    case Agreement::Disagree:
        label1Red = true;
        break;
    case Agreement::Agree:
        label1Red = false;
        break;
    case Agreement::NoVerdict:
        break;
    }
}

void BandwidthPageModel::cbBWUnitClick()
{
    showStored(rateRow());
}

void BandwidthPageModel::cbDSUnitClick()
{
    showStored(sizeRow());
}

void BandwidthPageModel::cbTmUnitClick()
{
    showStored(timeRow());
}

// Shows the stored quantity in the selected unit, without the two-decimal rounding; an unchanged text runs
// nothing, so the line then keeps its former unit.
void BandwidthPageModel::showStored(const Row& row)
{
    if (const std::optional<long double> factor = UnitFactor(row.quantity, row.unit.index()))
        row.box.set(NumberToText(StoredToShown(row.stored, *factor), separator_));
}

void BandwidthPageModel::btnBWClick()
{
    solve(rateRow());
}

void BandwidthPageModel::btnDSClick()
{
    solve(sizeRow());
}

void BandwidthPageModel::btnTmClick()
{
    solve(timeRow());
}

// Solves on the page's record; the box's change handler then reads the shown text back and writes the line, as
// after a unit change.
void BandwidthPageModel::solve(const Row& row)
{
    SolveInput input;
    input.values = values;
    input.shownUnits[static_cast<size_t>(row.quantity)] = row.unit.index();
    input.solve = row.quantity;
    input.decimalSeparator = separator_;
    const std::variant<SolveOutput, SolveError> result = Solve(input);
    const SolveOutput* out = std::get_if<SolveOutput>(&result);
    if (out == nullptr) {
        platform_.beep();
        return;
    }
    row.stored = out->solved;
    row.box.set(out->rows[static_cast<size_t>(row.quantity)].text);
}

void BandwidthPageModel::seTolChange()
{
    values.TolPercent = seTol.value();
    tbBWChange();
    tbDSChange();
    tbTmChange();
}

void BandwidthPageModel::cbCommonClick()
{
    const int k = cbCommon.index();
    const std::optional<long double> factor = RateSizeFactor(cbBWUnit.index());
    if (!factor)
        return;
    const std::optional<long double> shown = CommonRateInUnit(k, *factor);
    if (!shown)
        return;
    const std::optional<long double> stored = ShownToStored(*factor, *shown);
    if (!stored)
        return;
    values.StoredBW = *stored;
    tbBW.set(NumberToText(*shown, separator_));
    cbCommon.setIndex(k);
}

} // namespace tarvelle::bandwidth
