// ADMDrawerSuite over the host's model.
#include "ADMDrawer.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

const ADMDrawerSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(ADMDrawerSuite, kADMDrawerSuite, DrawLine),
};

} // namespace

void registerADMDrawerSuite(SuiteRegistry& registry) {
    registry.add(kADMDrawerSuite, kADMDrawerSuiteVersion, &kSuite);
}

} // namespace zz
