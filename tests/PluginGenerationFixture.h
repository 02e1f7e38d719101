// The fixture of plug-in tests that run generation code against the fake suites: a fresh fake host, the
// generation suites installed and a settings record at its defaults as the globals block.
#ifndef ZZ_TESTS_PLUGIN_GENERATION_FIXTURE_H
#define ZZ_TESTS_PLUGIN_GENERATION_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "PluginFakeSuites.h"
#include "plugin/settings/ToolSettings.h"

namespace pluginfakes {

class GenerationFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        resetFakeHost();
        installGenerationSuites();
        globalsBlock = &record;
        writeDefaultSettings(record);
    }
    void TearDown() override {
        globalsBlock = nullptr;
        resetFakeHost();
    }
    ToolSettings record;
};

inline AIColor four(float c, float m, float y, float k) {
    return {kFourColor, {c, m, y, k}};
}
inline AIColor three(float r, float g, float b) {
    return {kThreeColor, {r, g, b, 0.0f}};
}
inline AIColor gray(float g) {
    return {kGrayColor, {g, 0.0f, 0.0f, 0.0f}};
}

inline void expectColor(const AIColor& actual, const AIColor& expected, const std::string& what) {
    EXPECT_EQ(actual.kind, expected.kind) << what;
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(actual.value[i], expected.value[i]) << what << " value " << i;
}

} // namespace pluginfakes

#endif
