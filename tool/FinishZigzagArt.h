// The finishing pipeline that styles, transforms and decorates generated zigzag art.
#ifndef ZZ_TOOL_FINISH_ZIGZAG_ART_H
#define ZZ_TOOL_FINISH_ZIGZAG_ART_H

#include "ZZTypes.h"
#include "tool/GenerationContext.h"

// One element's path as soon as it is written, or the single path that holds every element.
enum class FinishVariant { PerElement, WholePath };

// Finishes `art`; `elementIndex` is the element's index (per element) or the element count (whole path).
// Returns the first failing host status, 0 after a complete run.
SPErr finishZigzagArt(AIArtHandle art, const GenerationContext& context, FinishVariant variant,
                      int32_t elementIndex);

#endif
