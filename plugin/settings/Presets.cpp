#include "plugin/settings/Presets.h"

namespace {

// One setting a preset gives a value other than its default: an integer field (list indexes and flags too)
// or a float field.
struct PresetChange {
    int32_t entry;
    int32_t ToolSettings::*intField;
    float ToolSettings::*floatField;
    float value;
};

constexpr PresetChange setInt(int32_t entry, int32_t ToolSettings::*field, int32_t value) {
    return {entry, field, nullptr, static_cast<float>(value)};
}
constexpr PresetChange setFloat(int32_t entry, float ToolSettings::*field, float value) {
    return {entry, nullptr, field, value};
}

using S = ToolSettings;

// The changes of every preset on top of the defaults, by popup entry. List values are entry indexes: fill
// colour 2 " To black", 3 " Random colors", 6 " To swatch", 7 " To half color", 10 " Alternate black",
// 12 " Alternate inverted"; pattern 1 " Use document center", 2 " Use end point"; weave 2 " Weave 01 ";
// repeat colour 1 " Alternate invert", 2 " Alternate black", 3 " Alternate reduced". Designs 1 Skyrise,
// 2 Flat Top, 4 Towers, 63 to 66 Line1 to Line4.
constexpr PresetChange kPresetChanges[] = {
    setInt(1, &S::fillColorMode, 2),
    setInt(1, &S::separateElements, 1),
    setInt(1, &S::closedPath, 1),

    setInt(2, &S::patternMode, 1),
    setInt(2, &S::fillColorMode, 2),
    setInt(2, &S::separateElements, 1),
    setInt(2, &S::closedPath, 1),

    setInt(3, &S::designIndex1, 2),
    setInt(3, &S::linkZigzag2To1, 1),

    setInt(4, &S::designIndex1, 4),
    setInt(4, &S::linkZigzag2To1, 1),

    setInt(5, &S::fillColorMode, 3),
    setInt(5, &S::designIndex1, 4),
    setInt(5, &S::linkZigzag2To1, 1),

    setInt(6, &S::fillColorMode, 7),
    setInt(6, &S::designIndex1, 4),
    setInt(6, &S::linkZigzag2To1, 1),
    setInt(6, &S::separateElements, 1),
    setInt(6, &S::closedPath, 1),

    setInt(7, &S::fillColorMode, 6),
    setInt(7, &S::fillSwatchIndex, 12),
    setInt(7, &S::designIndex1, 4),
    setInt(7, &S::linkZigzag2To1, 1),
    setInt(7, &S::separateElements, 1),
    setInt(7, &S::closedPath, 1),

    setInt(8, &S::fillColorMode, 12),
    setInt(8, &S::separateElements, 1),
    setInt(8, &S::closedPath, 1),

    setInt(9, &S::numberOfReflections, 5),

    setInt(10, &S::numberOfReflections, 7),
    setFloat(10, &S::reflectShiftY, 30.0f),

    setInt(11, &S::numberOfReflections, 7),
    setFloat(11, &S::reflectShiftY, 30.0f),
    setInt(11, &S::reflectVertical, 1),

    setInt(12, &S::fillColorMode, 2),
    setInt(12, &S::separateElements, 1),
    setInt(12, &S::closedPath, 1),
    setInt(12, &S::jitterFill, 1),

    setFloat(13, &S::curve1X, 50.0f),

    setInt(14, &S::zigzagElements, 30),

    setInt(15, &S::dropShadow, 1),

    setFloat(16, &S::initialAngle, 45.0f),

    setInt(17, &S::randomWarp, 1),

    setInt(18, &S::randomCreateElements, 1),
    setInt(18, &S::fillColorMode, 2),
    setInt(18, &S::separateElements, 1),
    setInt(18, &S::closedPath, 1),

    setInt(19, &S::alternateMirror, 1),

    setInt(20, &S::flattenAlternate, 1),

    setInt(21, &S::designIndex1, 4),
    setInt(21, &S::linkZigzag2To1, 1),
    setInt(21, &S::flattenAlternate, 1),

    setInt(22, &S::trailCursor, 1),

    setInt(23, &S::trailCursor, 1),
    setInt(23, &S::randomOpacity, 1),
    setInt(23, &S::applySlowdown, 10),

    setFloat(24, &S::horizontalGroupScaling, 50.0f),

    setInt(25, &S::fillColorMode, 10),
    setInt(25, &S::separateElements, 1),
    setInt(25, &S::closedPath, 1),

    setInt(26, &S::fillColorMode, 12),
    setInt(26, &S::separateElements, 1),
    setInt(26, &S::closedPath, 1),

    setInt(27, &S::patternMode, 2),
    setInt(27, &S::fillColorMode, 12),
    setInt(27, &S::separateElements, 1),
    setInt(27, &S::closedPath, 1),

    setInt(28, &S::maxPointsPerZigzag, 20),
    setInt(28, &S::randomMaxPoints, 1),
    setInt(28, &S::zigzagElements, 20),
    setInt(28, &S::designIndex1, 1),
    setInt(28, &S::linkZigzag2To1, 1),

    setInt(29, &S::randomDesignType, 1),
    setInt(29, &S::fillColorMode, 2),
    setInt(29, &S::separateElements, 1),
    setInt(29, &S::closedPath, 1),

    setInt(30, &S::randomDesignType, 1),
    setInt(30, &S::fillColorMode, 2),
    setInt(30, &S::separateElements, 1),
    setInt(30, &S::closedPath, 1),

    setInt(31, &S::weavePlaceMode, 2),
    setInt(31, &S::separateElements, 1),
    setInt(31, &S::repeatColorMode, 1),
    setInt(31, &S::numberOfReflections, 1),

    setInt(32, &S::weavePlaceMode, 2),
    setInt(32, &S::separateElements, 1),
    setInt(32, &S::repeatColorMode, 1),
    setInt(32, &S::numberOfReflections, 1),
    setInt(32, &S::designIndex1, 63),
    setInt(32, &S::designIndex2, 64),
    setFloat(32, &S::reflectShiftX, 20.0f),
    setFloat(32, &S::reflectShiftY, 20.0f),

    setInt(33, &S::weavePlaceMode, 2),
    setInt(33, &S::separateElements, 1),
    setInt(33, &S::repeatColorMode, 2),
    setInt(33, &S::numberOfReflections, 1),
    setInt(33, &S::designIndex1, 63),
    setInt(33, &S::designIndex2, 64),
    setFloat(33, &S::reflectShiftX, 30.0f),
    setFloat(33, &S::reflectShiftY, 30.0f),

    setInt(34, &S::weavePlaceMode, 2),
    setInt(34, &S::separateElements, 1),
    setInt(34, &S::repeatColorMode, 2),
    setInt(34, &S::numberOfReflections, 3),
    setInt(34, &S::designIndex1, 63),
    setInt(34, &S::designIndex2, 64),
    setFloat(34, &S::reflectShiftX, 15.0f),
    setFloat(34, &S::reflectShiftY, 30.0f),

    setInt(35, &S::weavePlaceMode, 2),
    setInt(35, &S::separateElements, 1),
    setInt(35, &S::repeatColorMode, 2),
    setInt(35, &S::numberOfReflections, 1),
    setInt(35, &S::designIndex1, 65),
    setInt(35, &S::designIndex2, 66),
    setFloat(35, &S::reflectShiftX, 30.0f),
    setFloat(35, &S::reflectShiftY, 30.0f),

    setInt(36, &S::weavePlaceMode, 2),
    setInt(36, &S::separateElements, 1),
    setInt(36, &S::repeatColorMode, 3),
    setInt(36, &S::numberOfReflections, 1),
    setInt(36, &S::designIndex1, 65),
    setInt(36, &S::designIndex2, 66),
    setFloat(36, &S::reflectShiftX, 30.0f),
    setFloat(36, &S::reflectShiftY, 30.0f),
};

} // namespace

void loadPreset(ToolSettings& settings, int32_t entry) {
    const int32_t optionsPage = settings.optionsPage;
    writeDefaultSettings(settings);
    settings.optionsPage = optionsPage;
    settings.presetIndex = entry;
    for (const PresetChange& change : kPresetChanges) {
        if (change.entry != entry) continue;
        if (change.intField != nullptr)
            settings.*change.intField = static_cast<int32_t>(change.value);
        else
            settings.*change.floatField = change.value;
    }
    // A preset that changes a percentage changes what the drag draws with as well; the percentages left at
    // their defaults give the factors 1.0 that the defaults wrote.
    deriveScalingFactors(settings);
}
