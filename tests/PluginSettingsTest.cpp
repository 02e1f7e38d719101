// The settings record's defaults and the design template loader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/designs/DesignTemplates.h"
#include "plugin/settings/ToolSettings.h"

namespace {

// A byte pattern that no default equals, written over the whole record before a test.
constexpr unsigned char kFillByte = 0xA5;

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float filledFloat() {
    float value;
    std::memset(&value, kFillByte, sizeof value);
    return value;
}

int32_t filledInt() {
    int32_t value;
    std::memset(&value, kFillByte, sizeof value);
    return value;
}

class PluginSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(&record, kFillByte, sizeof record);
        globalsBlock = &record;
    }
    void TearDown() override { globalsBlock = nullptr; }
    ToolSettings record;
};

TEST_F(PluginSettings, DefaultsMatchTheOptionTable) {
    writeDefaultSettings(record);
    const int32_t ints[] = {record.weavePlaceMode,      record.repeatColorMode,   record.applySlowdown,
                            record.numberOfReflections, record.fillColorMode,     record.fillCycleLength,
                            record.strokeColorMode,     record.strokeCycleLength, record.patternMode,
                            record.presetIndex,         record.designIndex1,      record.designIndex2};
    for (int32_t value : ints)
        EXPECT_EQ(value, 0);
    EXPECT_EQ(record.fillSwatchIndex, 2);
    EXPECT_EQ(record.strokeSwatchIndex, 2);
    EXPECT_EQ(record.optionsPage, 1);
    EXPECT_EQ(record.maxPointsPerZigzag, 9999);
    EXPECT_EQ(record.maxPointsPerGroup, 99);
    EXPECT_EQ(record.zigzagElements, 10);

    const float zeros[] = {
        record.curve1X,           record.curve1Y,          record.curve2X,           record.curve2Y,
        record.pathJitterX,       record.pathJitterY,      record.jitterPointsX,     record.jitterPointsY,
        record.reflectShiftY,     record.initialAngle,     record.reflectShiftX,     record.reflectTurn,
        record.evenElementShiftX, record.oddElementShiftX, record.evenElementShiftY, record.oddElementShiftY};
    for (float value : zeros)
        EXPECT_EQ(bitsOf(value), 0u); // +0.0, not -0.0
    const float hundreds[] = {record.initialScalingX,        record.initialScalingY,  record.scalingPattern1A,
                              record.scalingPattern2A,       record.scalingPattern1B, record.scalingPattern2B,
                              record.horizontalGroupScaling, record.reflectScalingX,  record.reflectScalingY};
    for (float value : hundreds)
        EXPECT_EQ(value, 100.0f);
    const float ones[] = {record.scalingPattern1AFactor, record.scalingPattern2AFactor,
                          record.scalingPattern1BFactor, record.scalingPattern2BFactor,
                          record.horizontalGroupScalingFactor};
    for (float value : ones)
        EXPECT_EQ(value, 1.0f);
    EXPECT_EQ(record.alternateAngle, 180.0f);
}

TEST_F(PluginSettings, StyleToSeparateElementsIsTheOnlyFlagOn) {
    writeDefaultSettings(record);
    EXPECT_EQ(record.styleToSeparateElements, 1);
    const int32_t flags[] = {record.styleToReflect,
                             record.lockedVerticalHorizontal,
                             record.symbolizeZigzag,
                             record.randomStyle,
                             record.slantMatchCursor,
                             record.randomRotation,
                             record.pressureGroups,
                             record.pressureRotation,
                             record.trailCursor,
                             record.alternateMirror,
                             record.flattenAlternate,
                             record.randomDesignType,
                             record.closedPath,
                             record.separateElements,
                             record.randomOpacity,
                             record.randomBlendMode,
                             record.randomWidth,
                             record.randomWarp,
                             record.randomCreateElements,
                             record.randomScaling,
                             record.randomCurve,
                             record.dropShadow,
                             record.randomMaxPoints,
                             record.randomHorizontalDistance,
                             record.randomVerticalDistance,
                             record.pressureStyleFactor,
                             record.pressureWidth,
                             record.pressureOpacity,
                             record.jitterFill,
                             record.jitterStroke,
                             record.jitterWidth,
                             record.linkZigzag2To1,
                             record.reflectHorizontal,
                             record.reflectVertical};
    for (int32_t flag : flags)
        EXPECT_EQ(flag, 0);
}

