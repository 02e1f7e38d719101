// ADMTrackerSuite over the host's model.
#include "ADMTracker.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const ADMTrackerSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(ADMTrackerSuite, kADMTrackerSuite, GetPoint),
    ZZ_NOT_IMPLEMENTED(ADMTrackerSuite, kADMTrackerSuite, IsMouseDown),
    ZZ_NOT_IMPLEMENTED(ADMTrackerSuite, kADMTrackerSuite, GetModifiers),
};

} // namespace

void registerADMTrackerSuite(SuiteRegistry& registry) { registry.add(kADMTrackerSuite, kADMTrackerSuiteVersion, &kSuite); }

} // namespace zz
