// AIPathSuite over the host's model.
#include "AIPath.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIPathSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIPathSuite, kAIPathSuite, GetPathSegmentCount),
    ZZ_NOT_IMPLEMENTED(AIPathSuite, kAIPathSuite, GetPathSegments),
    ZZ_NOT_IMPLEMENTED(AIPathSuite, kAIPathSuite, SetPathSegments),
    ZZ_NOT_IMPLEMENTED(AIPathSuite, kAIPathSuite, GetPathClosed),
    ZZ_NOT_IMPLEMENTED(AIPathSuite, kAIPathSuite, SetPathClosed),
};

} // namespace

void registerAIPathSuite(SuiteRegistry& registry) { registry.add(kAIPathSuite, kAIPathSuiteVersion, &kSuite); }

} // namespace zz
