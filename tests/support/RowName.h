// Names parameterised test rows after their `name` member: INSTANTIATE_TEST_SUITE_P(..., test::RowName()).
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace tarvelle::test {

struct RowName
{
    template <class Row> std::string operator()(const testing::TestParamInfo<Row>& row) const
    {
        return std::string(row.param.name);
    }
};

} // namespace tarvelle::test
