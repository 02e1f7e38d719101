#include "plugin/suites/PluginSuites.h"

#include <cstdio>

#define ZZ_SUITE_DEFINE(pointer, type, name, version) const type* pointer = nullptr;
ZZ_SUITE_LIST(ZZ_SUITE_DEFINE)
#undef ZZ_SUITE_DEFINE

int16_t sSuiteNestingCount = 0;

namespace {

// The result of the outermost acquisition while its suites are held. A nested call shares that set and gets
// the same error when a suite is missing from it, so that no handler runs without a suite it may call.
SPErr sOutermostAcquisitionError = kSPNoError;

#define ZZ_SUITE_INDEX(pointer, type, name, version) kSuiteIndex_##pointer,
enum SuiteIndex { ZZ_SUITE_LIST(ZZ_SUITE_INDEX) kSuiteCount };
#undef ZZ_SUITE_INDEX

struct SuiteName {
    const char* name;
    int32_t version;
};

#define ZZ_SUITE_NAME(pointer, type, name, version) {name, version},
constexpr SuiteName kSuiteNames[kSuiteCount] = {ZZ_SUITE_LIST(ZZ_SUITE_NAME)};
#undef ZZ_SUITE_NAME

void storeSuite(int index, const void* table) {
    switch (index) {
#define ZZ_SUITE_STORE(pointer, type, name, version)                                                         \
    case kSuiteIndex_##pointer:                                                                              \
        pointer = static_cast<const type*>(table);                                                           \
        break;
        ZZ_SUITE_LIST(ZZ_SUITE_STORE)
#undef ZZ_SUITE_STORE
    default:
        break;
    }
}

bool suiteHeld(int index) {
    switch (index) {
#define ZZ_SUITE_HELD(pointer, type, name, version)                                                          \
    case kSuiteIndex_##pointer:                                                                              \
        return pointer != nullptr;
        ZZ_SUITE_LIST(ZZ_SUITE_HELD)
#undef ZZ_SUITE_HELD
    default:
        return false;
    }
}

// Gives back every held suite among 0 .. count - 1 in order and nulls every pointer of the list. A refused
// release does not stop the others: the host keeps that one suite, never the ones after it. Returns the first
// refusal, 0 when there was none.
SPErr releaseFirstSuites(const SPBasicSuite* basic, int count) {
    SPErr firstError = kSPNoError;
    for (int i = 0; i < kSuiteCount; ++i) {
        if (i < count && suiteHeld(i)) {
            SPErr error = basic->ReleaseSuite(kSuiteNames[i].name, kSuiteNames[i].version);
            if (firstError == kSPNoError) firstError = error;
        }
        storeSuite(i, nullptr);
    }
    return firstError;
}

} // namespace

SPErr acquireSuites(const SPBasicSuite* basic) {
    if (sSuiteNestingCount != 0) {
        ++sSuiteNestingCount;
        return sOutermostAcquisitionError;
    }
    for (int i = 0; i < kSuiteCount; ++i) {
        const void* table = nullptr;
        SPErr error = basic->AcquireSuite(kSuiteNames[i].name, kSuiteNames[i].version, &table);
        storeSuite(i, error == kSPNoError ? table : nullptr);
        if (error == kSPNoError) continue;
        if (sADMBasic == nullptr) {
            // Nothing can tell the user; run with no suite rather than with some of them missing.
            releaseFirstSuites(basic, i);
            return error;
        }
        char message[256];
        std::snprintf(message, sizeof message, "Suite Loading Error: %d, suite: %s, version: %d!",
                      static_cast<int>(error), kSuiteNames[i].name, static_cast<int>(kSuiteNames[i].version));
        sADMBasic->MessageAlert(message);
        sOutermostAcquisitionError = error;
        ++sSuiteNestingCount;
        return error;
    }
    sOutermostAcquisitionError = kSPNoError;
    ++sSuiteNestingCount;
    return kSPNoError;
}

SPErr releaseSuites(const SPBasicSuite* basic) {
    if (sSuiteNestingCount <= 0) return kSPNoError;
    SPErr error = kSPNoError;
    if (sSuiteNestingCount == 1) error = releaseFirstSuites(basic, kSuiteCount);
    --sSuiteNestingCount;
    return error;
}
