#include "KeptFillings.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tarvelle {

namespace {

/// The number of states the test's table can reach from its start (its failed state included).
size_t CountStates(const PairAutomaton& test)
{
    std::vector<bool> seen(256, false);
    std::vector<uint8_t> queue {PairAutomaton::kFailed, PairAutomaton::kStart};
    seen[PairAutomaton::kFailed] = seen[PairAutomaton::kStart] = true;
    for (size_t at = 0; at < queue.size(); ++at) {
        for (uint32_t code = 0; code <= kNonLetterCode; ++code) {
            const uint8_t next = test.Next(queue[at], code);
            if (!seen[next]) {
                seen[next] = true;
                queue.push_back(next);
            }
        }
    }
    return *std::max_element(queue.begin(), queue.end()) + size_t {1};
}

} // namespace

void FillingSums::Add(const FillingSums& other)
{
    odds += other.odds;
    oddsLog += other.oddsLog;
    largest = std::max(largest, other.largest);
}

FillingSums FillingSums::Then(const FillingSums& then) const
{
    // Sum over pairs of p q log2(p q) = (sum q)(sum p log2 p) + (sum p)(sum q log2 q).
    return {odds * then.odds, oddsLog * then.odds + odds * then.oddsLog, largest * then.largest};
}

CodeSums SumByCode(const std::vector<std::string>& characters, const std::vector<double>& odds)
{
    CodeSums sums {};
    for (size_t n = 0; n < characters.size(); ++n) {
        const std::string& c = characters[n];
        const uint8_t code = c.size() == 1 ? LetterCode(static_cast<unsigned char>(c[0])) : kNonLetterCode;
        sums[code].Add({odds[n], odds[n] * std::log2(odds[n]), odds[n]});
    }
    return sums;
}

KeptFillings::KeptFillings(const PairAutomaton& test, const std::vector<CodeSums>& labels, bool keepFailures)
    : states_(CountStates(test)), edges_(labels.size() * states_), start_(states_), end_(states_)
{
    for (size_t label = 0; label < labels.size(); ++label) {
        for (size_t state = 0; state < states_; ++state) {
            std::vector<Edge>& out = edges_[label * states_ + state];
            for (uint32_t code = 0; code <= kNonLetterCode; ++code) {
                const FillingSums& weight = labels[label][code];
                if (weight.largest == 0)
                    continue;
                const uint8_t to = test.Next(static_cast<uint8_t>(state), code);
                // Codes that lead to the same state are one edge: their characters are alternatives.
                auto same = std::find_if(out.begin(), out.end(), [to](const Edge& e) { return e.to == to; });
                if (same == out.end())
                    out.push_back({to, weight});
                else
                    same->weight.Add(weight);
            }
        }
    }
    start_[PairAutomaton::kStart] = {1.0, 0.0, 1.0};
    for (size_t state = 0; state < states_; ++state) {
        if ((state == PairAutomaton::kFailed) == keepFailures)
            end_[state] = {1.0, 0.0, 1.0};
    }
}

const KeptFillings::Layer& KeptFillings::Forward(uint64_t code, size_t length)
{
    if (length == 0)
        return start_;
    const uint64_t key = code | (uint64_t {1} << (2 * length));
    if (const auto found = forward_.find(key); found != forward_.end())
        return found->second;
    const Layer& before = Forward(code >> 2, length - 1);
    const size_t label = code & 3u;
    Layer after(states_);
    for (size_t state = 0; state < states_; ++state) {
        if (before[state].largest == 0)
            continue;
        for (const Edge& edge : edges_[label * states_ + state])
            after[edge.to].Add(before[state].Then(edge.weight));
    }
    return forward_.emplace(key, std::move(after)).first->second;
}

const KeptFillings::Layer& KeptFillings::Backward(uint64_t code, size_t length)
{
    if (length == 0)
        return end_;
    const uint64_t key = code | (uint64_t {1} << (2 * length));
    if (const auto found = backward_.find(key); found != backward_.end())
        return found->second;
    const size_t shift = 2 * (length - 1);
    const Layer& rest = Backward(code & ((uint64_t {1} << shift) - 1), length - 1);
    const size_t label = (code >> shift) & 3u;
    Layer from(states_);
    for (size_t state = 0; state < states_; ++state) {
        for (const Edge& edge : edges_[label * states_ + state]) {
            if (rest[edge.to].largest != 0)
                from[state].Add(edge.weight.Then(rest[edge.to]));
        }
    }
    return backward_.emplace(key, std::move(from)).first->second;
}

FillingSums KeptFillings::Sums(uint64_t code, size_t length)
{
    const size_t second = length / 2;
    const uint64_t low = second == 0 ? 0 : code & ((uint64_t {1} << (2 * second)) - 1);
    const Layer& head = Forward(code >> (2 * second), length - second);
    const Layer& tail = Backward(low, second);
    FillingSums kept;
    for (size_t state = 0; state < states_; ++state) {
        if (head[state].largest != 0 && tail[state].largest != 0)
            kept.Add(head[state].Then(tail[state]));
    }
    return kept;
}

} // namespace tarvelle
