// Addresses and networks for the IP engine's test tables, read from their texts.
#pragma once

#include "IpAddress.h"

#include <gtest/gtest.h>

#include <string_view>

namespace tarvelle::ip::test {

/// The address of a text the table knows to be good; a bad one fails the test.
inline IpAddress Addr(std::string_view text)
{
    const IpResult<ParsedAddress> parsed = ParseAddress(text);
    EXPECT_TRUE(parsed) << text;
    return parsed ? parsed->address : IpAddress {};
}

/// The block "address/prefix" lies in, its host bits cleared.
inline IpNetwork Net(std::string_view text)
{
    const IpResult<ParsedCidr> parsed = ParseCidr(text);
    EXPECT_TRUE(parsed && parsed->prefix) << text;
    if (!parsed || !parsed->prefix)
        return {};
    return NetworkOf(parsed->address, *parsed->prefix);
}

} // namespace tarvelle::ip::test
