// ADMNotifierSuite over the host's model.
#include "ADMNotifier.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const ADMNotifierSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(ADMNotifierSuite, kADMNotifierSuite, IsNotifierType),
};

} // namespace

void registerADMNotifierSuite(SuiteRegistry& registry) { registry.add(kADMNotifierSuite, kADMNotifierSuiteVersion, &kSuite); }

} // namespace zz
