#include "StrengthModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace tarvelle::strength {

namespace {

/// The odds of each count 0..maxLength under the composer's draw: count = max(RandomBelow(span) + Min, 0),
/// span being Max - Min + 1, or 1 for a maximum below the minimum.
std::vector<double> CountOdds(CountRange range, uint32_t maxLength, bool& drawsAny)
{
    const int64_t wide = int64_t {range.Max} - range.Min + 1;
    const int64_t span = wide <= 0 ? 1 : std::min<int64_t>(wide, std::numeric_limits<uint32_t>::max());
    drawsAny = span - 1 + range.Min > 0;
    const double each = 1.0 / static_cast<double>(span);
    std::vector<double> odds(size_t {maxLength} + 1, 0.0);
    odds[0] = static_cast<double>(std::clamp<int64_t>(int64_t {1} - range.Min, 0, span)) * each;
    for (uint32_t n = 1; n <= maxLength; ++n) {
        const int64_t drawn = int64_t {n} - range.Min;
        if (drawn >= 0 && drawn < span)
            odds[n] = each;
    }
    return odds;
}

/// A class whose set is `characters` (a character typed twice is twice as likely).
ClassOdds MakeClass(const std::vector<std::string>& characters, CountRange range, uint32_t maxLength)
{
    ClassOdds c;
    c.countOdds = CountOdds(range, maxLength, c.drawsAny);
    for (const std::string& character : characters) {
        const auto at = std::find(c.characters.begin(), c.characters.end(), character);
        if (at == c.characters.end()) {
            c.characters.push_back(character);
            c.odds.push_back(1.0);
        } else {
            c.odds[static_cast<size_t>(at - c.characters.begin())] += 1.0;
        }
    }
    for (double& p : c.odds) {
        p /= static_cast<double>(characters.size());
        c.logSum += p * std::log2(p);
        c.largest = std::max(c.largest, p);
    }
    return c;
}

std::vector<std::string> Bytes(const std::string& text)
{
    std::vector<std::string> out;
    for (const char c : text)
        out.emplace_back(1, c);
    return out;
}

bool SameSums(const CodeSums& a, const CodeSums& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), [](const FillingSums& x, const FillingSums& y) {
        return x.odds == y.odds && x.oddsLog == y.oddsLog && x.largest == y.largest;
    });
}

/// Gives each class the label the pair test knows it by: 0 when the test reads none of its characters, else
/// one label per distinct way its characters spread over the letter codes.
void LabelForTest(Model& model)
{
    CodeSums nonLetter {};
    nonLetter[kNonLetterCode] = {1.0, 0.0, 1.0};
    model.testSums = {nonLetter};
    for (ClassOdds& c : model.classes) {
        const bool letters = std::any_of(c.characters.begin(), c.characters.end(), [](const std::string& s) {
            return s.size() == 1 && LetterCode(static_cast<unsigned char>(s[0])) != kNonLetterCode;
        });
        if (model.mode == kModeRandom || !letters)
            continue;
        const CodeSums sums = SumByCode(c.characters, c.odds);
        auto same = std::find_if(model.testSums.begin() + 1, model.testSums.end(),
                                 [&sums](const CodeSums& s) { return SameSums(s, sums); });
        c.testLabel = static_cast<uint8_t>(same - model.testSums.begin());
        if (same == model.testSums.end())
            model.testSums.push_back(sums);
    }
}

/// log2 of (a + b), each given as its log2.
double AddLog2(double a, double b)
{
    if (a < b)
        std::swap(a, b);
    return b == -std::numeric_limits<double>::infinity() ? a : a + std::log2(1.0 + std::exp2(b - a));
}

} // namespace

bool Active(const ClassOdds& c)
{
    return std::any_of(c.countOdds.begin() + 1, c.countOdds.end(), [](double p) { return p > 0; });
}

std::optional<Model> MakeModel(const TPasswordSettings& settings)
{
    Model model;
    model.minLength = static_cast<uint32_t>(std::max(settings.MinLength, 0));
    model.maxLength = static_cast<uint32_t>(std::max(settings.MaxLength, 0));
    model.mode = settings.Mode;
    const std::vector<std::string> sets[4]
        = {Bytes(settings.UpperCharacters), Bytes(settings.LowerCharacters), Bytes(settings.NumericCharacters),
           SplitCharacters(settings.OtherCharacters)};
    const CountRange ranges[4] = {settings.Upper, settings.Lower, settings.Numeric, settings.Other};
    for (size_t k = 0; k < 4; ++k) {
        model.classes[k] = MakeClass(sets[k], ranges[k], model.maxLength);
        if (model.classes[k].drawsAny && sets[k].empty())
            return std::nullopt;
    }
    LabelForTest(model);
    model.log2Factorial.resize(size_t {model.maxLength} + 1, 0.0);
    for (uint32_t n = 2; n <= model.maxLength; ++n)
        model.log2Factorial[n] = model.log2Factorial[n - 1] + std::log2(static_cast<double>(n));
    return model;
}

