// The weave / place decision: whether an element path or one of its reflections goes beneath the other art.
#ifndef ZZ_PLUGIN_FINISH_WEAVE_H
#define ZZ_PLUGIN_FINISH_WEAVE_H

#include <cstdint>

// Reflection index of the element itself.
constexpr int32_t kWeaveElementItself = -1;

// The result of a weave decision that no rule decides: 1 under " Place beneath all ", else 0.
int32_t weaveDefaultResult();

// 1 when reflection `reflectionIndex` (kWeaveElementItself for the element itself) of element `elementIndex`
// goes beneath under the current weavePlaceMode, else `defaultResult`. Modes 7 and 8 draw from the host's
// random sequence.
int32_t weavePlacesBeneath(int32_t reflectionIndex, int32_t elementIndex, int32_t defaultResult);

#endif
