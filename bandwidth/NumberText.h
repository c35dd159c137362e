// The Bandwidth calculator's number texts: reading a typed number and writing a computed one.
//
// Both rules work on the 80-bit extended type (long double on x86-64) and take the decimal separator as a
// parameter, a text holding one UTF-8 character ("." unless the page's locale says otherwise). Neither depends
// on the C library's locale. The page model (BandwidthPageModel) and the tolerance line (TolText) call them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvelle::bandwidth {

/// Reads a number: spaces, sign, digits with an optional separator, an optional exponent, spaces; nullopt
/// when the text breaks that grammar or its value lies beyond the finite extended range.
std::optional<long double> TextToNumber(std::string_view text, std::string_view decimalSeparator = ".");

/// Writes v with at most 15 significant digits, in fixed form or, below 0.0001 or from 10^15 on, as d.dddEx.
std::string NumberToText(long double v, std::string_view decimalSeparator = ".");

/// Rounds v to two decimals (adds half a hundredth, cuts toward zero) and writes it; nullopt when the
/// hundredths leave the signed 64-bit range.
std::optional<std::string> RoundedNumberToText(long double v, std::string_view decimalSeparator = ".");

} // namespace tarvelle::bandwidth
