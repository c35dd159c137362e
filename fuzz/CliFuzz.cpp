// tarvelle-cli over any argument list and any standard input: it returns 0, 1 or 2 and never throws; bad
// usage prints nothing on stdout and one line on stderr; --json output is JSON (one value per line); an
// output that fills up is reported on stderr with exit code 1.
#include "Commands.h"
#include "FuzzInput.h"

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

using tarvelle::fuzz::FuzzInput;

namespace {

// A JSON syntax check: objects, arrays, strings with their escapes, numbers and the three literals. Bytes
// from 0x80 up inside strings pass unchecked (they are the arguments' own bytes).
class JsonCheck
{
public:
    explicit JsonCheck(const std::string& text) : s_(text) { }

    bool Document() { return Value(0) && (Skip(), at_ == s_.size()); }

private:
    void Skip()
    {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r'))
            ++at_;
    }
    bool Eat(char c)
    {
        Skip();
        if (at_ < s_.size() && s_[at_] == c)
            return ++at_, true;
        return false;
    }
    bool Word(const char* w)
    {
        const std::string_view word(w);
        if (s_.compare(at_, word.size(), word) != 0)
            return false;
        at_ += word.size();
        return true;
    }
    bool String()
    {
        if (!Eat('"'))
            return false;
        while (at_ < s_.size()) {
            const auto c = static_cast<unsigned char>(s_[at_++]);
            if (c == '"')
                return true;
            if (c < 0x20)
                return false;
            if (c != '\\')
                continue;
            if (at_ >= s_.size())
                return false;
            const char e = s_[at_++];
            if (e == 'u') {
                for (int k = 0; k < 4; ++k, ++at_)
                    if (at_ >= s_.size() || !std::isxdigit(static_cast<unsigned char>(s_[at_])))
                        return false;
            } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                return false;
            }
        }
        return false;
    }
    bool Number()
    {
        const size_t start = at_;
        if (at_ < s_.size() && s_[at_] == '-')
            ++at_;
        while (at_ < s_.size() && std::string_view("0123456789.eE+-").find(s_[at_]) != std::string_view::npos)
            ++at_;
        return at_ > start && std::isdigit(static_cast<unsigned char>(s_[at_ - 1]));
    }
    bool Value(int depth)
    {
        if (depth > 32)
            return false;
        Skip();
        if (at_ >= s_.size())
            return false;
        switch (s_[at_]) {
        case '{':
            ++at_;
            if (Eat('}'))
                return true;
            do {
                if (!String() || !Eat(':') || !Value(depth + 1))
                    return false;
            } while (Eat(','));
            return Eat('}');
        case '[':
            ++at_;
            if (Eat(']'))
                return true;
            do {
                if (!Value(depth + 1))
                    return false;
            } while (Eat(','));
            return Eat(']');
        case '"':
            return String();
        case 't':
            return Word("true");
        case 'f':
            return Word("false");
        case 'n':
            return Word("null");
        default:
            return Number();
        }
    }

    const std::string& s_;
    size_t at_ = 0;
};

// An output with room for a few bytes only, which remembers refusing a write.
struct FillingSink final : tarvelle::cli::ByteSink
{
    std::string text;
    size_t room = std::string::npos;
    bool refused = false;

    std::optional<std::string> write(std::string_view bytes) override
    {
        if (room != std::string::npos && text.size() + bytes.size() > room) {
            refused = true;
            return "No space left on device";
        }
        text.append(bytes);
        return std::nullopt;
    }
};

const char* const kWords[] = {"ip",
                              "bandwidth",
                              "passwords",
                              "--json",
                              "-j",
                              "-n",
                              "--",
                              "--exclude-similar",
                              "--strength",
                              "8Mbps",
                              "4.7GB",
                              "2min",
                              "MiB/s",
                              "--help",
                              "--version",
                              "-",
                              "--seed",
                              "--count",
                              "--mode",
                              "--length",
                              "--upper",
                              "--lower",
                              "--digits",
                              "--other",
                              "--other-chars",
                              "off",
                              "--rate",
                              "--size",
                              "--time",
                              "--rate-unit",
                              "--size-unit",
                              "--time-unit",
                              "--tolerance",
                              "--common",
                              "--solve",
                              "rate",
                              "size",
                              "time",
                              "192.168.1.10/24",
                              "255.255.255.0",
                              "Kbps (b10)",
                              "KB (b2)",
                              "min",
                              "T-1 / DS-1",
                              "1-4",
                              "0-0",
                              "easy",
                              "1e4932",
                              "300.-5..1"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    tarvelle::cli::Args args;
    const auto count = in.inRange(0, 10);
    bool passwords = false;
    for (int64_t k = 0; k < count; ++k) {
        std::string arg = in.byte() & 1u ? std::string(kWords[in.inRange(0, std::size(kWords) - 1)]) : in.text(20);
        passwords = passwords || arg == "passwords";
        // Long password runs are the engine's business, not the parser's: keep each run short.
        const bool shortCount = arg.size() > 1 && arg[0] == '-' && arg[1] != '-' && arg.find('n') != std::string::npos;
        if (passwords && (arg.starts_with("--c") || shortCount)) {
            args.push_back("--count");
            args.push_back(std::to_string(in.inRange(0, 5)));
            continue;
        }
        args.push_back(std::move(arg));
    }
    const bool fillsUp = (in.byte() & 7u) == 0;
    tarvelle::cli::StringSource input(in.rest(), 97);
    FillingSink outSink;
    tarvelle::cli::StringSink errSink;
    if (fillsUp)
        outSink.room = 100;
    const int code = tarvelle::cli::RunCli(args, input, outSink, errSink);
    const std::string& out = outSink.text;
    const std::string& err = errSink.text;
    FUZZ_CHECK(code == 0 || code == 1 || code == 2);
    if (code == 2) {
        FUZZ_CHECK(out.empty());
        FUZZ_CHECK(!err.empty());
    }
    // A refused write is never a success, and is told on stderr.
    if (outSink.refused) {
        FUZZ_CHECK(code == 1);
        FUZZ_CHECK(err.find("cannot write standard output: No space left on device") != std::string::npos);
    }
    // "--json" as an option, not as the value of the option before it.
    const std::string_view takesValue[]
        = {"--seed",      "--count",       "-n",     "--mode", "--length", "--upper",     "--lower",     "--digits",
           "--other",     "--other-chars", "--rate", "--size", "--time",   "--rate-unit", "--size-unit", "--time-unit",
           "--tolerance", "--common",      "--solve"};
    bool json = false;
    bool help = false;
    for (size_t k = 0; k < args.size(); ++k) {
        const bool isValue
            = k > 0 && std::find(std::begin(takesValue), std::end(takesValue), args[k - 1]) != std::end(takesValue);
        json = json || ((args[k] == "--json" || args[k] == "-j") && !isValue);
        if (args[k] == "--" && !isValue)
            break;
        help = help || args[k] == "--help" || args[k] == "-h" || args[k] == "--version";
    }
    if (json && !help && code != 2 && !fillsUp && !out.empty()) {
        std::istringstream lines(out);
        for (std::string line; std::getline(lines, line);)
            FUZZ_CHECK(JsonCheck(line).Document());
    }
    return 0;
}
