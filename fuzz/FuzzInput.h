// Reads a fuzzer's byte string as a sequence of small decisions: numbers in a range, short texts.
// Running out of bytes yields zeros and empty texts, so every input drives a complete run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvelle::fuzz {

class FuzzInput
{
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) { }

    bool empty() const { return at_ >= size_; }

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    /// A number in lo..hi, both included (hi - lo below 2^32).
    int64_t inRange(int64_t lo, int64_t hi)
    {
        const auto span = static_cast<uint64_t>(hi - lo) + 1u;
        uint64_t v = 0;
        for (uint64_t reach = 1; reach < span && reach != 0; reach <<= 8)
            v = (v << 8) | byte();
        return lo + static_cast<int64_t>(v % span);
    }

    /// Up to maxLength bytes, as given; the length comes first.
    std::string text(size_t maxLength)
    {
        const auto length = static_cast<size_t>(inRange(0, static_cast<int64_t>(maxLength)));
        std::string s;
        for (size_t i = 0; i < length && !empty(); ++i)
            s.push_back(static_cast<char>(byte()));
        return s;
    }

    /// Every byte not read yet.
    std::string rest()
    {
        std::string s(reinterpret_cast<const char*>(data_ + at_), size_ - at_);
        at_ = size_;
        return s;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

/// Stops the run with a message naming the broken property; libFuzzer then saves the input.
[[noreturn]] void Fail(const char* what);

#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            ::tarvelle::fuzz::Fail(#cond);                                                                             \
    } while (false)

} // namespace tarvelle::fuzz
