#include "Utf8.h"

#include <gtest/gtest.h>

namespace tarvelle {
namespace {

TEST(IsUtf8, AcceptsOnlyWholeSequences)
{
    EXPECT_TRUE(IsUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_TRUE(IsUtf8(""));
    EXPECT_FALSE(IsUtf8("ab\xFF"));
    EXPECT_FALSE(IsUtf8("\xE2\x82")); // cut short
    EXPECT_FALSE(IsUtf8("\xC0\xAF")); // overlong '/'
    EXPECT_FALSE(IsUtf8("\xED\xA0\x80")); // a surrogate
    EXPECT_FALSE(IsUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
}

} // namespace
} // namespace tarvelle
