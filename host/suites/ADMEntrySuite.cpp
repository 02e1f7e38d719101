// ADMEntrySuite over the host's model.
#include "ADMEntry.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const ADMEntrySuite kSuite = {
    ZZ_NOT_IMPLEMENTED(ADMEntrySuite, kADMEntrySuite, SetText),
    ZZ_NOT_IMPLEMENTED(ADMEntrySuite, kADMEntrySuite, SetID),
    ZZ_NOT_IMPLEMENTED(ADMEntrySuite, kADMEntrySuite, GetID),
    ZZ_NOT_IMPLEMENTED(ADMEntrySuite, kADMEntrySuite, GetIndex),
    ZZ_NOT_IMPLEMENTED(ADMEntrySuite, kADMEntrySuite, Select),
    ZZ_NOT_IMPLEMENTED(ADMEntrySuite, kADMEntrySuite, SetPictureID),
};

} // namespace

void registerADMEntrySuite(SuiteRegistry& registry) { registry.add(kADMEntrySuite, kADMEntrySuiteVersion, &kSuite); }

} // namespace zz
