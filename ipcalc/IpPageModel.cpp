#include "IpPageModel.h"

#include <cassert>
#include <vector>

namespace tarvelle {
namespace {

std::vector<std::string> ToItems(const std::array<std::string_view, PrefixCount>& texts)
{
    return {texts.begin(), texts.end()};
}

constexpr char32_t kBackspace = 8;

} // namespace

IpPageModel::IpPageModel() : cbSlash(ToItems(SlashItems)), cbMask(ToItems(MaskItems))
{
    for (EditField* box : {&tbIP1, &tbIP2, &tbIP3, &tbIP4})
        box->onChange = [this] { tbIP1Change(); };
    cbSlash.onPick = [this] { cbSlashClick(); };
    cbMask.onPick = [this] { cbMaskClick(); };
}

void IpPageModel::SetInitialLists()
{
    cbSlash.setIndex(InitialPrefixIndex);
    cbMask.setIndex(InitialPrefixIndex);
}

void IpPageModel::CalcSubnet()
{
    if (onCalc)
        onCalc();
    const TSubnetResult r = ComputeSubnet({tbIP1.text(), tbIP2.text(), tbIP3.text(), tbIP4.text()}, cbSlash.index());

    // Each correction is a text change and runs this method again, nested; the nested run sees the corrected
    // text and writes the same labels, so the outer run simply carries on. A box the nested run has already
    // corrected holds the correction, and setting an equal text fires nothing.
    for (int k = 1; k <= 4; ++k) {
        const auto& correction = r.OctetCorrections[static_cast<size_t>(k - 1)];
        if (correction)
            octetBox(k).set(*correction);
    }

    lbSNBinary = r.SNBinaryText;
    lbReserved = r.ReservedText;
    lbBroadcast = r.BroadcastText;
    lbSubnet = r.RangeText;
    lbAddresses = r.AddressesText;
    lbClass = r.ClassText;
    lbBreakdown = r.BreakdownText;
    lbIPBinary = r.IPBinaryText;
}

void IpPageModel::tbIP1Change()
{
    CalcSubnet();
}

void IpPageModel::cbSlashClick()
{
    // Setting the index from code fires no pick, so the other list's handler does not run.
    cbMask.setIndex(cbSlash.index());
    CalcSubnet();
}

void IpPageModel::cbMaskClick()
{
    cbSlash.setIndex(cbMask.index());
    CalcSubnet();
}

IpPageModel::KeyAction IpPageModel::tbIP1KeyPress(int box, char32_t key) const
{
    assert(box >= 1 && box <= 4);
    if (box < 1 || box > 4)
        return KeyAction::Swallow;
    const bool empty = octetBox(box).empty();
    if (key == U'.')
        return !empty && box != 4 ? KeyAction::FocusNext : KeyAction::Swallow;
    if (key == kBackspace && box != 1 && empty)
        return KeyAction::FocusPrevious;
    if (key < 32)
        return KeyAction::Pass;
    if (key >= U'0' && key <= U'9')
        return KeyAction::Pass;
    return KeyAction::Swallow;
}

EditField& IpPageModel::octetBox(int box)
{
    return const_cast<EditField&>(static_cast<const IpPageModel&>(*this).octetBox(box));
}

const EditField& IpPageModel::octetBox(int box) const
{
    assert(box >= 1 && box <= 4);
    switch (box) {
    case 1:
        return tbIP1;
    case 2:
        return tbIP2;
    case 3:
        return tbIP3;
    default:
        return tbIP4;
    }
}

} // namespace tarvelle
