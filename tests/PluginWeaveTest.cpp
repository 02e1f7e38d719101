// The weave / place decision for elements and their reflections in every mode.
#include <gtest/gtest.h>

#include <vector>

#include "PluginFakeSuites.h"
#include "plugin/finish/Weave.h"

namespace {

using pluginfakes::fake;

class PluginWeave : public ::testing::Test {
  protected:
    void SetUp() override {
        pluginfakes::resetFakeHost();
        pluginfakes::installGenerationSuites();
        globalsBlock = &record;
        writeDefaultSettings(record);
    }
    void TearDown() override {
        globalsBlock = nullptr;
        pluginfakes::resetFakeHost();
    }
    // Decisions for the element itself, elements 0 .. count - 1.
    std::vector<int32_t> elements(int32_t mode, int32_t count, int32_t defaultResult = 0) {
        record.weavePlaceMode = mode;
        std::vector<int32_t> result;
        for (int32_t k = 0; k < count; ++k)
            result.push_back(weavePlacesBeneath(kWeaveElementItself, k, defaultResult));
        return result;
    }
    // Decisions for reflections 0 .. count - 1 of element k.
    std::vector<int32_t> reflections(int32_t mode, int32_t k, int32_t count, int32_t defaultResult = 0) {
        record.weavePlaceMode = mode;
        std::vector<int32_t> result;
        for (int32_t r = 0; r < count; ++r)
            result.push_back(weavePlacesBeneath(r, k, defaultResult));
        return result;
    }
    ToolSettings record;
};

using V = std::vector<int32_t>;

TEST_F(PluginWeave, IgnoreAndPlaceBeneathAllGiveTheDefault) {
    EXPECT_EQ(elements(0, 4), V({0, 0, 0, 0}));
    EXPECT_EQ(reflections(0, 3, 4), V({0, 0, 0, 0}));
    EXPECT_EQ(elements(1, 4, 1), V({1, 1, 1, 1}));
    EXPECT_EQ(reflections(1, 2, 4, 1), V({1, 1, 1, 1}));
    // The default is what comes back, whatever it is.
    EXPECT_EQ(elements(1, 2, 0), V({0, 0}));
    EXPECT_EQ(fake.randomDraws, 0);
}

TEST_F(PluginWeave, ElementRulesOfTheFixedWeaves) {
    EXPECT_EQ(elements(2, 8), V({0, 1, 0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(elements(3, 8), V({0, 1, 0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(elements(4, 8), V({1, 0, 0, 1, 0, 0, 1, 0}));
    EXPECT_EQ(elements(5, 8), V({1, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(elements(6, 8), V({0, 0, 1, 1, 0, 0, 1, 1}));
    EXPECT_EQ(fake.randomDraws, 0);
}

TEST_F(PluginWeave, ReflectionRulesOfTheFixedWeaves) {
    EXPECT_EQ(reflections(2, 1, 4), V({0, 1, 0, 1}));
    EXPECT_EQ(reflections(2, 2, 4), V({1, 0, 1, 0}));
    EXPECT_EQ(reflections(5, 1, 4), V({1, 0, 1, 0}));
    EXPECT_EQ(reflections(5, 2, 4), V({0, 1, 0, 1}));
    // Mode 3, element 3 (3 % 3 = 0 and odd): 0, 2, 4 by the first rule, 1 and 4 by the second.
    EXPECT_EQ(reflections(3, 3, 5), V({1, 1, 1, 0, 1}));
    EXPECT_EQ(reflections(3, 0, 4), V({1, 0, 1, 0}));
    EXPECT_EQ(reflections(3, 4, 5), V({0, 0, 0, 0, 0}));
    EXPECT_EQ(reflections(3, 7, 5), V({0, 1, 0, 0, 1}));
    // Mode 4: k % 3 > 0 puts even reflections beneath; odd k with k % 3 = 0 only r % 3 = 1.
    EXPECT_EQ(reflections(4, 4, 5), V({1, 0, 1, 0, 1}));
    EXPECT_EQ(reflections(4, 3, 5), V({0, 1, 0, 0, 1}));
    EXPECT_EQ(reflections(4, 5, 5), V({1, 1, 1, 0, 1}));
    EXPECT_EQ(reflections(4, 0, 4), V({0, 0, 0, 0}));
    EXPECT_EQ(reflections(6, 1, 4), V({1, 0, 1, 0}));
    EXPECT_EQ(reflections(6, 2, 4), V({0, 1, 0, 1}));
    EXPECT_EQ(reflections(6, 7, 4), V({0, 1, 0, 1}));
    EXPECT_EQ(fake.randomDraws, 0);
}

TEST_F(PluginWeave, RuleThatDoesNotFireGivesTheDefault) {
    EXPECT_EQ(elements(2, 2, 1), V({1, 1}));
    EXPECT_EQ(reflections(2, 1, 2, 1), V({1, 1}));
    for (int32_t mode : {-1, 9, 100}) {
        EXPECT_EQ(elements(mode, 4, 0), V({0, 0, 0, 0})) << mode;
        EXPECT_EQ(reflections(mode, 1, 3, 1), V({1, 1, 1})) << mode;
    }
}

TEST_F(PluginWeave, RandomWeaveFiresAboveHalf) {
    // r x 10 > 5: exactly 0.5 does not fire.
    fake.randomValues = {0.51f, 0.5f, 0.0f, 1.0f};
    EXPECT_EQ(elements(7, 4), V({1, 0, 0, 1}));
    fake.randomValues = {0.9f, 0.1f};
    EXPECT_EQ(reflections(7, 0, 2), V({1, 0}));
    EXPECT_EQ(fake.randomDraws, 6);
}

TEST_F(PluginWeave, OddOnlyRandomWeaveDrawsForOddElementsOnly) {
    fake.randomValues = {0.9f, 0.2f};
    EXPECT_EQ(elements(8, 4), V({0, 1, 0, 0}));
    EXPECT_EQ(fake.randomDraws, 2);
}

TEST_F(PluginWeave, OddOnlyRandomWeaveDrawsForEveryReflection) {
    // Element 1: reflections 1 and 3 share its parity; every reflection draws first.
    fake.randomValues = {0.9f, 0.9f, 0.9f, 0.2f};
    EXPECT_EQ(reflections(8, 1, 4), V({0, 1, 0, 0}));
    EXPECT_EQ(fake.randomDraws, 4);
}

} // namespace
