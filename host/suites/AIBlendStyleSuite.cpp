// AIBlendStyleSuite over the host's model.
#include "AIBlendStyle.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIBlendStyleSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIBlendStyleSuite, kAIBlendStyleSuite, GetOpacity),
    ZZ_NOT_IMPLEMENTED(AIBlendStyleSuite, kAIBlendStyleSuite, SetOpacity),
    ZZ_NOT_IMPLEMENTED(AIBlendStyleSuite, kAIBlendStyleSuite, GetBlendingMode),
    ZZ_NOT_IMPLEMENTED(AIBlendStyleSuite, kAIBlendStyleSuite, SetBlendingMode),
};

} // namespace

void registerAIBlendStyleSuite(SuiteRegistry& registry) { registry.add(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion, &kSuite); }

} // namespace zz