double FittingCombinations(const Model& model)
{
    std::vector<double> ways(size_t {model.maxLength} + 1, 0.0); // by length so far
    ways[0] = 1;
    for (const ClassOdds& c : model.classes) {
        std::vector<double> next(ways.size(), 0.0);
        for (size_t sum = 0; sum < ways.size(); ++sum) {
            for (size_t n = 0; ways[sum] > 0 && sum + n < ways.size(); ++n)
                next[sum + n] += c.countOdds[n] > 0 ? ways[sum] : 0.0;
        }
        ways.swap(next);
    }
    double total = 0;
    for (size_t length = model.minLength; length < ways.size(); ++length)
        total += ways[length];
    return total;
}

void ForEachFitting(const Model& model, const std::function<void(const Counts&)>& visit)
{
    if (model.maxLength < model.minLength)
        return;
    Counts counts;
    const auto& c = model.classes;
    const uint32_t most = model.maxLength;
    for (uint32_t a = 0; a <= most; ++a) {
        for (uint32_t b = 0; a + b <= most && c[0].countOdds[a] > 0; ++b) {
            for (uint32_t d = 0; a + b + d <= most && c[1].countOdds[b] > 0; ++d) {
                for (uint32_t o = 0; a + b + d + o <= most && c[2].countOdds[d] > 0; ++o) {
                    if (c[3].countOdds[o] == 0 || a + b + d + o < model.minLength)
                        continue;
                    counts.n = {a, b, d, o};
                    counts.length = a + b + d + o;
                    counts.odds = c[0].countOdds[a] * c[1].countOdds[b] * c[2].countOdds[d] * c[3].countOdds[o];
                    visit(counts);
                }
            }
        }
    }
}

double Log2Arrangements(const Model& model, const Counts& counts, const std::array<uint8_t, 4>& block)
{
    std::array<uint32_t, 4> totals {};
    for (size_t k = 0; k < 4; ++k)
        totals[block[k]] += counts.n[k];
    double log2 = model.log2Factorial[counts.length];
    for (const uint32_t total : totals)
        log2 -= model.log2Factorial[total];
    return log2;
}

double Log2Preimages(const Model& model)
{
    // Characters of the classes that can be drawn, each with the classes that hold it.
    std::map<std::string, uint32_t> holders;
    for (size_t k = 0; k < 4; ++k) {
        if (!Active(model.classes[k]))
            continue;
        for (const std::string& character : model.classes[k].characters)
            holders[character] |= 1u << k;
    }
    // A character that begins another could let one password split into characters in two ways.
    for (auto at = holders.begin(); at != holders.end() && std::next(at) != holders.end(); ++at) {
        if (std::next(at)->first.starts_with(at->first))
            return std::numeric_limits<double>::infinity();
    }
    uint32_t shared = 0;
    for (const auto& [character, classes] : holders) {
        if ((classes & (classes - 1)) != 0)
            shared |= classes;
    }
    if (shared == 0)
        return 0;
    // A password fixes the counts of the other classes and the number n of its positions from the sharing
    // ones; those n positions can be given to the sharing classes in at most n! / (product of their counts!)
    // ways for each combination of their counts that adds up to n.
    std::map<std::array<uint32_t, 5>, double> log2Ways;
    ForEachFitting(model, [&](const Counts& counts) {
        std::array<uint32_t, 5> key {};
        double log2 = 0;
        for (size_t k = 0; k < 4; ++k) {
            const bool sharing = ((shared >> k) & 1u) != 0;
            (sharing ? key[4] : key[k]) += counts.n[k];
            log2 -= sharing ? model.log2Factorial[counts.n[k]] : 0.0;
        }
        const auto [at, added] = log2Ways.try_emplace(key, -std::numeric_limits<double>::infinity());
        at->second = AddLog2(at->second, log2 + model.log2Factorial[key[4]]);
    });
    double most = 0;
    for (const auto& [key, log2] : log2Ways)
        most = std::max(most, log2);
    return most;
}

double SpellingWork(const Model& model)
{
    double work = 0;
    ForEachFitting(model, [&](const Counts& counts) {
        double log2 = Log2Arrangements(model, counts, {0, 1, 2, 3});
        for (size_t k = 0; k < 4; ++k) {
            if (counts.n[k] > 0)
                log2 += counts.n[k] * std::log2(static_cast<double>(model.classes[k].characters.size()));
        }
        work += std::exp2(log2) * counts.length;
    });
    return work;
}

} // namespace tarvelle::strength
