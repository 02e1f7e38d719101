// The tool settings record: every option of the zigzag tool, the current design template and the working
// fields of one drag. The host allocates it as the plug-in's globals block at start-up and keeps it across
// unload and reload; it is the only plug-in state that outlives a message.
//
// The fields are listed once, as data: X(kind, name, default). kind is INT (32-bit signed integer, also used
// for list indexes and 0/1 flags) or FLOAT (32-bit IEEE float); NO_DEFAULT marks a working field that is
// written before it is read and that writeDefaultSettings leaves alone. The lists keep the record's field
// order.
#ifndef ZZ_PLUGIN_SETTINGS_TOOL_SETTINGS_H
#define ZZ_PLUGIN_SETTINGS_TOOL_SETTINGS_H

#include <cstdint>

#include "AITool.h"
#include "SPBasic.h"

// clang-format off
// Fields from weavePlaceMode to dragEventCounter.
#define ZZ_SETTINGS_OPTION_FIELDS(X) \
    X(INT, weavePlaceMode              , 0) \
    X(INT, repeatColorMode             , 0) \
    X(INT, applySlowdown               , 0) \
    X(INT, numberOfReflections         , 0) \
    X(INT, fillColorMode               , 0) \
    X(INT, fillSwatchIndex             , 2) \
    X(INT, fillCycleLength             , 0) \
    X(INT, strokeColorMode             , 0) \
    X(INT, strokeSwatchIndex           , 2) \
    X(INT, strokeCycleLength           , 0) \
    X(INT, patternMode                 , 0) \
    X(INT, optionsPage                 , 1) \
    X(INT, maxPointsPerZigzag          , 9999) \
    X(INT, maxPointsPerGroup           , 99) \
    X(INT, presetIndex                 , 0) \
    X(INT, zigzagElements              , 10) \
    X(INT, designIndex1                , 0) \
    X(INT, designIndex2                , 0) \
    X(FLOAT, curve1X                     , 0.0f) \
    X(FLOAT, curve1Y                     , 0.0f) \
    X(FLOAT, curve2X                     , 0.0f) \
    X(FLOAT, curve2Y                     , 0.0f) \
    X(FLOAT, pathJitterX                 , 0.0f) \
    X(FLOAT, pathJitterY                 , 0.0f) \
    X(FLOAT, alternateAngle              , 180.0f) \
    X(FLOAT, initialScalingX             , 100.0f) \
    X(FLOAT, initialScalingY             , 100.0f) \
    X(FLOAT, jitterPointsX               , 0.0f) \
    X(FLOAT, jitterPointsY               , 0.0f) \
    X(FLOAT, scalingPattern1AFactor      , 1.0f) \
    X(FLOAT, scalingPattern2AFactor      , 1.0f) \
    X(FLOAT, scalingPattern1BFactor      , 1.0f) \
    X(FLOAT, scalingPattern2BFactor      , 1.0f) \
    X(FLOAT, horizontalGroupScalingFactor, 1.0f) \
    X(FLOAT, scalingPattern1A            , 100.0f) \
    X(FLOAT, scalingPattern2A            , 100.0f) \
    X(FLOAT, scalingPattern1B            , 100.0f) \
    X(FLOAT, scalingPattern2B            , 100.0f) \
    X(FLOAT, reflectShiftY               , 0.0f) \
    X(FLOAT, initialAngle                , 0.0f) \
    X(FLOAT, horizontalGroupScaling      , 100.0f) \
    X(FLOAT, reflectShiftX               , 0.0f) \
    X(FLOAT, reflectTurn                 , 0.0f) \
    X(FLOAT, cumulativeReflectScaleY     , NO_DEFAULT) \
    X(FLOAT, cumulativeReflectScaleX     , NO_DEFAULT) \
    X(FLOAT, reflectScalingX             , 100.0f) \
    X(FLOAT, reflectScalingY             , 100.0f) \
    X(INT, styleToSeparateElements     , 1) \
    X(INT, styleToReflect              , 0) \
    X(INT, lockedVerticalHorizontal    , 0) \
    X(INT, symbolizeZigzag             , 0) \
    X(INT, randomStyle                 , 0) \
    X(INT, slantMatchCursor            , 0) \
    X(INT, randomRotation              , 0) \
    X(INT, pressureGroups              , 0) \
    X(INT, pressureRotation            , 0) \
    X(INT, trailCursor                 , 0) \
    X(INT, alternateMirror             , 0) \
    X(INT, flattenAlternate            , 0) \
    X(INT, randomDesignType            , 0) \
    X(INT, closedPath                  , 0) \
    X(INT, separateElements            , 0) \
    X(INT, randomOpacity               , 0) \
    X(INT, randomBlendMode             , 0) \
    X(INT, randomWidth                 , 0) \
    X(INT, randomWarp                  , 0) \
    X(INT, randomCreateElements        , 0) \
    X(INT, randomScaling               , 0) \
    X(INT, randomCurve                 , 0) \
    X(INT, dropShadow                  , 0) \
    X(INT, randomMaxPoints             , 0) \
    X(INT, randomHorizontalDistance    , 0) \
    X(INT, randomVerticalDistance      , 0) \
    X(INT, pressureStyleFactor         , 0) \
    X(INT, pressureWidth               , 0) \
    X(INT, pressureOpacity             , 0) \
    X(INT, jitterFill                  , 0) \
    X(INT, jitterStroke                , 0) \
    X(INT, jitterWidth                 , 0) \
    X(INT, linkZigzag2To1              , 0) \
    X(INT, reflectHorizontal           , 0) \
    X(INT, reflectVertical             , 0) \
    X(FLOAT, evenElementShiftX           , 0.0f) \
    X(FLOAT, oddElementShiftX            , 0.0f) \
    X(FLOAT, evenElementShiftY           , 0.0f) \
    X(FLOAT, oddElementShiftY            , 0.0f) \
    X(FLOAT, dragEventCounter            , NO_DEFAULT)

