// SPAccessSuite over the host's model.
#include "SPAccess.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const SPAccessSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(SPAccessSuite, kSPAccessSuite, GetPluginAccess),
    ZZ_NOT_IMPLEMENTED(SPAccessSuite, kSPAccessSuite, GetAccessInfo),
};

} // namespace

void registerSPAccessSuite(SuiteRegistry& registry) { registry.add(kSPAccessSuite, kSPAccessSuiteVersion, &kSuite); }

} // namespace zz
