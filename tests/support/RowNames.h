// The one rule for naming the rows of table-driven tests: every row carries
// its name (a member `name` or `Name`), and a parameterised case is named
// after its row, so a failure says which case broke. GoogleTest accepts only
// letters, digits and underscores in a name; anything else becomes "_".
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

namespace qrv::test
{

template <typename Row> std::string_view NameOfRow(const Row& row)
{
    if constexpr (requires { row.name; })
        return row.name;
    else
        return row.Name;
}

// The name generator of INSTANTIATE_TEST_SUITE_P: pass RowName{}.
struct RowName {
    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row>& info) const
    {
        std::string name(NameOfRow(info.param));
        for (char& c : name)
            if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) c = '_';
        return name;
    }
};

} // namespace qrv::test
