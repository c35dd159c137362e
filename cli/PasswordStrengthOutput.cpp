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

/// value with `digits` digits, fixed or general.
std::string Rounded(double value, std::chars_format format, int digits)
{
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, format, digits).ptr);
}

/// "41.83", or "41.83 to 41.85", each figure after prefix.
std::string Range(double low, double high, const std::string& prefix = "")
{
    const std::string lowText = Rounded(low, std::chars_format::fixed, 2);
    const std::string highText = Rounded(high, std::chars_format::fixed, 2);
    return lowText == highText ? prefix + lowText : prefix + lowText + " to " + prefix + highText;
}

std::string Json(const PasswordStrength& s)
{
    JsonObject object;
    object.raw("shannon_bits", Number(s.ShannonBits()))
        .raw("min_entropy_bits", Number(s.MinEntropyBits()))
        .raw("acceptance", Number(s.Acceptance))
        .boolean("exact", s.Exact)
        .raw("bound_bits", Number(s.Exact ? 0.0 : s.BoundBits()));
    return object.close();
}

std::string Text(const PasswordStrength& s)
{
    return "Shannon entropy:  " + Range(s.ShannonLow, s.ShannonHigh)
        + " bits\nmin-entropy:      " + Range(s.MinEntropyLow, s.MinEntropyHigh)
        + " bits (the likeliest password: 1 in " + Range(s.MinEntropyLow, s.MinEntropyHigh, "2^")
        + ")\nacceptance:       " + Rounded(s.Acceptance, std::chars_format::general, 6) + " (1 kept in "
        + Rounded(1 / s.Acceptance, std::chars_format::general, 6)
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