TEST_F(PluginSettings, DefaultTemplateIsDesignZeroAndTheRestIsUntouched) {
    writeDefaultSettings(record);
    const float expected[] = {0.0f, 0.0f, 1.0f, 0.5f, 0.0f, 1.0f};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(record.designTemplate[i], expected[i]) << i;
    EXPECT_EQ(bitsOf(record.designTemplate[6]), 0xc479c000u);
    for (int i = 7; i < kDesignTemplateSlots; ++i)
        EXPECT_EQ(bitsOf(record.designTemplate[i]), bitsOf(filledFloat())) << i;
}

TEST_F(PluginSettings, DefaultsLeaveWorkingFieldsAndHostWordsAlone) {
    writeDefaultSettings(record);
    const float working[] = {record.cumulativeReflectScaleX,
                             record.cumulativeReflectScaleY,
                             record.dragEventCounter,
                             record.pressPointX,
                             record.pressPointY,
                             record.dragPointX,
                             record.dragPointY};
    for (float value : working)
        EXPECT_EQ(bitsOf(value), bitsOf(filledFloat()));
    unsigned char handleBytes[sizeof record.toolHandle];
    std::memcpy(handleBytes, &record.toolHandle, sizeof handleBytes);
    unsigned char basicBytes[sizeof record.hostBasicSuite];
    std::memcpy(basicBytes, &record.hostBasicSuite, sizeof basicBytes);
    for (unsigned char byte : handleBytes)
        EXPECT_EQ(byte, kFillByte);
    for (unsigned char byte : basicBytes)
        EXPECT_EQ(byte, kFillByte);
    EXPECT_NE(record.zigzagElements, filledInt());
}

TEST(PluginSettingsLayout, FieldsKeepTheirOrderAndFourByteWidth) {
    // Every field between the two host words is four bytes wide and in table order.
    EXPECT_EQ(offsetof(ToolSettings, repeatColorMode) - offsetof(ToolSettings, weavePlaceMode), 4u);
    EXPECT_EQ(offsetof(ToolSettings, curve1X) - offsetof(ToolSettings, weavePlaceMode), 18u * 4u);
    EXPECT_EQ(offsetof(ToolSettings, designTemplate) - offsetof(ToolSettings, weavePlaceMode), 87u * 4u);
    EXPECT_EQ(offsetof(ToolSettings, pressPointX) - offsetof(ToolSettings, designTemplate), 105u * 4u);
    EXPECT_EQ(offsetof(ToolSettings, dragPointY) - offsetof(ToolSettings, pressPointX), 3u * 4u);
    EXPECT_LT(offsetof(ToolSettings, dragPointY), offsetof(ToolSettings, hostBasicSuite));
}

// ---- design templates ----

struct DesignText {
    const char* name;
    const char* points; // "x,y x,y ..." as the design table lists them
};

