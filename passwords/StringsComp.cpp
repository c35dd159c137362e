#include "StringsComp.h"

#include <algorithm>

namespace tarvelle {

const std::vector<std::string>& LetterPairList()
{
    static const std::vector<std::string> list = {
        "bl", "br", "by", "ch", "ck", "cl", "cr", "cy", "dr", "dw", "dy", "fl", "fr", "fy", "gh", "gl", "gn", "gr",
        "gy", "hy", "jy", "kl", "kn", "kr", "ky", "ly", "mn", "ms", "my", "ny", "ph", "pl", "pr", "pt", "py", "ry",
        "sc", "sh", "sk", "sl", "sm", "sn", "sp", "sq", "st", "sw", "sy", "th", "tr", "ty", "vy", "wh", "wr", "wy",
        "xy", "zy", "ai", "au", "ea", "ee", "ei", "eo", "ia", "ie", "io", "iu", "oa", "oe", "oi", "oo", "ou", "ua",
        "ue", "ui", "ab", "ac", "ad", "af", "ag", "ak", "al", "am", "an", "ap", "aq", "ar", "as", "at", "au", "av",
        "aw", "ax", "ay", "az", "ba", "be", "bi", "bo", "bu", "ca", "ce", "ci", "co", "cu", "da", "de", "di", "do",
        "du", "ea", "eb", "ec", "ed", "ee", "ef", "eg", "eh", "ei", "ej", "ek", "el", "em", "en", "ep", "eq", "er",
        "es", "et", "eu", "ev", "ew", "ex", "ey", "ez", "fa", "fe", "fi", "fo", "fu", "ga", "ge", "gi", "go", "gu",
        "ha", "he", "hi", "ho", "hu", "ia", "ie", "io", "iu", "ja", "je", "ji", "jo", "ju", "ka", "ke", "ki", "ko",
        "ku", "la", "le", "li", "lo", "lu", "ma", "me", "mi", "mo", "mu", "na", "ne", "ni", "no", "nu", "oa", "oe",
        "oi", "oo", "ou", "pa", "pe", "pi", "po", "pu", "qu", "ra", "re", "ri", "ro", "ru", "sa", "se", "si", "so",
        "su", "ta", "te", "ti", "to", "tu", "ua", "ub", "ui", "va", "ve", "vi", "vo", "vu", "wa", "we", "wi", "wo",
        "wu", "xa", "xe", "xi", "xo", "xu", "ya", "ye", "yo", "za", "ze", "zi", "zo", "zu",
    };
    return list;
}

void TStringListComp::SetStrings(const std::vector<std::string>& strings)
{
    strings_ = strings;
    pairs_.fill(0);
    for (const std::string& entry : strings_) {
        // Only two lowercase letters can ever be asked for; any other entry stays in the list unindexed.
        if (entry.size() == 2 && entry[0] >= 'a' && entry[0] <= 'z' && entry[1] >= 'a' && entry[1] <= 'z')
            pairs_[static_cast<size_t>(entry[0] - 'a')] |= 1u << (entry[1] - 'a');
    }
    strict_ = PairAutomaton(*this, PairRule::Strict);
    sameKind_ = PairAutomaton(*this, PairRule::SameKind);
}

int TStringListComp::IndexOf(std::string_view text) const
{
    const auto found = std::find(strings_.begin(), strings_.end(), text);
    return found == strings_.end() ? -1 : static_cast<int>(found - strings_.begin());
}

} // namespace tarvelle
