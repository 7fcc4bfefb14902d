#include <gtest/gtest.h>

#include "TriMesh.h"

TEST(StripForm, converts_counted_to_terminated_and_back)
{
    TriMesh m;
    m.tristrips = {3, 0, 1, 2, 2, 3, 4};
    m.set_strip_form(StripForm::terminated);
    EXPECT_EQ(m.tristrips, (std::vector<int>{0, 1, 2, -1, 3, 4, -1}));
    m.set_strip_form(StripForm::terminated);
    EXPECT_EQ(m.tristrips, (std::vector<int>{0, 1, 2, -1, 3, 4, -1}));
    m.set_strip_form(StripForm::counted);
    EXPECT_EQ(m.tristrips, (std::vector<int>{3, 0, 1, 2, 2, 3, 4}));
    m.set_strip_form(StripForm::counted);
    EXPECT_EQ(m.tristrips, (std::vector<int>{3, 0, 1, 2, 2, 3, 4}));
}
