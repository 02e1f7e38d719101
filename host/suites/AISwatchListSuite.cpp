// AISwatchListSuite over the host's model.
#include "AISwatchList.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AISwatchListSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AISwatchListSuite, kAISwatchListSuite, CountSwatches),
    ZZ_NOT_IMPLEMENTED(AISwatchListSuite, kAISwatchListSuite, GetNthSwatch),
    ZZ_NOT_IMPLEMENTED(AISwatchListSuite, kAISwatchListSuite, GetSwatchColor),
};

} // namespace

void registerAISwatchListSuite(SuiteRegistry& registry) { registry.add(kAISwatchListSuite, kAISwatchListSuiteVersion, &kSuite); }

} // namespace zz