// The design table as listed for the dialog and the loader, one entry per design index.
const DesignText kDesignTexts[] = {
    {"Arrow (01)", "0,0 1,0.5 0,1"},
    {"Skyrise(02)", "0,0 0,0.1 0.5,0.1 0.5,0.2 0,0.2 0,0.3 1,0.3 1,0.4 0.5,0.4 0.5,0.6 1,0.6 1,0.7 0,0.7 "
                    "0,0.8 0.5,0.8 0.5,0.9 0,0.9 0,1"},
    {"Flat Top(03)", "0,0 1,0.1 1,0.9 0,1"},
    {"DoubleSpike(04)", "0,0 0,0.1 1,0.15 0,0.2 0,0.8 1,0.85 0,0.9 0,1"},
    {"Towers(05)", "0,0 0,0.1 1,0.1 1,0.3 0,0.3 0,0.5 1,0.5 1,0.7 0,0.7 0,1"},
    {"Step(06)", "0,0 1,0 1,0.5 0,0.5 0,1"},
    {"Alien(07)", "0.5,0 0.5,0.1 0.1,0.1 0.1,0.4 0.2,0.4 0.2,0.2 0.5,0.2 0.5,0.8 0.2,0.8 0.2,0.6 0.1,0.6 "
                  "0.1,0.9 0.5,0.9 0.5,1"},
    {"PowerPack(08)", "0.5,0 0.5,0.1 0.1,0.1 0.1,0.4 0.2,0.4 0.2,0.2 0.5,0.2 0.5,0.3 0.3,0.3 0.3,0.4 0.5,0.4 "
                      "0.5,0.45 0.4,0.45 0.4,0.55 0.5,0.55 0.5,0.6 0.3,0.6 0.3,0.7 0.5,0.7 0.5,0.8 0.2,0.8 "
                      "0.2,0.6 0.1,0.6 0.1,0.9 0.5,0.9 0.5,1"},
    {"Stickingout(09)", "0,0 0.25,0.25 1,0.25 1,0.35 0.25,0.35 0,0.6 0.25,0.8 0,1"},
    {"WaterTower(10)", "0,0 0,0.4 0.5,0.4 0.5,0.2 0.9,0.2 0.9,0.8 0.5,0.8 0.5,0.6 0,0.6 0,1"},
    {"Glass(11)", "0,0 0,0.4 0.35,0.4 0.7,0.2 0.55,0.5 0.7,0.8 0.35,0.6 0,0.6 0,1"},
    {"Break(12)", "0,0 0,0.2 0.15,0.25 0,0.3 0,0.4 1,0.4 1,0.6 0,0.6 0,0.7 0.15,0.75 0,0.8 0,1"},
    {"Track(13)", "0,0 0,0.25 0.2,0.25 0.2,0 0.4,0 0.4,0.25 0.6,0.25 0.6,0 0.8,0 0.8,0.25 1,0.25 1,1 0.8,1 "
                  "0.8,0.75 0.6,0.75 0.6,1 0.4,1 0.4,0.75 0.2,0.75 0.2,1 0,1"},
    {"Wobble(14)", "0,0 0.25,0.25 0.5,0 0.75,0.25 1,0 1,1 0.75,0.75 0.5,1 0.25,0.75 0,1"},
    {"Staircase(15)", "0,0 1,0 1,0.3 0.7,0.3 0.7,0.6 0.4,0.6 0.4,0.9 0,0.9 0,1"},
    {"Sting(16)", "0,0 0.05,0.05 0,0.1 0.2,0.15 0,0.2 0.4,0.25 0,0.3 0,0.7 1,0.8 0,0.9 0,1"},
    {"Mountain(17)", "0.5,0 0.5,0.05 0.55,0.05 0.55,0.1 0.5,0.1 0.5,0.15 1,0.5 0.5,0.85 0.5,0.9 0.55,0.9 "
                     "0.55,0.95 0.5,0.95 0.5,1"},
    {"MiddleTower(18)", "0.5,0 0.45,0.05 0.55,0.05 0.55,0.25 0.45,0.25 0.45,0.35 0.5,0.45 0.65,0.45 "
                        "0.65,0.55 0.5,0.55 0.45,0.65 0.45,0.75 0.55,0.75 0.55,0.95 0.45,0.95 0.5,1"},
    {"Intense(19)", "0.5,0 0.5,0.2 0.7,0.25 0.5,0.3 0.75,0.35 0.5,0.4 0.8,0.45 0.5,0.5 0.8,0.55 0.5,0.6 "
                    "0.75,0.65 0.5,0.7 0.7,0.75 0.5,0.8 0.5,0.8 0.5,1"},
    {"Columns(20)", "0.5,0 0.5,0.1 0.6,0.1 0.65,0.15 0.7,0.1 0.7,0.25 0.65,0.2 0.6,0.25 0.5,0.25 0.5,0.35 "
                    "0.6,0.35 0.65,0.4 0.7,0.35 0.7,0.65 0.65,0.6 0.6,0.65 0.5,0.65 0.5,0.75 0.6,0.75 "
                    "0.65,0.8 0.7,0.75 0.7,0.9 0.65,0.85 0.6,0.9 0.5,0.9 0.5,1"},
    {"Dip(21)", "0.5,0 0.5,0.1 0,0.2 0.5,0.3 0.5,0.4 0.8,0.5 0.5,0.6 0.5,0.7 0,0.8 0.5,0.9 0.5,1"},
    {"Increasing(22)", "0.5,0 0.55,0.05 0.5,0.1 0.7,0.3 0.5,0.5 0.9,0.7 0.5,0.9 0.55,0.95 0.5,1"},
    {"BigSmall(23)", "0.5,0 0.5,0.1 0.3,0.1 0.3,0.4 0.5,0.4 0.5,0.6 0.15,0.6 0.15,0.9 0.5,0.9 0.5,1"},
    {"Temple(24)", "0.5,0 0.5,0.25 0.4,0.3 0.5,0.35 0.4,0.4 0.5,0.45 0.2,0.55 0.5,0.55 0.4,0.6 0.5,0.65 "
                   "0.4,0.7 0.5,0.75 0.5,1"},
    {"N(25)", "0.5,0 0.6,0.1 0.65,0.1 0.65,0.15 0.6,0.15 0.4,0.35 0.35,0.35 0.35,0.4 0.6,0.6 0.65,0.6 "
              "0.65,0.65 0.6,0.65 0.4,0.85 0.35,0.85 0.35,0.9 0.4,0.9 0.5,1"},
    {"Bottom(26)", "0.5,0 0.5,0.1 0.45,0.1 0.45,0.15 0.5,0.15 0.5,0.25 0.55,0.25 0.55,0.3 0.5,0.3 0.5,0.4 "
                   "0.6,0.5 0.5,0.6 0.5,0.65 0.45,0.65 0.45,0.7 0.5,0.7 0.5,0.75 0.65,0.75 0.75,0.85 0.7,0.9 "
                   "0.65,0.9 0.65,0.95 0.5,0.95 0.5,1"},
    {"StoneSteps(27)",
     "0.5,0 0.5,0.15 0.55,0.15 0.55,0.1 0.45,0.1 0.45,0.3 0.5,0.3 0.5,0.25 0.4,0.25 0.4,0.5 0.45,0.5 "
     "0.45,0.45 0.35,0.45 0.35,0.75 0.4,0.75 0.4,0.8 0.45,0.8 0.45,0.85 0.5,0.85 0.5,1"},
    {"Crags(28)", "0.5,0 0.55,0.05 0.45,0.15 0.4,0.05 0.3,0.2 0.45,0.35 0.25,0.55 0.45,0.75 0.5,0.7 "
                  "0.55,0.75 0.4,0.9 0.5,1"},
    {"M(29)", "0.7,0 0.7,0.05 0.4,0.05 0.4,0.15 0.7,0.15 0.7,0.25 0.3,0.5 0.7,0.75 0.7,0.85 0.4,0.85 "
              "0.4,0.95 0.7,0.95 0.7,1"},
    {"Valley(30)", "0.5,0 0.55,0.05 0.55,0.1 0.45,0.1 0.45,0.2 0.55,0.2 0.55,0.8 0.45,0.8 0.45,0.9 0.55,0.9 "
                   "0.55,0.95 0.5,1"},
    {"Impact(31)", "0.5,0 1,0.5 0.5,0.25 0.5,0.75 1,0.5 0.5,1"},
    {"Hinged(32)", "0.5,0 0.5,0.05 0.55,0.05 0.55,0.1 0.5,0.1 0.5,0.15 0.8,0.3 0.85,0.3 0.85,0.35 0.9,0.35 "
                   "0.9,0.4 0.95,0.4 0.95,0.45 1,0.5 0.5,0.85 0.5,0.9 0.55,0.9 0.55,0.95 0.5,0.95 0.5,1"},
    {"Clamps(33)",
     "0.25,0 1,0.3 0.4,0.3 0.4,0.35 0.5,0.35 0.5,0.4 0.1,0.5 0.5,0.6 0.5,0.65 0.4,0.65 0.4,0.7 1,0.7 0.25,1"},
    {"StarWars(34)",
     "0.25,0 0.75,0.05 0.5,0.05 0.5,0.1 0.55,0.1 0.55,0.15 0.5,0.15 0.5,0.25 0.4,0.35 0.4,0.45 0.6,0.45 "
     "0.6,0.55 0.4,0.55 0.4,0.65 0.5,0.75 0.5,0.85 0.55,0.85 0.55,0.9 0.5,0.9 0.5,0.95 0.75,0.95 0.25,1"},
    {"Castle(35)", "0.7,0 0.7,0.35 0.85,0.35 0.85,0.5 0.8,0.55 0.85,0.6 0.85,0.75 0.7,0.75 0.7,1"},
    {"Nose(36)", "0.25,0 0.15,0.1 0.85,0.9 0.1,0.9 0.25,1"},
    {"Chimney(37)", "0.5,0 0.5,0.1 0.4,0.1 0.5,0.2 0.5,0.3 0.6,0.3 0.6,0.4 0.5,0.4 0.5,0.5 0.4,0.5 0.4,0.6 "
                    "0.5,0.6 0.6,0.7 0.7,0.7 0.7,0.8 0.6,0.8 0.5,0.9 0.5,1"},
    {"Crackle(38)", "0.5,0 0.5,0.1 0.45,0.05 0.4,0.1 0.45,0.15 0.4,0.2 0.35,0.15 0.3,0.2 0.35,0.25 0.3,0.3 "
                    "0.25,0.25 0.2,0.3 0.25,0.35 0.2,0.4 0.15,0.35 0.1,0.4 0.25,0.55 0.3,0.5 0.35,0.55 "
                    "0.4,0.5 0.35,0.45 0.4,0.4 0.45,0.45 0.5,0.4 0.45,0.35 0.5,0.3 0.55,0.35 0.55,0.55 "
                    "0.5,0.6 0.55,0.65 0.5,0.7 0.55,0.75 0.5,0.8 0.55,0.85 0.5,1"},
    {"Seahorse(39)", "0.5,0 0.5,0.05 0.1,0.1 0.9,0.9 0.5,0.95 0.5,1"},
    {"Topping(40)",
     "0.5,0 0.5,0.05 0.55,0.1 0.5,0.15 0.55,0.2 0.5,0.25 0.5,0.3 0.7,0.3 0.7,0.35 0.75,0.4 0.7,0.45 0.75,0.5 "
     "0.7,0.55 0.75,0.6 0.7,0.65 0.7,0.7 0.5,0.7 0.5,0.75 0.55,0.8 0.5,0.85 0.55,0.9 0.5,0.95 0.5,1"},
    {"Upper(41)", "0.5,0 0.7,0.35 0.5,0.35 0.5,0.7 0.5,0.7 0.5,1"},
    {"Crosses(42)",
     "0.5,0 0.5,0.2 0.6,0.2 0.6,0.1 0.7,0.1 0.7,0.2 0.8,0.2 0.8,0.3 0.7,0.3 0.7,0.4 0.6,0.4 0.6,0.3 0.5,0.3 "
     "0.5,0.7 0.6,0.7 0.6,0.6 0.7,0.6 0.7,0.7 0.8,0.7 0.8,0.8 0.7,0.8 0.7,0.9 0.6,0.9 0.6,0.8 0.5,0.8 0.5,1"},
    {"Beak(43)",
     "0.5,0 0.5,0.15 0.45,0.25 0.55,0.25 0.55,0.35 0.45,0.45 0.55,0.55 0.45,0.65 0.45,0.75 0.5,0.85 0.5,1"},
    {"Tardis(44)", "0.5,0 0.3,0.1 0.3,0.4 0.25,0.4 0.25,0.6 0.3,0.6 0.3,0.9 0.5,0.9 0.5,1"},
    {"Z(45)", "0.5,0 0.5,0.1 0.45,0.1 0.45,0.05 0.4,0.05 0.4,0.25 0.6,0.25 0.4,0.75 0.6,0.75 0.6,0.95 "
              "0.55,0.95 0.55,0.9 0.5,0.9 0.5,1"},
    {"Oscillate(46)", "0.5,0 0.55,0.05 0.55,0.15 0.45,0.15 0.45,0.25 0.55,0.35 0.45,0.65 0.55,0.75 0.55,0.85 "
                      "0.45,0.95 0.55,0.95 0.5,1"},
    {"Pulse(47)", "0.5,0 0.5,0.25 0.45,0.3 0.65,0.35 0.3,0.4 0.75,0.5 0.3,0.6 0.65,0.7 0.5,0.75 0.5,1"},
    {"Rapid(48)", "0.5,0 1,0.1 0.5,0.2 1,0.3 0.5,0.4 1,0.5 0.5,0.6 1,0.7 0.5,0.8 1,0.9 0.5,1"},
    {"Two(49)", "0.5,0 1,0.2 1,0.3 0.5,0.5 1,0.7 1,0.8 0.5,1"},
    {"Signpost(50)", "0.5,0 1,0.3 1,0.4 0.5,0.1 0.5,0.2 0.75,0.35 0.75,0.45 0.5,0.3 0.5,0.4 0.25,0.55 "
                     "0.25,0.65 0.5,0.5 0.5,1"},
    {"Finger(51)", "0.5,0 0.5,0.1 0.7,0.1 0.7,0.7 0.6,0.7 0.6,0.6 0.65,0.6 0.65,0.2 0.55,0.2 0.55,0.3 "
                   "0.6,0.3 0.6,0.4 0.55,0.4 0.6,0.45 0.6,0.5 0.55,0.5 0.55,0.6 0.5,0.6 0.5,1"},
    {"Contour(52)", "0.5,0 0.5,0.5 0.4,0.5 0.4,0.4 0.6,0.4 0.6,0.6 0.3,0.6 0.3,0.3 0.7,0.3 0.7,0.7 0.2,0.7 "
                    "0.2,0.2 0.8,0.2 0.8,0.8 0.5,0.8 0.5,1"},
    {"Cake(53)", "0,0 1,0.05 1,0.2 0.9,0.25 1,0.3 1,0.45 0.75,0.5 1,0.55 1,0.7 0.9,0.75 1,0.8 1,0.95 0,1"},
    {"Fork(54)", "0.5,0 0.55,0.05 0.5,0.05 0.55,0.1 0.5,0.1 0.5,0.2 0.45,0.25 0.5,0.25 0.45,0.3 0.5,0.3 "
                 "0.5,0.4 0.55,0.45 0.5,0.45 0.55,0.5 0.5,0.5 0.5,0.6 0.45,0.65 0.5,0.65 0.45,0.7 0.5,0.7 "
                 "0.5,0.8 0.55,0.85 0.5,0.85 0.55,0.9 0.5,0.9 0.5,1"},
    {"Uprising(55)", "0.5,0 0.55,0.25 0.5,0.25 0.6,0.5 0.5,0.5 0.65,0.75 0.5,0.75 0.7,1 0.5,1"},
    {"Ladder(56)",
     "0.1,0 0.1,0.1 0.9,0.1 0.9,0.2 0.85,0.2 0.8,0.25 0.75,0.2 0.25,0.2 0.2,0.25 0.15,0.2 0.1,0.2 0.1,0.35 "
     "0.9,0.35 0.9,0.45 0.85,0.45 0.8,0.5 0.75,0.45 0.25,0.45 0.2,0.5 0.15,0.45 0.1,0.45 0.1,0.65 0.9,0.65 "
     "0.9,0.75 0.85,0.75 0.8,0.8 0.75,0.75 0.25,0.75 0.2,0.8 0.15,0.75 0.1,0.75 0.1,1"},
    {"Topping(57)", "0.5,0 0.5,0.05 0.55,0.1 0.5,0.15 0.6,0.2 0.5,0.25 0.65,0.3 0.5,0.35 0.7,0.4 0.5,0.45 "
                    "0.5,0.65 0.6,0.7 0.5,0.75 0.5,1"},
    {"Rough(58)", "0.5,0 0.5,0.05 0.55,0.05 0.55,0.1 0.6,0.1 0.6,0.15 0.55,0.15 0.55,0.2 0.5,0.2 0.5,0.25 "
                  "0.45,0.25 0.45,0.3 0.4,0.3 0.4,0.35 0.45,0.35 0.45,0.4 0.5,0.4 0.5,0.6 0.55,0.6 0.55,0.65 "
                  "0.6,0.65 0.6,0.7 0.55,0.7 0.55,0.75 0.5,0.75 0.5,0.8 0.45,0.8 0.45,0.85 0.4,0.85 0.4,0.9 "
                  "0.45,0.9 0.45,0.95 0.5,0.95 0.5,1"},
    {"Beats(59)", "0.5,0 0.5,0.1 0.8,0.15 0.5,0.2 0.8,0.25 0.5,0.3 0.8,0.35 0.5,0.4 0.8,0.45 0.5,0.5 0.5,0.6 "
                  "0.2,0.65 0.5,0.7 0.2,0.75 0.5,0.8 0.2,0.85 0.5,0.9 0.5,1"},
    {"Backbeat(60)",
     "0.5,0 0.5,0.05 0.75,0.1 0.5,0.15 0.75,0.2 0.5,0.25 0.75,0.3 0.5,0.35 0.75,0.4 0.5,0.45 0.5,0.55 "
     "0.25,0.6 0.5,0.65 0.25,0.7 0.5,0.75 0.25,0.8 0.5,0.85 0.25,0.9 0.5,0.95 0.5,1"},
    {"Blank1", "0,0 0,0.5 0,1"},
    {"Blank2", "1,0 1,0.5 1,1"},
    {"Blank3", "0,0 0,1"},
    {"Line1", "0,0 1,1"},
    {"Line2", "1,0 0,1"},
    {"Line3", "0,0 1,0 1,1 0,1"},
    {"Line4", "1,0 0,0 0,1 1,1"},
};

