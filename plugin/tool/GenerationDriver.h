// The drag-time generation driver: turns the rectangle between the press point and the cursor into zigzag
// art.
#ifndef ZZ_PLUGIN_TOOL_GENERATION_DRIVER_H
#define ZZ_PLUGIN_TOOL_GENERATION_DRIVER_H

#include <cstdint>

#include "ZZTypes.h"

// The modifier bits the driver tests.
constexpr uint32_t kStepModifier = 0x20; // steps the element count, or with kAlternateModifier the designs
constexpr uint32_t kAlternateModifier = 0x40;  // with trail on: replace instead of keep
constexpr uint32_t kMoveStartModifier = 0x200; // moves the press point to the cursor

// Runs one drag event: the slowdown gate, the trail undo, the modifier keys and, when the gate lets the event
// through, one generation. Returns the first failing host status the generation tests, else 0.
SPErr generateZigzagArt(AIReal cursorX, AIReal cursorY, int16_t pressure);

#endif
