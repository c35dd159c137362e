// The figures from the sums, and why the ranges hold.
//
// Write p(w) for the odds that a candidate is the kept password w, A for the sum of p (the acceptance), and
// take every figure of the kept passwords, whose odds are p(w) / A. A password w is spelled by an arrangement
// of classes (which class stands at each position) and a filling (the characters at those positions); its odds
// are the count combination's odds times the arrangement's odds after the shuffle times the characters' odds.
// Within one arrangement the pair test sees only each character's letter code, so KeptFillings sums every
// filling at once; and when no character stands in two classes and none begins another, a password has one
// arrangement and one filling only, so the sums over (arrangement, filling) pairs are the sums over passwords:
// the figures are exact.
//
// Three things can make them ranges instead:
//  - Merged classes. When the chain over every arrangement of the four classes would be too much work, classes
//    the pair test cannot tell apart (both all non-letters, or spread alike over the letters) share a label in
//    the chain, which is exact for the merged arrangements (a swap does not look at what it moves) and for the
//    acceptance. Within a merged arrangement of F fine ones, each fine one is taken as having 1/F of its odds.
//    The kept candidates of a merged arrangement are its fine arrangements in the same proportion as before the
//    test, since the test reads the same letter codes in each, so the true entropy differs from the one summed
//    only by the entropy within each merged arrangement, which lies between 0 and log2 F: the sum is the top of
//    the Shannon range and the sum less the kept-odds mean of log2 F its bottom. The likeliest password is at
//    most its merged arrangement's odds (every fine one at once) and at least 1/F of it (some fine one has at
//    least the mean), which bound the min-entropy.
//  - Shared characters. When one password can be spelled by several (arrangement, filling) pairs, at most B of
//    them (Log2Preimages), the password's entropy is that of the pairs less the entropy of the pair given the
//    password, which lies between 0 and log2 B; and the likeliest password's odds lie between the likeliest
//    pair's and B times it. Small settings are spelled out password by password instead, which is exact.
//  - No chain at all. When even the coarsest merging the pair test allows is too much work, the figures are
//    ranges that hold whatever the shuffle's odds (StrengthBounds.cpp), the acceptance's too.
#include "PasswordStrength.h"

#include "StrengthModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tarvelle {

namespace {

using namespace strength;

/// Beyond this many count combinations the sums would take too long whatever the lumping.
constexpr double kMostCombinations = 1e7;

/// The figures of kept odds listed password by password.
PasswordStrength FromSpelling(const std::vector<double>& odds)
{
    PasswordStrength s;
    double acceptance = 0;
    double largest = 0;
    for (const double p : odds) {
        acceptance += p;
        largest = std::max(largest, p);
    }
    if (acceptance == 0)
        return {StrengthEnd::NoPassword};
    double shannon = 0;
    for (const double p : odds)
        shannon -= p / acceptance * std::log2(p / acceptance);
    s.ShannonLow = s.ShannonHigh = shannon;
    s.MinEntropyLow = s.MinEntropyHigh = -std::log2(largest / acceptance);
    s.AcceptanceLow = s.AcceptanceHigh = acceptance;
    s.Exact = true;
    return s;
}

/// The figures of the sums, widened by log2Preimages where one password can have more than one spelling.
PasswordStrength FromSums(const Sums& sums, double log2Preimages)
{
    if (sums.acceptance == 0)
        return {StrengthEnd::NoPassword};
    PasswordStrength s;
    const double a = sums.acceptance;
    s.AcceptanceLow = s.AcceptanceHigh = a;
    // -sum (p/a) log2 (p/a) = -(sum p log2 p) / a + log2 a, with merged arrangements split evenly: the most
    // entropy they can hold, and no password spelled twice: the most the pairs can hold.
    s.ShannonHigh = -sums.oddsLog / a + std::log2(a);
    // Less the most the split within merged arrangements (log2 F each) and the spellings (log2 B) can take.
    s.ShannonLow = s.ShannonHigh - sums.gap / a - log2Preimages;
    // Some fine arrangement holds at least 1/F of its merged one's odds: the likeliest is at least that.
    s.MinEntropyHigh = std::log2(a) - sums.log2LargestLow;
    // It holds at most all of them, and a password at most B spellings.
    s.MinEntropyLow = std::max(0.0, std::log2(a) - sums.log2LargestHigh - log2Preimages);
    // The min-entropy is never above the Shannon entropy.
    s.ShannonLow = std::max(s.ShannonLow, s.MinEntropyLow);
    s.MinEntropyHigh = std::min(s.MinEntropyHigh, s.ShannonHigh);
    s.Exact = !sums.merged && log2Preimages == 0;
    if (s.Exact) {
        s.ShannonLow = s.ShannonHigh;
        s.MinEntropyLow = s.MinEntropyHigh;
    }
    return s;
}

} // namespace