std::vector<float> parsePoints(const char* text) {
    std::vector<float> values;
    const char* cursor = text;
    while (*cursor != '\0') {
        char* end = nullptr;
        values.push_back(std::strtof(cursor, &end));
        cursor = end;
        while (*cursor == ',' || *cursor == ' ')
            ++cursor;
    }
    return values;
}

class PluginDesignLoader : public PluginSettings {
  protected:
    std::vector<uint32_t> templateBits() const {
        std::vector<uint32_t> bits;
        for (float value : record.designTemplate)
            bits.push_back(bitsOf(value));
        return bits;
    }
};

TEST(PluginDesignTable, EveryDesignHoldsTheListedPointsAndName) {
    ASSERT_EQ(sizeof kDesignTexts / sizeof kDesignTexts[0], static_cast<size_t>(kDesignCount));
    for (int32_t index = 0; index < kDesignCount; ++index) {
        const DesignTemplate* design = designTemplateAt(index);
        ASSERT_NE(design, nullptr);
        EXPECT_STREQ(design->name, kDesignTexts[index].name) << index;
        std::vector<float> expected = parsePoints(kDesignTexts[index].points);
        ASSERT_EQ(static_cast<size_t>(design->pointCount * 2), expected.size()) << index;
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(bitsOf(design->points[i]), bitsOf(expected[i])) << "design " << index << " value " << i;
    }
}

