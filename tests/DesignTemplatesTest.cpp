#include <gtest/gtest.h>

#include "geometry/DesignTemplates.h"

TEST(DesignTemplates, EveryDesignRunsFromYZeroToYOne) {
    for (int32_t i = 0; i < kDesignCount; ++i) {
        const DesignTemplate* design = designTemplateAt(i);
        ASSERT_NE(design, nullptr);
        EXPECT_EQ(design->points[1], 0.0f) << i;
        EXPECT_EQ(design->points[design->pointCount * 2 - 1], 1.0f) << i;
    }
    EXPECT_EQ(designTemplateAt(kDesignCount), nullptr);
    EXPECT_EQ(designTemplateAt(-1), nullptr);
}
