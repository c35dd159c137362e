// The Bandwidth page under any sequence of user events. The stored quantities stay finite, and each event
// touches only what it may: an edit or a unit choice changes its own row, a solve changes the solved row (or,
// when it fails, nothing at all and beeps), a common rate changes the rate row, the tolerance changes no box.
#include "BandwidthPageModel.h"
#include "FakePlatform.h"
#include "FuzzInput.h"

#include <cmath>

using namespace tarvelle;
using namespace tarvelle::bandwidth;
using tarvelle::fuzz::FuzzInput;
using tarvelle::test::FakePlatform;

namespace {

struct RowState
{
    std::string box;
    int unit;
    long double stored;
    std::string line;
    bool operator==(const RowState&) const = default;
};

struct PageState
{
    RowState rows[3];
    int common;
    bool red;
    bool operator==(const PageState&) const = default;
};

PageState Snapshot(const BandwidthPageModel& m)
{
    return {{{m.tbBW.text(), m.cbBWUnit.index(), m.values.StoredBW, m.lbBWTol},
             {m.tbDS.text(), m.cbDSUnit.index(), m.values.StoredDS, m.lbDSTol},
             {m.tbTm.text(), m.cbTmUnit.index(), m.values.StoredTm, m.lbTmTol}},
            m.cbCommon.index(),
            m.label1Red};
}

// Numbers the rules are most likely to trip on, alongside whatever bytes the fuzzer makes up.
const char* const kNumbers[] = {"1",       "0",       "-0",        "1e4931", "1.18973149535723E4932",
                                "-1e4932", "1e-4950", "3.6E-4951", "0.005",  "99999999999999999999",
                                ".5",      "5.",      "1,5",       " 7 "};

std::string TypedText(FuzzInput& in)
{
    if (in.byte() & 1u)
        return kNumbers[in.inRange(0, std::size(kNumbers) - 1)];
    return in.text(24);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    FakePlatform platform;
    BandwidthPageModel page(platform, in.byte() & 1u ? "," : ".");
    page.SetInitialUnits();
    EditField* boxes[] = {&page.tbBW, &page.tbDS, &page.tbTm};
    PickList* units[] = {&page.cbBWUnit, &page.cbDSUnit, &page.cbTmUnit};
    void (BandwidthPageModel::*solves[])()
        = {&BandwidthPageModel::btnBWClick, &BandwidthPageModel::btnDSClick, &BandwidthPageModel::btnTmClick};
    for (int events = 0; !in.empty() && events < 64; ++events) {
        const PageState before = Snapshot(page);
        const int beeps = platform.beeps;
        // The row an event may change; -1 for none, 3 for the tolerance (which may re-read every box).
        int row = -1;
        switch (in.byte() % 6u) {
        case 0:
            row = static_cast<int>(in.inRange(0, 2));
            boxes[row]->set(TypedText(in));
            break;
        case 1:
            row = static_cast<int>(in.inRange(0, 2));
            units[row]->pick(static_cast<int>(in.inRange(0, static_cast<int64_t>(units[row]->items().size()) - 1)));
            break;
        case 2:
            row = static_cast<int>(in.inRange(0, 2));
            (page.*solves[row])();
            break;
        case 3:
            row = 0;
            page.cbCommon.pick(static_cast<int>(in.inRange(0, static_cast<int64_t>(page.cbCommon.items().size()) - 1)));
            break;
        case 4:
            row = 3;
            page.seTol.setText(in.text(6));
            break;
        default:
            row = 3;
            if (in.byte() & 1u)
                page.seTol.step(in.byte() & 1u ? 1 : -1);
            else
                page.seTol.focusLost();
            break;
        }
        const PageState after = Snapshot(page);
        for (const RowState& r : after.rows)
            FUZZ_CHECK(std::isfinite(r.stored));
        if (platform.beeps != beeps) {
            FUZZ_CHECK(platform.beeps == beeps + 1);
            FUZZ_CHECK(after == before);
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            if (row == 3)
                FUZZ_CHECK(after.rows[k].box == before.rows[k].box && after.rows[k].unit == before.rows[k].unit);
            else if (k != row)
                FUZZ_CHECK(after.rows[k] == before.rows[k]);
        }
    }
    return 0;
}
