// The finishing pipeline that styles, transforms and decorates generated zigzag art.
#ifndef ZZ_PLUGIN_FINISH_FINISH_ZIGZAG_ART_H
#define ZZ_PLUGIN_FINISH_FINISH_ZIGZAG_ART_H

#include "ZZTypes.h"
#include "plugin/finish/GenerationContext.h"

// One element's path as soon as it is written, or the single path that holds every element.
enum class FinishVariant { PerElement, WholePath };

// Styles, transforms and decorates `art` under the settings, in one fixed order; `elementIndex` is the
// element's index (per element) or the element count (whole path). Sets the context's reflectionsMade when
// it makes reflections. Returns the first failing host status that a step tests, 0 after a complete run; the
// art made until then stays.
SPErr finishZigzagArt(AIArtHandle art, GenerationContext& context, FinishVariant variant,
                      int32_t elementIndex);

#endif
