#include "PasswordStrengthOutput.h"

#include "JsonWriter.h"
#include "PasswordRun.h"
#include "PasswordStrength.h"

#include <charconv>
#include <string>

namespace tarvelle::cli {

namespace {

/// The shortest text that reads back as value.
std::string Number(double value)
{
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

/// value with `digits` significant digits.
std::string Rounded(double value, int digits)
{
    char buffer[64];
    return std::string(buffer,
                       std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits).ptr);
}

/// "0.000387219", or "5.3e-05 to 0.000154" for a range.
std::string Between(double low, double high)
{
    return low == high ? Rounded(low, 6) : Rounded(low, 3) + " to " + Rounded(high, 3);
}

std::string Json(const PasswordStrength& s)
{
    JsonObject object;
    object.raw("shannon_bits", Number(s.ShannonBits()))
        .raw("min_entropy_bits", Number(s.MinEntropyBits()))
        .raw("acceptance", Number(s.Acceptance()))
        .boolean("exact", s.Exact)
        .raw("bound_bits", Number(s.BoundBits()))
        .raw("acceptance_bound", Number((s.AcceptanceHigh - s.AcceptanceLow) / 2));
    return object.close();
}

std::string Text(const PasswordStrength& s)
{
    return "Shannon entropy:  " + RangeText(s.ShannonLow, s.ShannonHigh, 2)
        + " bits\nmin-entropy:      " + RangeText(s.MinEntropyLow, s.MinEntropyHigh, 2)
        + " bits (the likeliest password: 1 in " + RangeText(s.MinEntropyLow, s.MinEntropyHigh, 2, "2^")
        + ")\nacceptance:       " + Between(s.AcceptanceLow, s.AcceptanceHigh) + " (1 kept in "
        + (s.AcceptanceLow > 0 ? Between(1 / s.AcceptanceHigh, 1 / s.AcceptanceLow)
                               : "at least " + Rounded(1 / s.AcceptanceHigh, 3))
        + " candidates drawn)\nexact:            " + (s.Exact ? "yes" : "no: each figure lies in its range") + "\n";
}

/// Why there are no figures, for stderr.
const char* Complaint(StrengthEnd end)
{
    switch (end) {
    case StrengthEnd::NoPassword:
        return kTimeOutText.data();
    case StrengthEnd::NoCharacters:
        return "a class that can be drawn from has no characters";
    case StrengthEnd::Unsupported:
        return "the password generator does not take these settings";
    case StrengthEnd::TooLarge:
    case StrengthEnd::Measured:
        break;
    }
    return "these settings have too many arrangements of classes to work out their strength";
}

} // namespace

int PrintPasswordStrength(const TPasswordSettings& settings, bool json, Console& console)
{
    const PasswordStrength strength = MeasureStrength(settings, TStringListComp(LetterPairList()));
    if (strength.End != StrengthEnd::Measured) {
        console.err << "tarvelle-cli passwords: " << Complaint(strength.End) << '\n';
        return kExitFailure;
    }
    console.out << (json ? Json(strength) + "\n" : Text(strength));
    return kExitSuccess;
}

} // namespace tarvelle::cli
