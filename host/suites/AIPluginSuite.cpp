// AIPluginSuite over the host's model.
#include "AIPlugin.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIPluginSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIPluginSuite, kAIPluginSuite, GetPluginOptions),
    ZZ_NOT_IMPLEMENTED(AIPluginSuite, kAIPluginSuite, SetPluginOptions),
};

} // namespace

void registerAIPluginSuite(SuiteRegistry& registry) { registry.add(kAIPluginSuite, kAIPluginSuiteVersion, &kSuite); }

} // namespace zz
