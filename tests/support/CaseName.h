#pragma once

#include <gtest/gtest.h>

#include <string>

// Names each instance of a parameterised test after the name member of its row, so that
// test lists and failures say which row it was:
//     INSTANTIATE_TEST_SUITE_P(Files, SettingsLoad, testing::ValuesIn(kLoadCases), CaseName());
struct CaseName {
    template <typename Row>
    std::string operator()(const testing::TestParamInfo<Row>& info) const {
        return info.param.name;
    }
};
