// AITagSuite over the host's model.
#include "AITag.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AITagSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AITagSuite, kAITagSuite, SetTag),
    ZZ_NOT_IMPLEMENTED(AITagSuite, kAITagSuite, GetTag),
};

} // namespace

void registerAITagSuite(SuiteRegistry& registry) { registry.add(kAITagSuite, kAITagSuiteVersion, &kSuite); }

} // namespace zz
