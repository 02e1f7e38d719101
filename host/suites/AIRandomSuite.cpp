// AIRandomSuite over the host's model.
#include "AIRandom.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIRandomSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIRandomSuite, kAIRandomSuite, FloatRnd),
    ZZ_NOT_IMPLEMENTED(AIRandomSuite, kAIRandomSuite, SetRndSeed),
};

} // namespace

void registerAIRandomSuite(SuiteRegistry& registry) { registry.add(kAIRandomSuite, kAIRandomSuiteVersion, &kSuite); }

} // namespace zz
