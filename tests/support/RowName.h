// Names parameterised test rows after their `name` member: INSTANTIATE_TEST_SUITE_P(..., test::RowName()).
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace tarvelle::test {

struct RowName
{
    template <class Row> std::string operator()(const testing::TestParamInfo<Row>& row) const
    {
        return std::string(row.param.name);
    }
};

/// Failure messages name a row instead of dumping its bytes. A test file brings it next to its rows with
/// `using test::PrintTo;`, so that GoogleTest finds it.
template <class Row>
requires requires(const Row& r)
{
    r.name;
}
void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

} // namespace tarvelle::test