// The press and drag points, which follow the design template in the record.
#define ZZ_SETTINGS_POINT_FIELDS(X) \
    X(FLOAT, pressPointX                 , NO_DEFAULT) \
    X(FLOAT, pressPointY                 , NO_DEFAULT) \
    X(FLOAT, dragPointX                  , NO_DEFAULT) \
    X(FLOAT, dragPointY                  , NO_DEFAULT)
// clang-format on

constexpr int kDesignTemplateSlots = 105;
constexpr float kDesignEndMarker = -999.0f;

#define ZZ_SETTINGS_TYPE_INT int32_t
#define ZZ_SETTINGS_TYPE_FLOAT float
#define ZZ_SETTINGS_DECLARE(kind, name, defaultValue) ZZ_SETTINGS_TYPE_##kind name;

struct ToolSettings {
    AIToolHandle toolHandle; // null from allocation until the host writes it when the tool is added
    ZZ_SETTINGS_OPTION_FIELDS(ZZ_SETTINGS_DECLARE)
    float designTemplate[kDesignTemplateSlots]; // (x, y) pairs ended by kDesignEndMarker
    ZZ_SETTINGS_POINT_FIELDS(ZZ_SETTINGS_DECLARE)
    const SPBasicSuite* hostBasicSuite; // stored at start-up; nothing reads it back
};

#undef ZZ_SETTINGS_DECLARE

// The plug-in globals block; null until start-up and after shutdown.
extern ToolSettings* globalsBlock;

// Writes the default of every field that has one, in record order, and the default design template (design 0)
// into the first seven template slots. toolHandle, hostBasicSuite and the working fields are left alone.
void writeDefaultSettings(ToolSettings& settings);

// Sets the five scaling factors from their percent fields: each factor is the percentage times the float
// nearest to 0.01, rounded to a float (100 gives exactly 1.0).
void deriveScalingFactors(ToolSettings& settings);

#endif
