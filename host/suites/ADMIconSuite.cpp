// ADMIconSuite over the host's model.
#include "ADMIcon.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const ADMIconSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(ADMIconSuite, kADMIconSuite, GetFromResource),
    ZZ_NOT_IMPLEMENTED(ADMIconSuite, kADMIconSuite, GetType),
};

} // namespace

void registerADMIconSuite(SuiteRegistry& registry) { registry.add(kADMIconSuite, kADMIconSuiteVersion, &kSuite); }

} // namespace zz
