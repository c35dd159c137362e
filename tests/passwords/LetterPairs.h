// The program's letter-pair holder, built once for the tests.
#pragma once

#include "StringsComp.h"

namespace tarvelle::test {

/// A TStringListComp holding LetterPairList().
inline const TStringListComp& Pairs()
{
    static const TStringListComp pairs(LetterPairList());
    return pairs;
}

} // namespace tarvelle::test