TEST(PluginDesignTable, EveryDesignRunsFromYZeroToYOneInsideTheUnitSquare) {
    for (int32_t index = 0; index < kDesignCount; ++index) {
        const DesignTemplate* design = designTemplateAt(index);
        ASSERT_NE(design, nullptr) << index;
        ASSERT_GE(design->pointCount, 2) << index;
        EXPECT_EQ(design->points[1], 0.0f) << index;
        EXPECT_EQ(design->points[design->pointCount * 2 - 1], 1.0f) << index;
        for (int i = 0; i < design->pointCount * 2; ++i) {
            EXPECT_GE(design->points[i], 0.0f) << "design " << index << " value " << i;
            EXPECT_LE(design->points[i], 1.0f) << "design " << index << " value " << i;
        }
    }
    for (int32_t index : {kDesignCount, 69, 70, -1, -2147483647 - 1, 2147483647})
        EXPECT_EQ(designTemplateAt(index), nullptr) << index;
}

TEST_F(PluginDesignLoader, DesignZeroFillsPositionsZeroToSix) {
    loadDesignTemplate(0);
    const float expected[] = {0.0f, 0.0f, 1.0f, 0.5f, 0.0f, 1.0f, -999.0f};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(record.designTemplate[i], expected[i]) << i;
    EXPECT_EQ(bitsOf(record.designTemplate[7]), bitsOf(filledFloat()));
}

