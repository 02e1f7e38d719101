// The presets of the options dialog's preset popup: entry 0 resets every option to its default, entries 1 to
// 30 are the presets and 31 to 36 the weave presets. Each starts from the defaults, so presets never add up.
#ifndef ZZ_PLUGIN_SETTINGS_PRESETS_H
#define ZZ_PLUGIN_SETTINGS_PRESETS_H

#include <cstdint>

#include "plugin/settings/ToolSettings.h"

constexpr int32_t kPresetEntryCount = 37;

// Writes every default except optionsPage, sets presetIndex to `entry` and applies the entry's changes (none
// for entry 0 or an entry outside 1..36). The scaling factors are then derived from their percentages, so
// that a preset that sets a percentage also sets its factor.
void loadPreset(ToolSettings& settings, int32_t entry);

#endif
