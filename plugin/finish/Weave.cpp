#include "plugin/finish/Weave.h"

#include "plugin/settings/ToolSettings.h"
#include "plugin/suites/PluginSuites.h"

namespace {

// The weave / place list: 0 ignore, 1 place beneath all, 2 to 8 the seven weaves.
enum WeavePlaceMode {
    kWeaveIgnore = 0,
    kPlaceBeneathAll = 1,
    kWeave01 = 2,
    kWeave02 = 3,
    kWeave03 = 4,
    kWeave04 = 5,
    kWeave05 = 6,
    kWeave06 = 7,
    kWeave07 = 8
};

// Odd and even by the signed remainder: a negative odd number (remainder -1) is neither.
bool isOdd(int32_t n) {
    return n % 2 == 1;
}
bool isEven(int32_t n) {
    return n % 2 == 0;
}
bool sameParity(int32_t a, int32_t b) {
    return (isEven(a) && isEven(b)) || (isOdd(a) && isOdd(b));
}

bool randomTestFires() {
    return sAIRandom->FloatRnd() * 10.0f > 5.0f;
}

bool elementGoesBeneath(int32_t mode, int32_t k) {
    switch (mode) {
    case kWeave01:
        return isOdd(k);
    case kWeave02:
        return k % 3 == 1;
    case kWeave03:
        return k % 3 == 0;
    case kWeave04:
        return isEven(k);
    case kWeave05:
        return k % 4 == 2 || k % 4 == 3;
    case kWeave06:
        return randomTestFires();
    case kWeave07:
        return isOdd(k) && randomTestFires();
    default:
        return false;
    }
}

bool reflectionGoesBeneath(int32_t mode, int32_t r, int32_t k) {
    switch (mode) {
    case kWeave01:
        return sameParity(r, k);
    case kWeave02:
        return (k % 3 == 0 && isEven(r)) || (isOdd(k) && r % 3 == 1);
    case kWeave03:
        return (k % 3 > 0 && isEven(r)) || (isOdd(k) && r % 3 == 1);
    case kWeave04:
        return (isOdd(k) && isEven(r)) || (isEven(k) && isOdd(r));
    case kWeave05:
        return (k % 4 < 2 && isEven(r)) || ((k % 4 == 2 || k % 4 == 3) && isOdd(r));
    case kWeave06:
        return randomTestFires();
    case kWeave07: {
        bool fires = randomTestFires();
        return fires && sameParity(r, k);
    }
    default:
        return false;
    }
}

} // namespace

int32_t weaveDefaultResult() {
    return globalsBlock->weavePlaceMode == kPlaceBeneathAll ? 1 : 0;
}

int32_t weavePlacesBeneath(int32_t reflectionIndex, int32_t elementIndex, int32_t defaultResult) {
    int32_t mode = globalsBlock->weavePlaceMode;
    if (mode == kWeaveIgnore || mode == kPlaceBeneathAll) return defaultResult;
    bool beneath = reflectionIndex == kWeaveElementItself
                       ? elementGoesBeneath(mode, elementIndex)
                       : reflectionGoesBeneath(mode, reflectionIndex, elementIndex);
    return beneath ? 1 : defaultResult;
}
