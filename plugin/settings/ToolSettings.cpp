#include "plugin/settings/ToolSettings.h"

ToolSettings* globalsBlock = nullptr;

namespace {

// The default design template: design 0, the three-point arrow, and the end marker.
constexpr float kDefaultDesignTemplate[] = {0.0f, 0.0f, 1.0f, 0.5f, 0.0f, 1.0f, kDesignEndMarker};

} // namespace

#define NO_DEFAULT
#define ZZ_SETTINGS_WRITE_DEFAULT(kind, name, defaultValue) ZZ_SETTINGS_WRITE_DEFAULT_IF(name, defaultValue)
// A field whose default is NO_DEFAULT expands to an empty assignment list and is skipped.
#define ZZ_SETTINGS_WRITE_DEFAULT_IF(name, ...) __VA_OPT__(settings.name = __VA_ARGS__;)

void writeDefaultSettings(ToolSettings& settings) {
    ZZ_SETTINGS_OPTION_FIELDS(ZZ_SETTINGS_WRITE_DEFAULT)
    for (int i = 0; i < static_cast<int>(sizeof kDefaultDesignTemplate / sizeof(float)); ++i)
        settings.designTemplate[i] = kDefaultDesignTemplate[i];
    ZZ_SETTINGS_POINT_FIELDS(ZZ_SETTINGS_WRITE_DEFAULT)
}

void deriveScalingFactors(ToolSettings& settings) {
    constexpr float kPercent = 0.01f;
    settings.scalingPattern1AFactor = settings.scalingPattern1A * kPercent;
    settings.scalingPattern2AFactor = settings.scalingPattern2A * kPercent;
    settings.scalingPattern1BFactor = settings.scalingPattern1B * kPercent;
    settings.scalingPattern2BFactor = settings.scalingPattern2B * kPercent;
    settings.horizontalGroupScalingFactor = settings.horizontalGroupScaling * kPercent;
}
