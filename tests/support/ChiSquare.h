// A chi-square check of outcomes counted over many random runs against the odds each outcome should have.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace tarvelle::test {

/// Fails when an outcome the odds do not know was seen, or when the chi-square statistic of the counts lies more
/// than six standard deviations above its mean (the degrees of freedom): a fault, not bad luck.
template <class Outcome>
void ExpectOdds(const std::map<Outcome, int>& seen, const std::map<Outcome, double>& odds, int samples)
{
    double chiSquare = 0;
    for (const auto& [outcome, p] : odds) {
        const auto found = seen.find(outcome);
        const double d = (found == seen.end() ? 0 : found->second) - p * samples;
        chiSquare += d * d / (p * samples);
    }
    for (const auto& [outcome, count] : seen)
        EXPECT_TRUE(odds.contains(outcome)) << "an outcome the draws cannot give, seen " << count << " times";
    const double freedom = static_cast<double>(odds.size()) - 1;
    EXPECT_LT(chiSquare, freedom + 6 * std::sqrt(2 * freedom));
}

} // namespace tarvelle::test
