// ADMBasicSuite over the host's model.
#include "ADMBasic.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const ADMBasicSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(ADMBasicSuite, kADMBasicSuite, GetIndexString),
    ZZ_NOT_IMPLEMENTED(ADMBasicSuite, kADMBasicSuite, MessageAlert),
};

} // namespace

void registerADMBasicSuite(SuiteRegistry& registry) { registry.add(kADMBasicSuite, kADMBasicSuiteVersion, &kSuite); }

} // namespace zz
