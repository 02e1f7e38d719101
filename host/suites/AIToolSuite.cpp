// AIToolSuite over the host's model.
#include "AITool.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIToolSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIToolSuite, kAIToolSuite, AddTool),
    ZZ_NOT_IMPLEMENTED(AIToolSuite, kAIToolSuite, SystemHasPressure),
};

} // namespace

void registerAIToolSuite(SuiteRegistry& registry) { registry.add(kAIToolSuite, kAIToolSuiteVersion, &kSuite); }

} // namespace zz