std::string RangeText(double low, double high, int decimals, std::string_view prefix)
{
    const auto fixed = [decimals](double value) {
        char buffer[64];
        return std::string(
            buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr);
    };
    const std::string lowText = fixed(low);
    const std::string highText = fixed(high);
    std::string text = std::string(prefix) + lowText;
    if (highText != lowText)
        text += " to " + std::string(prefix) + highText;
    return text;
}

double PasswordStrength::BoundBits() const
{
    return std::max(ShannonHigh - ShannonLow, MinEntropyHigh - MinEntropyLow) / 2;
}

PasswordStrength MeasureStrength(const TPasswordSettings& settings, const TStringListComp& pairs,
                                 const StrengthLimits& limits)
{
    if (settings.Mode < kModeRandom || settings.Mode > kModeUnpronounceable || settings.MaxLength > kMaxPasswordLength)
        return {StrengthEnd::Unsupported};
    const std::optional<Model> model = MakeModel(settings);
    if (!model)
        return {StrengthEnd::NoCharacters};
    const double combinations = FittingCombinations(*model);
    if (combinations == 0)
        return {StrengthEnd::NoPassword};
    if (combinations > kMostCombinations) // each is visited a few times at least
        return {StrengthEnd::TooLarge};
    const PairAutomaton* test = ModeTest(pairs, settings.Mode);
    std::optional<KeptFillings> fillings;
    if (test != nullptr)
        fillings.emplace(*test, model->testSums, settings.Mode == kModeUnpronounceable);
    const size_t testStates = fillings ? fillings->States() : 0;
    const double log2Preimages = Log2Preimages(*model);
    if (log2Preimages > 0 && SpellingWork(*model) <= static_cast<double>(limits.Spellings)
        && Evaluate(*model, {0, 1, 2, 3}, 0).work <= static_cast<double>(limits.Work))
        return FromSpelling(SpellOut(*model, test));
    const std::optional<Lumping> lumping = ChooseLumping(*model, testStates, limits);
    if (!lumping) {
        if (test == nullptr)
            return {StrengthEnd::TooLarge};
        const std::optional<PasswordStrength> bound = BoundWithoutShuffle(
            *model, *test, testStates, settings.Mode == kModeUnpronounceable, log2Preimages, limits);
        return bound ? *bound : PasswordStrength {StrengthEnd::TooLarge};
    }
    Sums sums;
    SumAll(*model, *lumping, fillings ? &*fillings : nullptr, sums);
    return FromSums(sums, log2Preimages);
}

std::string StrengthTip(const PasswordStrength& strength)
{
    if (strength.End != StrengthEnd::Measured)
        return {};
    return "Each password of these settings: " + RangeText(strength.ShannonLow, strength.ShannonHigh, 1)
        + " bits (the likeliest: 1 in " + RangeText(strength.MinEntropyLow, strength.MinEntropyHigh, 1, "2^") + ")";
}

} // namespace tarvelle
