// The IP Calculator page as a model that runs without a window.
//
// It owns the page's state under the controls' names: the four octet boxes, the prefix and mask lists (kept
// at the same item index) and the eight result labels. CalcSubnet reads the boxes and the prefix list, runs
// ComputeSubnet, writes corrections back into the boxes (which re-enters through tbIP1Change, as a real edit
// box would) and then every label. The Qt binding forwards user edits as tbIPn.set(), picks as cbXxx.pick(),
// asks tbIP1KeyPress before a typed key reaches a box and moves the focus itself, then copies every field
// back into its widget. The page never shows a dialog.
#pragma once

#include "EditField.h"
#include "SubnetCalc.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace tarvelle {

/// Item texts of cbSlash, index i standing for prefix length i + 8.
inline constexpr std::array<std::string_view, PrefixCount> SlashItems {
    "/ 8",  "/ 9",  "/ 10", "/ 11", "/ 12", "/ 13", "/ 14", "/ 15", "/ 16", "/ 17", "/ 18", "/ 19",
    "/ 20", "/ 21", "/ 22", "/ 23", "/ 24", "/ 25", "/ 26", "/ 27", "/ 28", "/ 29", "/ 30"};

/// Item texts of cbMask, index i standing for prefix length i + 8.
inline constexpr std::array<std::string_view, PrefixCount> MaskItems {
    "255.0.0.0",       "255.128.0.0",     "255.192.0.0",     "255.224.0.0",     "255.240.0.0",    "255.248.0.0",
    "255.252.0.0",     "255.254.0.0",     "255.255.0.0",     "255.255.128.0",   "255.255.192.0",  "255.255.224.0",
    "255.255.240.0",   "255.255.248.0",   "255.255.252.0",   "255.255.254.0",   "255.255.255.0",  "255.255.255.128",
    "255.255.255.192", "255.255.255.224", "255.255.255.240", "255.255.255.248", "255.255.255.252"};

/// The list index both lists start at ("/ 24", "255.255.255.0").
inline constexpr int InitialPrefixIndex = 16;

class IpPageModel
{
public:
    /// What the binding does with a typed key; a focus move also swallows the key.
    enum class KeyAction { Pass, Swallow, FocusNext, FocusPrevious };

    EditField tbIP1, tbIP2, tbIP3, tbIP4;
    PickList cbSlash, cbMask;

    std::string lbIPBinary = " ";
    std::string lbBreakdown = " ";
    std::string lbSNBinary = " ";
    std::string lbClass = " ";
    std::string lbReserved = " ";
    std::string lbBroadcast = " ";
    std::string lbAddresses = " ";
    std::string lbSubnet = " ";

    /// Runs at the start of every CalcSubnet, nested runs included; for observers such as tests.
    std::function<void()> onCalc;

    /// Wires the boxes' change events and the lists' pick events; the lists start with no item selected.
    IpPageModel();
    // The handlers hold this object's address.
    IpPageModel(const IpPageModel&) = delete;
    IpPageModel& operator=(const IpPageModel&) = delete;

    /// The window's start-up step for this page: both lists to "/ 24"; computes nothing.
    void SetInitialLists();

    /// Recomputes the whole page from the boxes and cbSlash, correcting boxes out of 0..255.
    void CalcSubnet();

    /// Change event of all four octet boxes.
    void tbIP1Change();
    /// The user picked in cbSlash: bring cbMask along and recompute.
    void cbSlashClick();
    /// The user picked in cbMask: bring cbSlash along and recompute.
    void cbMaskClick();

    /// Key filter of octet box `box` (1..4) for the typed character `key`.
    KeyAction tbIP1KeyPress(int box, char32_t key) const;

    /// Octet box 1..4.
    EditField& octetBox(int box);
    const EditField& octetBox(int box) const;
};

} // namespace tarvelle