TEST_F(PluginDesignLoader, LongestDesignEndsAtPositionSeventy) {
    loadDesignTemplate(37);
    EXPECT_EQ(bitsOf(record.designTemplate[70]), 0xc479c000u);
    for (int i = 0; i < 70; ++i)
        EXPECT_NE(record.designTemplate[i], kDesignEndMarker) << i;
    EXPECT_EQ(bitsOf(record.designTemplate[71]), bitsOf(filledFloat()));
}

TEST_F(PluginDesignLoader, ShortDesignOverwritesOnlyUpToItsMarker) {
    loadDesignTemplate(37);
    const std::vector<uint32_t> after37 = templateBits();
    loadDesignTemplate(63);
    const float expected[] = {0.0f, 0.0f, 1.0f, 1.0f, -999.0f};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(record.designTemplate[i], expected[i]) << i;
    const std::vector<uint32_t> after63 = templateBits();
    for (int i = 5; i <= 70; ++i)
        EXPECT_EQ(after63[i], after37[i]) << i;
}

TEST_F(PluginDesignLoader, IndexesOutsideTheTableWriteNothing) {
    loadDesignTemplate(12);
    const std::vector<uint32_t> before = templateBits();
    for (int32_t index : {67, 69, 70, -1, -2147483647 - 1, 2147483647}) {
        loadDesignTemplate(index);
        EXPECT_EQ(templateBits(), before) << index;
    }
}

TEST_F(PluginDesignLoader, RepeatedPointsArePartOfTheTemplate) {
    loadDesignTemplate(18);
    // 16 points: the last three are (0.5,0.8) (0.5,0.8) (0.5,1).
    EXPECT_EQ(record.designTemplate[26], 0.5f);
    EXPECT_EQ(record.designTemplate[27], 0.8f);
    EXPECT_EQ(record.designTemplate[28], 0.5f);
    EXPECT_EQ(record.designTemplate[29], 0.8f);
    EXPECT_EQ(record.designTemplate[31], 1.0f);
    EXPECT_EQ(record.designTemplate[32], kDesignEndMarker);
    loadDesignTemplate(40);
    EXPECT_EQ(record.designTemplate[6], 0.5f);
    EXPECT_EQ(record.designTemplate[7], 0.7f);
    EXPECT_EQ(record.designTemplate[8], 0.5f);
    EXPECT_EQ(record.designTemplate[9], 0.7f);
    EXPECT_EQ(record.designTemplate[12], kDesignEndMarker);
}

} // namespace
